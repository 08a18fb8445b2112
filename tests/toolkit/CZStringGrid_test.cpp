#include "CArchive.h"
#include "CZStringGrid.h"
#include "TempUserFolders.h"
#include "TestFiles.h"

#include <clocale>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

CZStringGrid CompatibilityHeader()
{
  CZStringGrid grid;
  grid.SetSize(0, 6, 1, 0, L',', L':');
  const wchar_t* headings[] = {L"Config", L"Bootloader", L"Board", L"Model", L"Firmware", L"Status"};
  for (int c = 1; c <= 6; ++c)
    grid.SetString(0, c, headings[c - 1]);
  return grid;
}

// Parses the given bytes as a file with ReadFrom.
void ParseInto(CZStringGrid& grid, const std::string& bytes, int columns, int rows,
               const CString& marker = L"\n")
{
  TempFolder temp;
  WriteBytes(temp.Path() / "grid.txt", bytes);
  CStdioFile file;
  ASSERT_TRUE(file.Open(Wide(temp.Path() / "grid.txt"), CFile::modeRead));
  EXPECT_EQ(grid.ReadFrom(file, marker, columns, rows), 1);
}

std::vector<BYTE> Archived(CZStringGrid& grid)
{
  CMemFile memory;
  CArchive ar(&memory, CArchive::store);
  grid.Serialize(ar);
  ar.Flush();
  return memory.Data();
}

void Load(CZStringGrid& grid, const std::vector<BYTE>& bytes)
{
  CMemFile memory(bytes.data(), bytes.size());
  CArchive ar(&memory, CArchive::load);
  grid.Serialize(ar);
}

template <typename T> void Put(std::vector<BYTE>& bytes, T value)
{
  for (size_t i = 0; i < sizeof(T); ++i)
    bytes.push_back(BYTE((uint64_t(value) >> (8 * i)) & 0xFF));
}

std::vector<BYTE> GridHeader(int keyColumns, int headerRows, int columns, int count)
{
  std::vector<BYTE> bytes;
  Put<int32_t>(bytes, 0);
  Put<uint16_t>(bytes, L':');
  Put<uint16_t>(bytes, L',');
  Put<int32_t>(bytes, keyColumns);
  Put<int32_t>(bytes, headerRows);
  Put<int32_t>(bytes, columns);
  Put<int32_t>(bytes, count);
  return bytes;
}

} // namespace

TEST(CZStringGrid, HeaderRowsAreReachedFromRowZeroDownAndColumnsFoundByHeading)
{
  CZStringGrid grid = CompatibilityHeader();
  grid.SetString(1, 1, L"1.02.03");
  grid.SetString(1, 3, L"7");

  EXPECT_EQ(grid.FindColumn(1, L"Board", 1), 3);
  EXPECT_EQ(grid.FindColumn(1, L"board", 1), 0);
  EXPECT_EQ(grid.FindColumn(1, L"Status", 1), 6);
  EXPECT_EQ(grid.FindColumn(1, L"Config", 2), 0);
  EXPECT_EQ(grid.FindColumn(2, L"Board", 1), 0);
  EXPECT_EQ(grid.GetString(0, 2), L"Bootloader");
  EXPECT_EQ(grid.GetRowCount(), 1);
  EXPECT_EQ(grid.GetString(1, 1), L"1.02.03");
  EXPECT_EQ(grid.GetInt(1, 3), 7);
  EXPECT_EQ(grid.GetString(2, 1), L"");
  EXPECT_EQ(grid.GetString(-1, 1), L"");
  EXPECT_EQ(grid.GetString(1, 0), L"");
  EXPECT_EQ(grid.GetInt(1, 1), 1);
  EXPECT_EQ(grid.GetInt(5, 5), 0);

  CZStringGrid empty;
  EXPECT_EQ(empty.FindColumn(1, L"", 1), 0);
}

TEST(CZStringGrid, RowsAreBuiltWithAppendFormatAndAppend)
{
  CZStringGrid grid;
  grid.SetSize(0, 0, 0, 0, L',', L':');
  grid.AppendFormat(L"Trace %d", 1);
  grid.Append(L"Title");
  grid.Append(L"Position");
  grid.AppendFormat(L"Trace %d", 2);
  grid.Append(L"Title");
  ASSERT_EQ(grid.GetRowCount(), 2);
  EXPECT_EQ(grid.GetColumnCount(), 3);
  EXPECT_EQ(grid.GetRow(1)->ToText(), L"Trace 1,Title,Position\n");
  EXPECT_EQ(grid.GetRow(2)->ToText(), L"Trace 2,Title,\n");
  EXPECT_EQ(grid.GetCurrentRow(), 2);
  EXPECT_EQ(grid.GetCurrentColumn(), 2);
}

