#pragma once
// One row of a CZStringGrid: text cells, of which the first few may be key cells, and the two
// separators that join them into a line of text.
#include "CObject.h"
#include "CString.h"

#include <vector>

class CZStringRow : public CObject {
public:
  CZStringRow() = default;

  // Empties the row and gives it that many empty cells.
  void SetSize(int cells, int keyColumns, wchar_t separator, wchar_t keySeparator);
  // Empty for an index out of range.
  CString GetCell(int index) const;
  // Adds empty cells up to the index when needed; a negative index is ignored.
  void SetCell(int index, const CString& text);
  void AddCells(int count);
  // Makes this row a copy of the other: cells, key columns and separators.
  void CopyFrom(const CZStringRow& other);

  int GetCellCount() const { return int(m_cells.size()); }
  int GetKeyColumns() const { return m_keyColumns; }
  wchar_t GetSeparator() const { return m_separator; }
  wchar_t GetKeySeparator() const { return m_keySeparator; }

  // The row as one line ending in "\n": each key cell followed by the key separator, the cells
  // joined by the separator. A cell that would not read back as it is (a value cell that holds the
  // separator, a quote or a line break; a key cell that holds the key separator) is quoted, and a
  // row whose line would read as the end of a section (empty, nothing but commas, or the marker
  // given) gets its first cell quoted, so that the line reads back as this row.
  CString ToText(const CString& marker = CString()) const;
  // version 0, key separator, separator, key columns, cell count, cells.
  void Serialize(CArchive& ar) override;

private:
  std::vector<CString> m_cells;
  int m_keyColumns = 0;
  wchar_t m_separator = L' ';
  wchar_t m_keySeparator = L':';
};
