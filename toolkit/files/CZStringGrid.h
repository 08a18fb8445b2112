#pragma once
// A table of text cells: rows of CZStringRow, an optional block of header rows on top and an
// optional block of key cells at the left of every row. Data cells are addressed by 1-based row
// and column numbers counted after the header rows; row 0 and below reach the header rows from the
// bottom up. Out-of-range reads give an empty text (0 for numbers); the setters grow the grid.
//
// Numbers are read with '.' as the decimal point whatever the process locale.
#include "CObject.h"
#include "CStdioFile.h"
#include "CString.h"
#include "CZStringRow.h"

#include <vector>

class CZStringGrid : public CObject {
public:
  CZStringGrid() = default;

  // Empties the grid and gives it dataRows + headerRows rows of `columns` empty cells. The current
  // row and column are kept.
  void SetSize(int dataRows, int columns, int headerRows, int keyColumns, wchar_t separator,
               wchar_t keySeparator);
  // SetSize with this many rows in all, header rows included.
  void SetRowCount(int totalRows);
  // Appends empty rows with the grid's column count, key columns and separators.
  void AddRows(int count);

  int GetRowCount() const; // data rows
  int GetTotalRowCount() const { return int(m_rows.size()); }
  int GetHeaderRowCount() const { return m_headerRows; }
  int GetColumnCount() const { return m_columns; }
  int GetKeyColumnCount() const { return m_keyColumns; }
  wchar_t GetSeparator() const { return m_separator; }
  wchar_t GetKeySeparator() const { return m_keySeparator; }
  int GetCurrentRow() const { return m_currentRow; }
  int GetCurrentColumn() const { return m_currentColumn; }
  const CZStringRow* GetRow(int row) const; // by data row number like GetString; null out of range

  CString GetString(int row, int column) const;
  int GetInt(int row, int column) const;
  float GetFloat(int row, int column) const;
  // The first column, from startColumn on, whose cell in the given header row (1 = the top row of
  // the grid) equals the text exactly; 0 when none does.
  int FindColumn(int headerRow, const CString& text, int startColumn) const;

  // Sets a cell, adding rows and raising the column count as needed; the cell becomes the current
  // one. A row above the header rows or a column below 1 is ignored.
  void SetString(int row, int column, const CString& text);
  // The next cell of the current row (on an empty grid, the first cell of row 1).
  void Append(const CString& text);
  // Starts a new row after the current one with the formatted text as its first cell.
  template <typename... Args> void AppendFormat(const wchar_t* format, const Args&... args)
  {
    CString text;
    text.Format(format, args...);
    StartRow(text);
  }

  // Parses text lines from the file's current position (see GridRecord.h for the line format).
  // With rows 0 the records are counted first, up to an empty line, a line equal to the marker
  // (ignoring case) or, with the separator ',', a line of nothing but commas; the grid is sized to
  // them and, with columns 0, to their widest. Otherwise exactly that many records are read into
  // the grid as it is sized. Returns 1.
  int ReadFrom(CStdioFile& file, const CString& marker, int columns, int rows);
  // Every row, header rows included, as one line ended by "\r\n"; a row that would read back as
  // the section marker is quoted. False when the file refused it.
  bool WriteTo(CStdioFile& file, const CString& marker = CString()) const;

  // version 0, key separator, separator, key columns, header rows, columns, row count, rows.
  // Loading checks every count against what the archive still holds before it allocates, and
  // keeps the grid as it was when the archive cannot be read.
  void Serialize(CArchive& ar) override;

private:
  CZStringRow* RowAt(int absoluteRow); // 1-based, header rows included
  const CZStringRow* RowAt(int absoluteRow) const;
  void StartRow(const CString& text);
  void StoreCell(int absoluteRow, int column, const CString& text);

  int m_currentRow = 0;
  int m_currentColumn = 0;
  int m_headerRows = 0;
  int m_columns = 1;
  int m_keyColumns = 0;
  wchar_t m_separator = L' ';
  wchar_t m_keySeparator = L':';
  std::vector<CZStringRow> m_rows;
};
