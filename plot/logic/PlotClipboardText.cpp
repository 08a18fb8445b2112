#include "PlotClipboardText.h"

#include "CZSpectrumPlot.h"

#include <CLocale.h>
#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

namespace {
bool IsDigitAt(std::wstring_view text, size_t i)
{
  return i < text.size() && std::iswdigit(text[i]);
}

// What a failed reading looks like as text: "nan", "inf" or "infinity" in any case, possibly
// after a minus sign (copy writes "-nan" as well).
bool IsNonFiniteWord(std::wstring_view column)
{
  if (!column.empty() && column[0] == L'-')
    column.remove_prefix(1);
  auto is = [&](std::wstring_view word) {
    return column.size() == word.size() &&
           std::equal(column.begin(), column.end(), word.begin(),
                      [](wchar_t a, wchar_t b) { return wchar_t(std::towlower(wint_t(a))) == b; });
  };
  return is(L"nan") || is(L"inf") || is(L"infinity");
}

bool IsNumericColumn(std::wstring_view column)
{
  if (IsNonFiniteWord(column))
    return true;
  for (size_t i = 0; i < column.size(); ++i) {
    const wchar_t c = column[i];
    if (std::iswdigit(c) || c == L'-' || c == L'.' || c == L'e' || c == L'E')
      continue;
    if (c == L'+' && i > 0 && (column[i - 1] == L'e' || column[i - 1] == L'E'))
      continue;
    return false;
  }
  return true;
}

// The next piece of the text from pos that holds none of the delimiters, skipping those before
// it (as CString::Tokenize reads); empty when there is none.
std::wstring_view NextToken(std::wstring_view text, size_t& pos, const wchar_t* delimiters)
{
  const size_t from = text.find_first_not_of(delimiters, pos);
  if (from == std::wstring_view::npos) {
    pos = text.size();
    return {};
  }
  size_t to = text.find_first_of(delimiters, from);
  if (to == std::wstring_view::npos)
    to = text.size();
  pos = to;
  return text.substr(from, to - from);
}

// The two columns of a row: the X up to the first tab, the Y the next token after it.
struct SRowColumns {
  std::wstring_view x, y;
};

SRowColumns RowColumns(std::wstring_view line)
{
  size_t pos = 0;
  SRowColumns row;
  row.x = NextToken(line, pos, L"\t");
  row.y = NextToken(line, pos, L"\t\r\n");
  return row;
}

bool IsNumericRow(std::wstring_view line)
{
  if (line.empty() || line[0] == L'\t' || line[0] == L'\n' || line[0] == L'\r')
    return false;
  if (line.find(L'\t') == std::wstring_view::npos)
    return false;
  const SRowColumns row = RowColumns(line);
  return !row.y.empty() && IsNumericColumn(row.x) && IsNumericColumn(row.y);
}

// A column's value as Paste takes it: read as _wtof reads, then rounded to single precision.
float ColumnValue(std::wstring_view column)
{
  return float(_wtof(std::wstring(column).c_str()));
}

// The lines of pasted text as Paste reads them: a line ends at "\r" or "\n", and empty lines (a
// spreadsheet's "\r\n" leaves one between every two) are passed over. Only the lines asked for
// are looked at.
class CPastedLines {
public:
  explicit CPastedLines(std::wstring_view text) : m_text(text) {}
  bool Next(std::wstring_view& line)
  {
    line = NextToken(m_text, m_pos, L"\r\n");
    return !line.empty();
  }

private:
  std::wstring_view m_text;
  size_t m_pos = 0;
};

CString HeaderPart(const CString& label, const CString& units, const wchar_t* withUnits)
{
  return units.IsEmpty() ? label : CString(FormatW(withUnits, label, units));
}

void ReadHeader(const CString& header, CSpectrumData& data)
{
  int pos = 0;
  const wchar_t first = header.IsEmpty() ? L'\0' : header[0];
  if (first != L'\t' && first != L'\n' && first != L'\r') {
    data.SetXLabel(header.Tokenize(L"\t(", pos));
    if (pos >= 0 && header.Find(L")\t", pos) >= 0)
      data.SetXUnits(header.Tokenize(L")", pos));
    if (pos < 0 || pos >= header.GetLength())
      return;
  }
  data.SetYLabel(header.Tokenize(L"\t\r\n(", pos));
  if (pos >= 0 && header.Find(L')', pos) >= 0)
    data.SetYUnits(header.Tokenize(L")", pos));
}
} // namespace

CString PlotCopyText(const CZSpectrumPlot& plot)
{
  const CSpectrumData* active = plot.GetActiveTrace();
  if (!active)
    return CString();
  CString text = active->GetDataAsText();
  if (active->GetXLabel().IsEmpty())
    text.Replace(L"X Values", plot.GetXLabel());
  if (active->GetYLabel().IsEmpty())
    text.Replace(L"Y Values", plot.GetYLabel());
  return text;
}

