#include "GridRecord.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

std::wstring WithoutDoubledQuotes(std::wstring_view quoted)
{
  std::wstring cell;
  cell.reserve(quoted.size());
  for (size_t i = 0; i < quoted.size(); ++i) {
    cell += quoted[i];
    if (quoted[i] == L'"' && i + 1 < quoted.size() && quoted[i + 1] == L'"')
      ++i;
  }
  return cell;
}

enum class EWalk {
  Done,
  NeedMore,  // the text ends inside a quoted cell and more text may follow
  NotQuoted, // a quote below the opening line shows that the cell was never quoted
};

// Walks the cells of a record. It can stop inside a quoted cell at the end of the text and go on
// when the caller has appended the next line, so that a record of many lines is walked once.
class CRecordWalker {
public:
  CRecordWalker(const SGridTextFormat& format, int columns, SGridRecordCells* out)
      : m_format(format), m_columns(columns), m_out(out)
  {}

  EWalk Walk(std::wstring_view text, bool final)
  {
    for (;;) {
      if (m_inQuote) {
        const EWalk quote = FinishQuote(text, final);
        if (quote != EWalk::Done)
          return quote;
        continue;
      }
      const size_t length = text.size();
      if (m_p > length)
        return EWalk::Done;
      if (m_column > m_format.keyColumns && m_columns >= 0 && m_column > m_columns)
        return EWalk::Done;
      const wchar_t first = m_p < length ? text[m_p] : L'\0';
      if (first == L'"') {
        OpenQuote(m_column <= m_format.keyColumns);
      } else if (m_column <= m_format.keyColumns) {
        KeyCell(text);
      } else if (first == L'[' && m_format.separator == L' ') {
        size_t close = text.find(L']', m_p + 1);
        if (close != std::wstring_view::npos) {
          Emit(text.substr(m_p + 1, close - m_p - 1));
          m_p = close + 2;
        } else {
          Emit(text.substr(m_p + 1));
          m_p = length + 1;
        }
      } else {
        size_t stop = m_format.separator ? text.find(m_format.separator, m_p) : std::wstring_view::npos;
        if (stop != std::wstring_view::npos) {
          Emit(text.substr(m_p, stop - m_p));
          m_p = stop + 1;
        } else {
          if (m_out)
            m_out->endsWithSeparator = m_p == length && length > 0 && text[length - 1] == m_format.separator;
          Emit(text.substr(m_p));
          m_p = length + 1;
        }
      }
    }
  }

private:
  void OpenQuote(bool key)
  {
    m_inQuote = true;
    m_quotedKey = key;
    m_quoteStart = m_quoteScan = m_lineEndSearched = m_p + 1;
    m_openingLineEnd = std::wstring_view::npos;
  }

  void KeyCell(std::wstring_view text)
  {
    size_t stop = m_format.keySeparator ? text.find(m_format.keySeparator, m_p) : std::wstring_view::npos;
    if (stop != std::wstring_view::npos && stop >= 1) {
      Emit(text.substr(m_p, stop - m_p));
      m_p = stop + 1;
    } else {
      Emit(text.substr(m_p));
      m_p = text.size() + 1;
    }
    SkipAfterKeySeparator(text);
  }

  void SkipAfterKeySeparator(std::wstring_view text)
  {
    if (m_p < text.size() && (text[m_p] == L' ' || (m_format.separator && text[m_p] == m_format.separator)))
      ++m_p;
  }

  // A quoted key cell is closed only by a quote right before the key separator; any other key
  // that starts with a quote is read as it always was, quote and all. A quoted value cell is
  // closed, on the line it opened on, by any quote, as it always was. Further down, only a quote
  // that ends the cell as our writer ends it (before the separator or a line end) closes it, and
  // a lone quote anywhere else shows that the cell was never quoted: an old file that wrote its
  // cells as they were, with a quote character at the start of one of them. Its record is then
  // its first line alone, and the lines below stay rows of their own.
  EWalk FinishQuote(std::wstring_view text, bool final)
  {
    for (;;) {
      size_t quote = text.find(L'"', m_quoteScan);
      if (quote == std::wstring_view::npos)
        break;
      const wchar_t after = quote + 1 < text.size() ? text[quote + 1] : L'\n';
      m_quoteScan = quote + 1;
      if (after == L'"') {
        ++m_quoteScan;
        continue;
      }
      const bool belowOpeningLine = quote > OpeningLineEnd(text);
      const bool closes =
          m_quotedKey ? after == m_format.keySeparator
                      : !belowOpeningLine || after == m_format.separator || after == L'\r' || after == L'\n';
      if (!closes) {
        if (belowOpeningLine)
          return EWalk::NotQuoted;
        UnquotedKey(text);
        return EWalk::Done;
      }
      EmitQuoted(text.substr(m_quoteStart, quote - m_quoteStart));
      m_inQuote = false;
      m_p = quote + 2;
      if (m_quotedKey)
        SkipAfterKeySeparator(text);
      return EWalk::Done;
    }
    m_quoteScan = text.size();
    if (!final)
      return EWalk::NeedMore;
    if (m_quotedKey) {
      UnquotedKey(text);
      return EWalk::Done;
    }
    EmitQuoted(text.substr(m_quoteStart));
    m_p = text.size() + 1;
    m_inQuote = false;
    return EWalk::Done;
  }

