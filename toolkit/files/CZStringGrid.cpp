#include "CZStringGrid.h"

#include "CArchive.h"
#include "CLocale.h"
#include "GridRecord.h"
#include "TextConversion.h"

#include <algorithm>
#include <climits>

namespace {

// An archived row takes at least its version field.
constexpr ULONGLONG kSmallestArchivedRow = 4;
// A grid sized to fewer rows than its header rows, or to more columns than any of its rows holds,
// archives no cells for them; the next SetString makes the missing header rows, each of that many
// columns. Beyond what the archive holds, this many such cells are believed.
constexpr long long kCellsBeyondArchive = 65536;

bool InIntRange(long long v)
{
  return v >= INT_MIN && v <= INT_MAX;
}

} // namespace

void CZStringGrid::SetSize(int dataRows, int columns, int headerRows, int keyColumns, wchar_t separator,
                           wchar_t keySeparator)
{
  m_columns = std::max(columns, 0);
  m_headerRows = std::max(headerRows, 0);
  m_keyColumns = std::max(keyColumns, 0);
  m_separator = separator;
  m_keySeparator = keySeparator;
  long long total = std::max(0LL, (long long)dataRows + m_headerRows);
  CZStringRow empty;
  empty.SetSize(m_columns, m_keyColumns, m_separator, m_keySeparator);
  m_rows.assign(size_t(total), empty);
}

void CZStringGrid::SetRowCount(int totalRows)
{
  SetSize(int(std::max<long long>(INT_MIN, (long long)totalRows - m_headerRows)), m_columns, m_headerRows,
          m_keyColumns, m_separator, m_keySeparator);
}

void CZStringGrid::AddRows(int count)
{
  if (count < 1)
    return;
  CZStringRow empty;
  empty.SetSize(m_columns, m_keyColumns, m_separator, m_keySeparator);
  m_rows.insert(m_rows.end(), size_t(count), empty);
}

int CZStringGrid::GetRowCount() const
{
  return std::max(0, GetTotalRowCount() - m_headerRows);
}

CZStringRow* CZStringGrid::RowAt(int absoluteRow)
{
  return absoluteRow >= 1 && absoluteRow <= GetTotalRowCount() ? &m_rows[size_t(absoluteRow - 1)] : nullptr;
}

const CZStringRow* CZStringGrid::RowAt(int absoluteRow) const
{
  return absoluteRow >= 1 && absoluteRow <= GetTotalRowCount() ? &m_rows[size_t(absoluteRow - 1)] : nullptr;
}

const CZStringRow* CZStringGrid::GetRow(int row) const
{
  long long absolute = (long long)row + m_headerRows;
  return InIntRange(absolute) ? RowAt(int(absolute)) : nullptr;
}

CString CZStringGrid::GetString(int row, int column) const
{
  const CZStringRow* cells = GetRow(row);
  return cells ? cells->GetCell(int(std::max<long long>(INT_MIN, (long long)column - 1))) : CString();
}

int CZStringGrid::GetInt(int row, int column) const
{
  return _wtoi(GetString(row, column));
}

float CZStringGrid::GetFloat(int row, int column) const
{
  return float(_wtof(GetString(row, column)));
}

int CZStringGrid::FindColumn(int headerRow, const CString& text, int startColumn) const
{
  if (m_rows.empty())
    return 0;
  const CZStringRow* header = headerRow >= 1 && headerRow <= m_headerRows ? RowAt(headerRow) : nullptr;
  long long last = (long long)m_columns - m_keyColumns;
  long long column = startColumn;
  do {
    CString candidate = header && InIntRange(column - 1) ? header->GetCell(int(column - 1)) : CString();
    if (candidate == text)
      return int(column);
    ++column;
  } while (column <= last);
  return 0;
}

void CZStringGrid::StoreCell(int absoluteRow, int column, const CString& text)
{
  if (absoluteRow > GetTotalRowCount())
    AddRows(absoluteRow - GetTotalRowCount());
  if (column > m_columns)
    m_columns = column;
  m_rows[size_t(absoluteRow - 1)].SetCell(column - 1, text);
}

void CZStringGrid::SetString(int row, int column, const CString& text)
{
  long long absolute = (long long)row + m_headerRows;
  if (absolute < 1 || absolute > INT_MAX || column < 1)
    return;
  StoreCell(int(absolute), column, text);
  m_currentRow = row;
  m_currentColumn = column;
}

void CZStringGrid::Append(const CString& text)
{
  long long absolute = (long long)m_currentRow + m_headerRows;
  long long column = (long long)m_currentColumn + 1;
  if (absolute < 1 || column < 1) {
    // Nothing set yet and no header row to add to: the cell starts row 1.
    SetString(1, 1, text);
    return;
  }
  if (absolute > INT_MAX || column > INT_MAX)
    return;
  StoreCell(int(absolute), int(column), text);
  m_currentColumn = int(column);
}