CString PlotCopyAllText(const CZSpectrumPlot& plot)
{
  if (plot.GetTraceCount() < 2)
    return PlotCopyText(plot);
  const CZSpectrumPlot::CTraceList& list = plot.GetTraceList();
  const CSpectrumData& active = *list.GetHead();
  std::vector<const CSpectrumData*> others;
  POSITION pos = list.GetHeadPosition();
  list.GetNext(pos);
  while (pos)
    others.push_back(list.GetNext(pos));

  CString text;
  if (!active.GetName().IsEmpty()) {
    text = L"\t" + active.GetName();
    for (const CSpectrumData* trace : others) {
      CString name = trace->GetName();
      name.Replace(L"Paste: ", L"");
      text += L"\t" + name;
    }
    text += L"\n";
  }
  text += HeaderPart(active.GetXLabel(), active.GetXUnits(), L"%s(%s)") + L"\t" +
          HeaderPart(active.GetYLabel(), active.GetYUnits(), L"%s(%s)");
  for (const CSpectrumData* trace : others)
    text += L"\t" + HeaderPart(trace->GetYLabel(), trace->GetYUnits(), L"%s(%s)");
  text += L"\n";

  std::wstring rows;
  for (int i = active.GetFirstIndex(); i <= active.GetLastIndex(); ++i) {
    const float x = active.GetX(i);
    rows += FormatW(L"%g\t%g", double(x), double(active.GetY(i)));
    for (const CSpectrumData* trace : others)
      rows += FormatW(L"\t%g", double(trace->GetY(x, false)));
    rows += L'\n';
  }
  return text + CString(std::move(rows));
}

bool CutActiveTrace(CZSpectrumPlot& plot, const std::function<bool(const CString&)>& copy)
{
  const CSpectrumData* active = plot.GetActiveTrace();
  if (!active || !copy(PlotCopyText(plot)))
    return false;
  plot.RemoveTrace(active->GetName(), true);
  return true;
}

bool IsNumericLine(const CString& line)
{
  return IsNumericRow(line.Str());
}

bool CanPasteText(std::wstring_view text)
{
  CPastedLines lines(text);
  std::wstring_view name, header, first, second;
  if (!lines.Next(name) || !lines.Next(header) || !lines.Next(first) || !lines.Next(second))
    return false;
  if (!IsNumericRow(first) || !IsNumericRow(second))
    return false;
  const SRowColumns row = RowColumns(first);
  const float x0 = ColumnValue(row.x), x1 = ColumnValue(RowColumns(second).x);
  // A first X that is not negative, a Y that is a number; a failed reading (as copy writes it)
  // counts as one.
  if (!(IsDigitAt(row.x, 0) || (IsNonFiniteWord(row.x) && !(x0 < 0))))
    return false;
  if (!(IsDigitAt(row.y, 0) || IsDigitAt(row.y, 1) || IsNonFiniteWord(row.y)))
    return false;
  // Rising X, where both are numbers: a failed reading has no place in an order.
  return !std::isfinite(x0) || !std::isfinite(x1) || x1 > x0;
}

void ReadPastedText(const CString& text, CSpectrumData& data, CString& name)
{
  name.Empty();
  CPastedLines lines(text.Str());
  std::wstring_view line, next;
  bool more = lines.Next(line);
  if (more && !IsNumericRow(line)) {
    const bool second = lines.Next(next);
    if (second && IsNumericRow(next)) {
      ReadHeader(CString(std::wstring(line)), data);
      line = next;
    } else {
      int pos = 0;
      name = CString(std::wstring(line)).Tokenize(L"\t\r\n", pos);
      if (second)
        ReadHeader(CString(std::wstring(next)), data);
      more = lines.Next(line);
    }
  }
  for (; more; more = lines.Next(line)) {
    const SRowColumns row = RowColumns(line);
    data.AddPoint(ColumnValue(row.x), ColumnValue(row.y), 0);
  }
}

bool PasteTextAsTrace(CZSpectrumPlot& plot, const CString& text)
{
  CSpectrumData data;
  CString name;
  ReadPastedText(text, data, name);
  // The vector size is the data set's capacity, which grows in blocks: count the points.
  if (data.GetIndexRange() <= 1)
    return false;
  CString traceName = name.IsEmpty() ? CString(L"Paste: 1") : L"Paste: " + name;
  COLORREF colour = 0x6432C8;
  for (int n = 2; plot.FindTrace(traceName); ++n) {
    traceName =
        name.IsEmpty() ? CString(FormatW(L"Paste: %d", n)) : CString(FormatW(L"Paste: %s %d", name, n));
    colour = RGB(200, BYTE(((n + 1) * 50) % 256), 100);
  }
  data.SetName(traceName);
  data.SetTraceColour(colour);
  plot.AddTrace(&data, true, true);
  return true;
}
