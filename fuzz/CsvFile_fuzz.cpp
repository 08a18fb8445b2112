// fuzz-link: toolkit_files
// Reads arbitrary bytes the way the program reads outside text: as a CSV file (settings file,
// compatibility table, calibration file), as a sectioned text file with key cells, and as a grid
// archive. The first byte picks the reader. What the CSV reader makes of the bytes, written out
// and read again, must come out the same a second time.
#include "CArchive.h"
#include "CZCSVFile.h"
#include "CZStringGrid.h"
#include "NativePath.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

const std::string& Folder()
{
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "hvxfuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
      std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(Folder(), ec);
    });
    return pattern;
  }();
  return folder;
}

CString PathOf(const char* name) { return FromNativePath(Folder() + "/" + name); }

void WriteFile(const char* name, const uint8_t* data, size_t size)
{
  std::FILE* file = std::fopen((Folder() + "/" + name).c_str(), "wb");
  if (!file)
    std::abort();
  if (size)
    std::fwrite(data, 1, size, file);
  std::fclose(file);
}

std::string ReadFile(const char* name)
{
  std::string bytes;
  std::FILE* file = std::fopen((Folder() + "/" + name).c_str(), "rb");
  if (!file)
    std::abort();
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
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

void FuzzCsv(const uint8_t* data, size_t size)
{
  WriteFile("in.csv", data, size);
  CZCSVFile first;
  ReadCsv("in.csv", first);
  Touch(*first.GetSection(1));
  WriteCsv(first, "once.csv");

  CZCSVFile second;
  ReadCsv("once.csv", second);
  WriteCsv(second, "twice.csv");
  CZCSVFile third;
  ReadCsv("twice.csv", third);
  WriteCsv(third, "thrice.csv");
  if (ReadFile("twice.csv") != ReadFile("thrice.csv"))
    std::abort();

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
  switch (data[0] % 3) {
  case 0:
    FuzzCsv(data + 1, size - 1);
    break;
  case 1:
    FuzzSections(data + 1, size - 1);
    break;
  default:
    FuzzArchive(data + 1, size - 1);
    break;
  }
  return 0;
}
