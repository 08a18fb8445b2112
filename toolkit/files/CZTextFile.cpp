#include "CZTextFile.h"

#include "FrameworkMessageBox.h"
#include "GridRecord.h"

#include <algorithm>
#include <climits>

CZTextFile::CZTextFile()
{
  SetSections(1, L"\n", L' ');
}

CZTextFile::~CZTextFile() = default;

void CZTextFile::SetSections(int count, const CString& marker, wchar_t separator)
{
  m_sections.clear();
  m_marker = marker;
  if (count < 1)
    return;
  m_sections.resize(size_t(count));
  for (CZStringGrid& grid : m_sections)
    grid.SetSize(0, 0, 0, 0, separator, L':');
}

CZStringGrid* CZTextFile::GetSection(int index)
{
  if (index == 0) {
    ShowFrameworkMessageBox(L"Internal ZTextFile Error!\n 0-base indexing not supported.");
    return nullptr;
  }
  return index >= 1 && index <= GetSectionCount() ? &m_sections[size_t(index - 1)] : nullptr;
}

// Drops the line that ended the previous section. A pre-sized section may have stopped short of
// it; then the line holds data and stays for the next section.
void CZTextFile::SkipSectionEnd(wchar_t separator)
{
  const ULONGLONG start = GetPosition();
  CString line;
  if (ReadString(line) && !IsSectionEnd(line, m_marker, separator))
    Seek(LONGLONG(start), CFile::begin);
}

void CZTextFile::CountSection(const CZStringGrid& grid, int& rows, int& columns)
{
  const SGridTextFormat format{grid.GetKeyColumnCount(), grid.GetSeparator(), grid.GetKeySeparator()};
  size_t widest = 0;
  rows = CountSectionRecords(*this, format, m_marker, grid.GetColumnCount() == 0 ? &widest : nullptr, false);
  columns = grid.GetColumnCount() == 0 ? int(std::min<size_t>(widest, INT_MAX)) : grid.GetColumnCount();
}

int CZTextFile::Read()
{
  if (!IsOpen() || m_sections.empty())
    return -1;
  for (size_t s = 0; s < m_sections.size(); ++s) {
    CZStringGrid& grid = m_sections[s];
    if (s > 0)
      SkipSectionEnd(m_sections[s - 1].GetSeparator());
    if (grid.GetRowCount() > 0 && grid.GetColumnCount() > 0) {
      grid.ReadFrom(*this, m_marker, grid.GetColumnCount(), grid.GetTotalRowCount());
      continue;
    }
    int rows = 0, columns = 0;
    CountSection(grid, rows, columns);
    grid.SetRowCount(rows);
    grid.ReadFrom(*this, m_marker, columns, rows);
  }
  return 0;
}

int CZTextFile::Write()
{
  if (!IsOpen() || m_sections.empty())
    return -1;
  CString separatorLine = m_marker;
  separatorLine.Remove(L'\n');
  separatorLine += L'\n';
  bool written = true;
  for (size_t s = 0; s < m_sections.size(); ++s) {
    written = m_sections[s].WriteTo(*this, m_marker) && written;
    if (s + 1 < m_sections.size())
      written = WriteString(separatorLine) && written;
  }
  return written && Flush() ? 0 : -1;
}

void CZTextFile::SetFilePath(const wchar_t* path)
{
  CStdioFile::SetFilePath(path);
}