  void UnquotedKey(std::wstring_view text)
  {
    m_inQuote = false;
    m_p = m_quoteStart - 1;
    KeyCell(text);
  }

  // Where the line that the open quote stands on ends; npos while it has not ended yet.
  size_t OpeningLineEnd(std::wstring_view text)
  {
    if (m_openingLineEnd == std::wstring_view::npos) {
      m_openingLineEnd = text.find(L'\n', std::max(m_quoteStart, m_lineEndSearched));
      m_lineEndSearched = text.size();
    }
    return m_openingLineEnd;
  }

  void Emit(std::wstring_view cell)
  {
    ++m_column;
    if (m_out) {
      m_out->cells.emplace_back(cell);
      m_out->endsWithSeparator = m_out->endsWithSeparator && cell.empty();
    }
  }
  void EmitQuoted(std::wstring_view quoted)
  {
    ++m_column;
    if (m_out) {
      m_out->cells.emplace_back(WithoutDoubledQuotes(quoted));
      m_out->endsWithSeparator = false;
    }
  }

  const SGridTextFormat& m_format;
  const int m_columns;
  SGridRecordCells* m_out;
  size_t m_p = 0;
  int m_column = 1;
  bool m_inQuote = false;
  bool m_quotedKey = false;
  size_t m_quoteStart = 0;
  size_t m_quoteScan = 0;
  size_t m_openingLineEnd = std::wstring_view::npos;
  size_t m_lineEndSearched = 0;
};

} // namespace

bool CGridRecordReader::Read(CString& record, CString* firstLine)
{
  CString line;
  CStringA lineEnd;
  if (!m_file.ReadString(line, lineEnd))
    return false;
  if (firstLine)
    *firstLine = line;
  record = line;
  CRecordWalker walker(m_format, -1, nullptr);
  std::wstring text = line.Str();
  if (walker.Walk(text, false) == EWalk::Done || m_quotesNeverClose)
    return true;
  const ULONGLONG afterLine = m_file.GetPosition();
  for (;;) {
    CString next;
    CStringA nextEnd;
    if (lineEnd.IsEmpty() || !m_file.ReadString(next, nextEnd)) {
      m_quotesNeverClose = true;
      break;
    }
    text += CString(lineEnd).Str();
    text += next.Str();
    lineEnd = nextEnd;
    const EWalk walked = walker.Walk(text, false);
    if (walked == EWalk::Done) {
      record = CString(std::move(text));
      return true;
    }
    if (walked == EWalk::NotQuoted)
      break;
  }
  m_file.Seek(LONGLONG(afterLine), CFile::begin);
  return true;
}

SGridRecordCells SplitGridRecord(const CString& record, const SGridTextFormat& format, int columns)
{
  SGridRecordCells result;
  CRecordWalker(format, columns, &result).Walk(record.View(), true);
  return result;
}

bool IsSectionEnd(const CString& line, const CString& marker, wchar_t separator)
{
  if (line.IsEmpty() || line.CompareNoCase(marker) == 0)
    return true;
  return separator == L',' && line.View().find_first_not_of(L',') == std::wstring_view::npos;
}

int CountSectionRecords(CStdioFile& file, const SGridTextFormat& format, const CString& marker,
                        size_t* widest, bool trailingSeparatorOpensCell)
{
  const ULONGLONG start = file.GetPosition();
  int count = 0;
  CGridRecordReader reader(file, format);
  CString record, firstLine;
  while (count < INT_MAX && reader.Read(record, &firstLine) &&
         !IsSectionEnd(firstLine, marker, format.separator)) {
    ++count;
    if (widest) {
      SGridRecordCells parsed = SplitGridRecord(record, format, -1);
      const bool dropLast = parsed.endsWithSeparator && !trailingSeparatorOpensCell;
      *widest = std::max(*widest, parsed.cells.size() - (dropLast ? 1 : 0));
    }
  }
  file.Seek(LONGLONG(start), CFile::begin);
  return count;
}

CString QuoteGridCell(const CString& cell, wchar_t separator)
{
  const wchar_t first = cell.IsEmpty() ? L'\0' : cell.GetAt(0);
  bool quote = (separator && cell.Find(separator) >= 0) || cell.FindOneOf(L"\"\r\n") >= 0 ||
               first == L'\uFEFF' || (separator == L' ' && first == L'[');
  return quote ? QuotedGridCell(cell) : cell;
}

CString QuoteGridKeyCell(const CString& cell, wchar_t keySeparator, bool startsLine)
{
  if (!keySeparator)
    return cell;
  const wchar_t first = cell.IsEmpty() ? L'\0' : cell.GetAt(0);
  bool quote = cell.Find(keySeparator) >= 0 || cell.FindOneOf(L"\r\n") >= 0 || first == L'"' ||
               first == L'\uFEFF' || (startsLine && cell.IsEmpty());
  return quote ? QuotedGridCell(cell) : cell;
}

CString QuotedGridCell(const CString& cell)
{
  CString text(L'"');
  for (wchar_t c : cell.View()) {
    if (c == L'"')
      text += L'"';
    text += c;
  }
  text += L'"';
  return text;
}
