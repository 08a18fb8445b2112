// fuzz-link: toolkit_files
// Reads arbitrary bytes the way the program reads outside text: as a CSV file (settings file,
// compatibility table, calibration file), as a sectioned text file with key cells, and as a grid
// archive, or takes them for cells that the CSV writer must bring back exactly. The first byte
// picks the way. What the CSV reader makes of the bytes, written out and read again, must hold
// the same cells.
#include "CArchive.h"
#include "CZCSVFile.h"
#include "CZStringGrid.h"
#include "FuzzFolder.h"
#include "NativePath.h"
#include "TextConversion.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

CString PathOf(const char* name)
{
  return FromNativePath(FuzzFolder() + "/" + name);
}

void WriteFile(const char* name, const uint8_t* data, size_t size)
{
  std::FILE* file = std::fopen((FuzzFolder() + "/" + name).c_str(), "wb");
  if (!file)
    std::abort();
  if (size)
    std::fwrite(data, 1, size, file);
  std::fclose(file);
}

void Touch(const CZStringGrid& grid)
{
  for (int r = 1 - grid.GetHeaderRowCount(); r <= grid.GetRowCount() + 1; ++r)
    for (int c = 0; c <= grid.GetColumnCount() + 1 && c < 64; ++c) {
      (void)grid.GetInt(r, c);
      (void)grid.GetFloat(r, c);
    }
  (void)grid.FindColumn(1, L"Config", 1);
}

void ReadCsv(const char* from, CZCSVFile& csv)
{
  if (!csv.Open(PathOf(from), CFile::modeRead) || csv.Read() != 0)
    std::abort();
  csv.Close();
}

void WriteCsv(CZCSVFile& csv, const char* to)
{
  if (!csv.Open(PathOf(to), CFile::modeCreate | CFile::modeWrite) || csv.Write() != 0)
    std::abort();
  csv.Close();
}

// A grid written and read back holds the same cells; only a trailing empty cell, which the
// written line ends in a comma for, may lose its column.
void ExpectSameCells(const CZStringGrid& read, const CZStringGrid& reread)
{
  if (read.GetRowCount() != reread.GetRowCount())
    std::abort();
  const int columns = std::max(read.GetColumnCount(), reread.GetColumnCount());
  for (int r = 1; r <= read.GetRowCount(); ++r)
    for (int c = 1; c <= columns; ++c)
      if (read.GetString(r, c) != reread.GetString(r, c))
        std::abort();
}

void FuzzCsv(const uint8_t* data, size_t size)
{
  WriteFile("in.csv", data, size);
  CZCSVFile first;
  ReadCsv("in.csv", first);
  Touch(*first.GetSection(1));
  WriteCsv(first, "once.csv");

  CZCSVFile second;
  ReadCsv("once.csv", second);
  ExpectSameCells(*first.GetSection(1), *second.GetSection(1));
  WriteCsv(second, "twice.csv");
  CZCSVFile third;
  ReadCsv("twice.csv", third);
  ExpectSameCells(*second.GetSection(1), *third.GetSection(1));

  // The compatibility table's way: a header row, rows and columns counted by the grid itself.
  CStdioFile file;
  if (!file.Open(PathOf("in.csv"), CFile::modeRead))
    std::abort();
  CZStringGrid table;
  table.SetSize(10, 6, 1, 0, L',', L':');
  table.ReadFrom(file, L"\n", 0, 0);
  Touch(table);
}

void FuzzSections(const uint8_t* data, size_t size)
{
  WriteFile("in.txt", data, size);
  CZTextFile text;
  text.SetSections(3, L"END", L' ');
  text.GetSection(1)->SetSize(0, 0, 0, 1, L' ', L':');
  text.GetSection(3)->SetSize(2, 3, 1, 0, L' ', L':');
  if (!text.Open(PathOf("in.txt"), CFile::modeRead) || text.Read() != 0)
    std::abort();
  text.Close();
  for (int s = 1; s <= 3; ++s)
    Touch(*text.GetSection(s));
  if (!text.Open(PathOf("out.txt"), CFile::modeCreate | CFile::modeWrite) || text.Write() != 0)
    std::abort();
  text.Close();
}

// Any cells at all, written and read back, come back exactly: bytes 0x1E end a row, 0x1F a cell,
// and each cell is UTF-8 where it is valid, else Windows-1252.
void FuzzCellRoundTrip(const uint8_t* data, size_t size)
{
  CZCSVFile written;
  CZStringGrid& grid = *written.GetSection(1);
  std::string cell;
  int row = 1, column = 1;
  auto put = [&] {
    grid.SetString(row, column, IsValidUtf8(cell) ? FromUtf8(cell) : FromWindows1252(cell));
    cell.clear();
  };
  for (size_t i = 0; i < size && row <= 64; ++i) {
    if (data[i] == 0x1E) {
      put();
      ++row;
      column = 1;
    } else if (data[i] == 0x1F) {
      put();
      ++column;
    } else {
      cell += char(data[i]);
    }
  }
  put();
  WriteCsv(written, "cells.csv");
  CZCSVFile read;
  ReadCsv("cells.csv", read);
  ExpectSameCells(grid, *read.GetSection(1));
}

void FuzzArchive(const uint8_t* data, size_t size)
{
  CZStringGrid grid;
  try {
    CMemFile file(data, size);
    CArchive ar(&file, CArchive::load);
    grid.Serialize(ar);
  } catch (const CArchiveException&) {
    return;
  }
  Touch(grid);
  CMemFile stored;
  {
    CArchive out(&stored, CArchive::store);
    grid.Serialize(out);
    out.Flush();
  }
  stored.SeekToBegin();
  CZStringGrid again;
  CArchive in(&stored, CArchive::load);
  again.Serialize(in);
  CMemFile restored;
  CArchive out(&restored, CArchive::store);
  again.Serialize(out);
  out.Flush();
  if (restored.Data() != stored.Data())
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size == 0)
    return 0;
  switch (data[0] % 4) {
  case 0:
    FuzzCsv(data + 1, size - 1);
    break;
  case 1:
    FuzzSections(data + 1, size - 1);
    break;
  case 3:
    FuzzCellRoundTrip(data + 1, size - 1);
    break;
  default:
    FuzzArchive(data + 1, size - 1);
    break;
  }
  return 0;
}
