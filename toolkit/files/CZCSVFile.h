#pragma once
// The program's CSV file: a CZTextFile with one section and ',' as the separator. A cell that
// holds a comma, a quote or a line break is written in double quotes with its quotes doubled and
// reads back as it was; files without quotes read as they always did.
#include "CZTextFile.h"

class CZCSVFile : public CZTextFile {
public:
  CZCSVFile();
  ~CZCSVFile() override;

  using CZTextFile::SetSections;
  void SetSections(int count, const CString& marker) { SetSections(count, marker, L','); }
};