TEST(CZStringGrid, IndexesBelowRangeAreIgnoredAndAppendOnAnEmptyGridStartsRowOne)
{
  CZStringGrid grid;
  grid.SetSize(0, 0, 0, 0, L',', L':');
  grid.SetString(0, 1, L"no row 0");
  grid.SetString(-3, 1, L"no row -3");
  grid.SetString(1, 0, L"no column 0");
  grid.SetString(1, -1, L"no column -1");
  EXPECT_EQ(grid.GetTotalRowCount(), 0);

  grid.Append(L"first");
  grid.Append(L"second");
  EXPECT_EQ(grid.GetRowCount(), 1);
  EXPECT_EQ(grid.GetString(1, 1), L"first");
  EXPECT_EQ(grid.GetString(1, 2), L"second");

  CZStringRow row;
  row.SetCell(-1, L"ignored");
  EXPECT_EQ(row.GetCellCount(), 0);
  row.SetCell(2, L"third");
  EXPECT_EQ(row.GetCellCount(), 3);
  EXPECT_EQ(row.GetCell(2), L"third");
  EXPECT_EQ(row.GetCell(-1), L"");
  EXPECT_EQ(row.GetCell(3), L"");
}

TEST(CZStringGrid, AddedRowsCarryTheGridsSeparatorsAndKeyColumns)
{
  CZStringGrid keyed;
  keyed.SetSize(0, 2, 0, 1, L',', L'=');
  keyed.SetString(1, 1, L"Speed");
  keyed.SetString(1, 2, L"100");
  EXPECT_EQ(keyed.GetRow(1)->ToText(), L"Speed=,100\n");

  // Rows without cells keep the grid's separator when more rows are added after them.
  CZStringGrid grid;
  grid.SetSize(2, 0, 0, 0, L',', L':');
  grid.AddRows(1);
  grid.SetString(1, 1, L"a");
  grid.SetString(1, 2, L"b");
  grid.SetString(3, 1, L"c");
  grid.SetString(3, 2, L"d");
  EXPECT_EQ(grid.GetRow(1)->ToText(), L"a,b\n");
  EXPECT_EQ(grid.GetRow(3)->ToText(), L"c,d\n");

  CZStringRow copy;
  copy.SetCell(0, L"old");
  copy.CopyFrom(CZStringRow());
  EXPECT_EQ(copy.GetCellCount(), 0);
}

TEST(CZStringGrid, RowTextQuotesCellsThatWouldNotReadBack)
{
  CZStringRow row;
  row.SetSize(0, 0, L',', L':');
  row.SetCell(0, L"poly3(x,1,2,3,4)");
  row.SetCell(1, L"say \"hi\"");
  row.SetCell(2, L"#1QD\r\n#1QP");
  row.SetCell(3, L"plain");
  row.SetCell(4, L"");
  EXPECT_EQ(row.ToText(), L"\"poly3(x,1,2,3,4)\",\"say \"\"hi\"\"\",\"#1QD\r\n#1QP\",plain,\n");

  CZStringRow blank;
  blank.SetSize(3, 0, L' ', L':');
  blank.SetCell(0, L"two words");
  blank.SetCell(1, L"[x");
  blank.SetCell(2, L"x]");
  EXPECT_EQ(blank.ToText(), L"\"two words\" \"[x\" x]\n");

  CZStringRow keyed;
  keyed.SetSize(2, 1, L' ', L':');
  keyed.SetCell(0, L"Speed");
  keyed.SetCell(1, L"100");
  EXPECT_EQ(keyed.ToText(), L"Speed: 100\n");
  // A key that holds the key separator, starts with a quote or is empty at the line's start.
  keyed.SetCell(0, L"Port:COM3");
  EXPECT_EQ(keyed.ToText(), L"\"Port:COM3\": 100\n");
  keyed.SetCell(0, L"\"x");
  EXPECT_EQ(keyed.ToText(), L"\"\"\"x\": 100\n");
  keyed.SetCell(0, L"");
  EXPECT_EQ(keyed.ToText(), L"\"\": 100\n");

  // A row that reads as the section marker, in any letter case, is quoted.
  CZStringRow end;
  end.SetSize(1, 0, L' ', L':');
  end.SetCell(0, L"end");
  EXPECT_EQ(end.ToText(L"END"), L"\"end\"\n");
  EXPECT_EQ(end.ToText(L"\n"), L"end\n");

  // A row of empty cells would read back as the end of the section.
  CZStringRow empty;
  empty.SetSize(3, 0, L',', L':');
  EXPECT_EQ(empty.ToText(), L"\"\",,\n");
  empty.SetSize(1, 0, L' ', L':');
  EXPECT_EQ(empty.ToText(), L"\"\"\n");
  empty.SetSize(0, 0, L',', L':');
  EXPECT_EQ(empty.ToText(), L"\n");
}