void CZStringGrid::StartRow(const CString& text)
{
  long long absolute = (long long)m_headerRows + m_currentRow + 1;
  if (absolute < 1)
    absolute = m_headerRows + 1;
  if (absolute > INT_MAX)
    return;
  m_columns = std::max(m_columns, 1);
  StoreCell(int(absolute), 1, text);
  m_currentRow = int(absolute - m_headerRows);
  m_currentColumn = 1;
}

int CZStringGrid::ReadFrom(CStdioFile& file, const CString& marker, int columns, int rows)
{
  const SGridTextFormat format{m_keyColumns, m_separator, m_keySeparator};
  if (columns > m_columns)
    m_columns = columns;
  if (rows > GetTotalRowCount() && GetTotalRowCount() == m_headerRows)
    SetSize(rows, m_columns, m_headerRows, m_keyColumns, m_separator, m_keySeparator);

  if (rows == 0) {
    size_t widest = 0;
    const int count = CountSectionRecords(file, format, marker, columns == 0 ? &widest : nullptr, true);
    SetSize(count - m_headerRows, m_columns, m_headerRows, m_keyColumns, m_separator, m_keySeparator);
    if (columns == 0)
      m_columns = int(std::min<size_t>(widest, INT_MAX));
  }

  if (m_rows.empty() || m_columns <= 0)
    return 1;

  const int total = GetTotalRowCount();
  CGridRecordReader reader(file, format);
  CString record;
  for (int r = 1; r <= total; ++r) {
    if (!reader.Read(record))
      break;
    SGridRecordCells parsed = SplitGridRecord(record, format, m_columns);
    for (size_t i = 0; i < parsed.cells.size(); ++i) {
      const int column = int(i) + 1;
      if (r <= m_headerRows) {
        m_rows[size_t(r - 1)].SetCell(column - 1, parsed.cells[i]);
      } else {
        StoreCell(r, column, parsed.cells[i]);
        m_currentRow = r - m_headerRows;
        m_currentColumn = column;
      }
    }
  }
  return 1;
}

bool CZStringGrid::WriteTo(CStdioFile& file, const CString& marker) const
{
  bool written = true;
  for (const CZStringRow& row : m_rows) {
    // Written as bytes, not through the text-mode line end translation, so that a line break
    // inside a quoted cell goes to the file exactly as the cell holds it.
    CString text = row.ToText(marker);
    text.Truncate(text.GetLength() - 1);
    std::string bytes = ToUtf8(text) + "\r\n";
    written = file.Write(bytes.data(), UINT(bytes.size())) && written;
  }
  return written;
}

void CZStringGrid::Serialize(CArchive& ar)
{
  if (ar.IsStoring()) {
    ar << 0 << WORD(m_keySeparator) << WORD(m_separator) << m_keyColumns << m_headerRows << m_columns
       << GetTotalRowCount();
    for (CZStringRow& row : m_rows)
      row.Serialize(ar);
    return;
  }
  int version = 0;
  ar >> version;
  if (version != 0)
    return;
  WORD keySeparator = 0, separator = 0;
  int keyColumns = 0, headerRows = 0, columns = 0, count = 0;
  ar >> keySeparator >> separator >> keyColumns >> headerRows >> columns >> count;
  if (keyColumns < 0 || headerRows < 0 || columns < 0 || count < 0)
    AfxThrowArchiveException(CArchiveException::badSchema);
  if (ULONGLONG(count) > ar.GetRemaining() / kSmallestArchivedRow)
    AfxThrowArchiveException(CArchiveException::endOfFile);

  std::vector<CZStringRow> rows(static_cast<size_t>(count));
  int widest = 0;
  for (CZStringRow& row : rows) {
    row.SetSize(0, keyColumns, wchar_t(separator), wchar_t(keySeparator));
    row.Serialize(ar);
    widest = std::max(widest, row.GetCellCount());
  }
  // The counts are believed as far as the rows and cells read back bear them out: the empty cells
  // they add on top of those are bounded, rows and columns together.
  const long long missingHeaderRows = std::max(0LL, (long long)headerRows - count);
  const long long extraColumns = std::max(0LL, (long long)columns - widest);
  if (extraColumns > kCellsBeyondArchive ||
      missingHeaderRows * std::max(1LL, (long long)columns) > kCellsBeyondArchive)
    AfxThrowArchiveException(CArchiveException::badSchema);

  m_rows = std::move(rows);
  m_keyColumns = keyColumns;
  m_headerRows = headerRows;
  m_columns = columns;
  m_separator = wchar_t(separator);
  m_keySeparator = wchar_t(keySeparator);
}
