#include "CZStringRow.h"

#include "CArchive.h"
#include "GridRecord.h"

#include <algorithm>

void CZStringRow::SetSize(int cells, int keyColumns, wchar_t separator, wchar_t keySeparator)
{
  m_cells.assign(size_t(std::max(cells, 0)), CString());
  m_keyColumns = keyColumns;
  m_separator = separator;
  m_keySeparator = keySeparator;
}

CString CZStringRow::GetCell(int index) const
{
  return index >= 0 && index < GetCellCount() ? m_cells[size_t(index)] : CString();
}

void CZStringRow::SetCell(int index, const CString& text)
{
  if (index < 0)
    return;
  if (index >= GetCellCount())
    m_cells.resize(size_t(index) + 1);
  m_cells[size_t(index)] = text;
}

void CZStringRow::AddCells(int count)
{
  if (count >= 1)
    m_cells.resize(m_cells.size() + size_t(count));
}

void CZStringRow::CopyFrom(const CZStringRow& other)
{
  if (this != &other)
    *this = other;
}

CString CZStringRow::ToText(const CString& marker) const
{
  // Without a key separator a quoted key would not read back: the first value cell takes it.
  const int firstQuotable = m_keyColumns > 0 && !m_keySeparator ? m_keyColumns : 0;
  auto line = [&](bool quoteFirst) {
    CString text;
    const int count = GetCellCount();
    for (int i = 0; i < count; ++i) {
      const CString& cell = m_cells[size_t(i)];
      if (quoteFirst && i == firstQuotable)
        text += QuotedGridCell(cell);
      else if (i < m_keyColumns)
        text += QuoteGridKeyCell(cell, m_keySeparator, i == 0);
      else
        text += QuoteGridCell(cell, m_separator);
      if (i < m_keyColumns && m_keySeparator)
        text += m_keySeparator;
      if (i < count - 1 && m_separator)
        text += m_separator;
    }
    return text;
  };
  CString text = line(false);
  // An empty line, one of nothing but commas or one equal to the section marker would end the
  // section when read back.
  if (GetCellCount() > firstQuotable && IsSectionEnd(text, marker, m_separator))
    text = line(true);
  return text + L'\n';
}

void CZStringRow::Serialize(CArchive& ar)
{
  if (ar.IsStoring()) {
    ar << 0 << WORD(m_keySeparator) << WORD(m_separator) << m_keyColumns << GetCellCount();
    for (const CString& cell : m_cells)
      ar << cell;
    return;
  }
  int version = 0;
  ar >> version;
  if (version != 0)
    return;
  WORD keySeparator = 0, separator = 0;
  int keyColumns = 0, count = 0;
  ar >> keySeparator >> separator >> keyColumns >> count;
  // Every cell takes at least one byte of the archive.
  if (keyColumns < 0 || count < 0)
    AfxThrowArchiveException(CArchiveException::badSchema);
  if (ULONGLONG(count) > ar.GetRemaining())
    AfxThrowArchiveException(CArchiveException::endOfFile);
  std::vector<CString> cells(static_cast<size_t>(count));
  for (CString& cell : cells)
    ar >> cell;
  m_cells = std::move(cells);
  m_keyColumns = keyColumns;
  m_separator = wchar_t(separator);
  m_keySeparator = wchar_t(keySeparator);
}
