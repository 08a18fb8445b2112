#pragma once
// A sectioned text file: a CStdioFile that holds one CZStringGrid per section. Reading fills each
// section's grid from consecutive blocks of lines; writing puts each grid's rows out as lines,
// with a marker line between sections. The caller opens the file before Read or Write and closes
// it afterwards.
#include "CStdioFile.h"
#include "CString.h"
#include "CZStringGrid.h"

#include <vector>

class CZTextFile : public CStdioFile {
public:
  // One section with the marker "\n" and the blank separator.
  CZTextFile();
  ~CZTextFile() override;

  // Replaces the sections by `count` empty grids (0 rows and columns, key separator ':').
  virtual void SetSections(int count, const CString& marker, wchar_t separator);
  // The grid of section `index`, counted from 1. Index 0 is a programming error and says so in
  // the framework's message box; both it and an index out of range give null.
  CZStringGrid* GetSection(int index);
  int GetSectionCount() const { return int(m_sections.size()); }
  const CString& GetMarker() const { return m_marker; }

  // Reads every section from the current position: a grid that already has data rows and columns
  // is read as sized; any other grid gets as many rows as the section has lines (up to an empty
  // line, the marker or, with ',', a line of commas) and, when it has no columns, as many as its
  // widest line has cells (a trailing separator opens no cell). The line that ends a section is
  // skipped before the next one. 0 when done; -1 when the file is not open or there is no section.
  int Read();
  // Writes every section, and between two sections the marker without its line feeds as a line of
  // its own. 0 when done; -1 when the file is not open, there is no section or the file refused
  // the text.
  int Write();
  // Names the file; a null path throws CInvalidArgException, as for any file.
  void SetFilePath(const wchar_t* path) override;
  // The byte-level reads and writes of the file stay available beside the section ones.
  using CStdioFile::Read;
  using CStdioFile::Write;

private:
  void SkipSectionEnd(wchar_t separator);
  void CountSection(const CZStringGrid& grid, int& rows, int& columns);

  std::vector<CZStringGrid> m_sections;
  CString m_marker;
};