TEST(CZStringGrid, ReadFromSplitsQuotedBracketedAndKeyCells)
{
  CZStringGrid csv;
  csv.SetSize(0, 0, 0, 0, L',', L':');
  ParseInto(csv, "a,\"b,c\",d\r\na,b,\r\n\"say \"\"hi\"\"\",x\r\n", 3, 0);
  ASSERT_EQ(csv.GetRowCount(), 3);
  EXPECT_EQ(csv.GetString(1, 1), L"a");
  EXPECT_EQ(csv.GetString(1, 2), L"b,c");
  EXPECT_EQ(csv.GetString(1, 3), L"d");
  EXPECT_EQ(csv.GetString(2, 2), L"b");
  EXPECT_EQ(csv.GetRow(2)->GetCellCount(), 3);
  EXPECT_EQ(csv.GetString(3, 1), L"say \"hi\"");
  EXPECT_EQ(csv.GetString(3, 2), L"x");

  CZStringGrid text;
  text.SetSize(0, 0, 0, 0, L' ', L':');
  ParseInto(text, "x [two words] y\n", 3, 0);
  EXPECT_EQ(text.GetString(1, 1), L"x");
  EXPECT_EQ(text.GetString(1, 2), L"two words");
  EXPECT_EQ(text.GetString(1, 3), L"y");

  CZStringGrid keyed;
  keyed.SetSize(0, 0, 0, 1, L' ', L':');
  ParseInto(keyed, "Speed: 100\n\"Port:COM3\": x\n\"\": y\n\"a\"b: z\n", 0, 0);
  EXPECT_EQ(keyed.GetString(1, 1), L"Speed");
  EXPECT_EQ(keyed.GetString(1, 2), L"100");
  EXPECT_EQ(keyed.GetString(2, 1), L"Port:COM3");
  EXPECT_EQ(keyed.GetString(2, 2), L"x");
  EXPECT_EQ(keyed.GetString(3, 1), L"");
  EXPECT_EQ(keyed.GetString(3, 2), L"y");
  // A key whose quote does not close before the key separator was never quoted.
  EXPECT_EQ(keyed.GetString(4, 1), L"\"a\"b");
  EXPECT_EQ(keyed.GetString(4, 2), L"z");

  // A key row written with another separator reads back as written: "Speed=,100" is two cells.
  CZStringGrid keyedCsv;
  keyedCsv.SetSize(0, 0, 0, 1, L',', L'=');
  ParseInto(keyedCsv, "Speed=,100,fast\nLimit= 5\n", 0, 0);
  EXPECT_EQ(keyedCsv.GetColumnCount(), 3);
  EXPECT_EQ(keyedCsv.GetString(1, 1), L"Speed");
  EXPECT_EQ(keyedCsv.GetString(1, 2), L"100");
  EXPECT_EQ(keyedCsv.GetString(1, 3), L"fast");
  EXPECT_EQ(keyedCsv.GetString(2, 2), L"5");
  EXPECT_EQ(keyedCsv.GetRow(1)->ToText(), L"Speed=,100,fast\n");

  // Text beyond the column count is dropped; a cell without its closing quote takes the rest of
  // its line.
  CZStringGrid narrow;
  narrow.SetSize(0, 0, 0, 0, L',', L':');
  ParseInto(narrow, "a,b,c\n\"open,x\n", 2, 0);
  EXPECT_EQ(narrow.GetString(1, 2), L"b");
  EXPECT_EQ(narrow.GetString(1, 3), L"");
  EXPECT_EQ(narrow.GetString(2, 1), L"open,x");
}

TEST(CZStringGrid, ReadFromCountsEveryCellOfTheWidestLine)
{
  // A separator in the first character opens a cell like any other.
  CZStringGrid grid;
  grid.SetSize(0, 0, 0, 0, L',', L':');
  ParseInto(grid, ",a,b\nc\n", 0, 0);
  EXPECT_EQ(grid.GetColumnCount(), 3);
  EXPECT_EQ(grid.GetString(1, 1), L"");
  EXPECT_EQ(grid.GetString(1, 2), L"a");
  EXPECT_EQ(grid.GetString(1, 3), L"b");

  CZStringGrid trailing;
  trailing.SetSize(0, 0, 0, 0, L',', L':');
  ParseInto(trailing, "a,b,\n", 0, 0);
  EXPECT_EQ(trailing.GetColumnCount(), 3);

  // The table download: header row and data rows counted from the text, up to the empty line.
  CZStringGrid table;
  table.SetSize(10, 6, 1, 0, L',', L':');
  ParseInto(table, "Config,Bootloader,Board,Model,Firmware,Status\n1.2.3,1.0,7,1-5,2.0.1,public\n\nlater,x\n",
            0, 0);
  EXPECT_EQ(table.GetRowCount(), 1);
  EXPECT_EQ(table.FindColumn(1, L"Status", 1), 6);
  EXPECT_EQ(table.GetString(1, 6), L"public");
}

TEST(CZStringGrid, CellsReadAsNumbersWithADotWhateverTheLocale)
{
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
    GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  CZStringGrid grid;
  grid.SetSize(1, 3, 0, 0, L',', L':');
  grid.SetString(1, 1, L"0.1");
  grid.SetString(1, 2, L" -12abc");
  grid.AppendFormat(L"%g", 0.5);
  const float value = grid.GetFloat(1, 1);
  const int number = grid.GetInt(1, 2);
  const CString formatted = grid.GetString(2, 1);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(value, 0.1f);
  EXPECT_EQ(number, -12);
  EXPECT_EQ(formatted, L"0.5");
}

TEST(CZStringGrid, ArchiveRoundTripsAndKeepsTheGridWhenItCannotBeRead)
{
  CZStringGrid grid = CompatibilityHeader();
  grid.SetString(1, 1, L"1.02.03");
  grid.SetString(2, 4, L"Caf\u00e9, \"quoted\"");
  const std::vector<BYTE> bytes = Archived(grid);

  CZStringGrid loaded;
  Load(loaded, bytes);
  EXPECT_EQ(loaded.GetTotalRowCount(), 3);
  EXPECT_EQ(loaded.GetHeaderRowCount(), 1);
  EXPECT_EQ(loaded.GetColumnCount(), 6);
  EXPECT_EQ(loaded.GetSeparator(), L',');
  EXPECT_EQ(loaded.GetString(0, 3), L"Board");
  EXPECT_EQ(loaded.GetString(2, 4), L"Caf\u00e9, \"quoted\"");
  EXPECT_EQ(Archived(loaded), bytes);

  auto expectRefused = [&](const std::vector<BYTE>& archive, int cause) {
    CZStringGrid kept = CompatibilityHeader();
    try {
      Load(kept, archive);
      ADD_FAILURE() << "loaded";
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, cause);
    }
    EXPECT_EQ(kept.GetTotalRowCount(), 1);
    EXPECT_EQ(kept.GetString(0, 1), L"Config");
  };
  // Counts far beyond what the archive holds are refused before anything is allocated.
  expectRefused(GridHeader(0, 0, 2, 0x7FFFFFFF), CArchiveException::endOfFile);
  std::vector<BYTE> hugeRow = GridHeader(0, 0, 2, 1);
  Put<int32_t>(hugeRow, 0);
  Put<uint16_t>(hugeRow, L':');
  Put<uint16_t>(hugeRow, L',');
  Put<int32_t>(hugeRow, 0);
  Put<int32_t>(hugeRow, 0x40000000);
  expectRefused(hugeRow, CArchiveException::endOfFile);
  expectRefused(GridHeader(0, 0, 2, -1), CArchiveException::badSchema);
  expectRefused(GridHeader(0, 0x7FFFFFFF, 2, 0), CArchiveException::badSchema);
  expectRefused(GridHeader(-1, 0, 2, 0), CArchiveException::badSchema);
  expectRefused(GridHeader(0, 0, 0x7FFFFFFF, 0), CArchiveException::badSchema);
  // Header rows and columns that no archived row bears out: the next SetString would make 65536
  // rows of 65536 cells.
  expectRefused(GridHeader(0, 65536, 65536, 0), CArchiveException::badSchema);
  expectRefused(std::vector<BYTE>(bytes.begin(), bytes.end() - 3), CArchiveException::endOfFile);

  // A grid sized to no rows keeps its header row count, fewer rows than headers and all.
  CZStringGrid headerOnly = CompatibilityHeader();
  headerOnly.SetRowCount(0);
  CZStringGrid reloaded;
  Load(reloaded, Archived(headerOnly));
  EXPECT_EQ(reloaded.GetTotalRowCount(), 0);
  EXPECT_EQ(reloaded.GetHeaderRowCount(), 1);
  reloaded.SetString(1, 2, L"x");
  EXPECT_EQ(reloaded.GetString(1, 2), L"x");
  EXPECT_EQ(reloaded.GetTotalRowCount(), 2);

  // Another version is not read at all.
  std::vector<BYTE> later = bytes;
  later[0] = 1;
  CZStringGrid kept = CompatibilityHeader();
  Load(kept, later);
  EXPECT_EQ(kept.GetString(0, 1), L"Config");
}
