#include "CZCSVFile.h"
#include "TempUserFolders.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

class CsvFileTest : public testing::Test {
protected:
  CString Path(const char* name) const { return Wide(m_temp.Path() / name); }
  void Give(const char* name, const std::string& bytes) const { WriteBytes(m_temp.Path() / name, bytes); }
  std::string Contents(const char* name) const { return ReadBytes(m_temp.Path() / name); }

  void ReadCsv(CZCSVFile& csv, const char* name) const
  {
    ASSERT_TRUE(csv.Open(Path(name), CFile::modeRead));
    EXPECT_EQ(csv.Read(), 0);
    csv.Close();
  }
  void WriteCsv(CZCSVFile& csv, const char* name) const
  {
    ASSERT_TRUE(csv.Open(Path(name), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(csv.Write(), 0);
    csv.Close();
  }

  TempFolder m_temp;
};

// The settings file as the program writes it: a version row, then label, kind and value rows.
void FillSettings(CZStringGrid& grid)
{
  grid.AppendFormat(L"%s", L"HVXProConfig");
  grid.Append(L"Version");
  grid.Append(L"1.02.03.0004");
  const wchar_t* values[][3] = {
      {L"Trace 1", L"Title", L"Move, then hold"},
      {L"Trace 1", L"Command", L"poly3(x,1,2,3,4)"},
      {L"Trace 2", L"Title", L"The \"fast\" one"},
      {L"Trace 2", L"Command", L"\"QD\""},
      {L"Action 1", L"Title", L""},
      {L"Action 1", L"Command", L"#1QD\r\n#1QP\r\n\r\nwait 100"},
      {L"Action 2", L"Command", L"line\nfeed only, and a lone \r too"},
      {L"Action 3", L"Title", L"Caf\u00e9 \u20ac5 \u00b0"},
  };
  for (int i = 0; i < int(std::size(values)); ++i) {
    grid.AppendFormat(L"%s", values[i][0]);
    grid.Append(values[i][1]);
    grid.Append(values[i][2]);
  }
}

} // namespace

TEST_F(CsvFileTest, ASettingsFileWithCommasQuotesAndLineBreaksRoundTripsExactly)
{
  CZCSVFile written;
  FillSettings(*written.GetSection(1));
  WriteCsv(written, "settings.csv");

  CZCSVFile read;
  ReadCsv(read, "settings.csv");
  const CZStringGrid& expected = *written.GetSection(1);
  const CZStringGrid& got = *read.GetSection(1);
  ASSERT_EQ(got.GetRowCount(), expected.GetRowCount());
  EXPECT_EQ(got.GetColumnCount(), 3);
  for (int r = 1; r <= expected.GetRowCount(); ++r)
    for (int c = 1; c <= 3; ++c)
      EXPECT_EQ(got.GetString(r, c), expected.GetString(r, c)) << "row " << r << " column " << c;

  WriteCsv(read, "again.csv");
  EXPECT_EQ(Contents("again.csv"), Contents("settings.csv"));
  EXPECT_NE(Contents("settings.csv").find("Trace 1,Command,\"poly3(x,1,2,3,4)\"\r\n"), std::string::npos);
  EXPECT_NE(Contents("settings.csv").find("\"The \"\"fast\"\" one\""), std::string::npos);
}

TEST_F(CsvFileTest, FilesFromAWindowsProgramReadCorrectly)
{
  // CRLF line ends and Windows-1252 bytes (e acute, euro sign, degree sign).
  Give("win.csv", "Trace 1,Title,Caf\xe9 \x80"
                  "5 \xb0\r\nTrace 1,Command,QD\r\n");
  CZCSVFile csv;
  ReadCsv(csv, "win.csv");
  const CZStringGrid& grid = *csv.GetSection(1);
  ASSERT_EQ(grid.GetRowCount(), 2);
  EXPECT_EQ(grid.GetString(1, 3), L"Caf\u00e9 \u20ac5 \u00b0");
  EXPECT_EQ(grid.GetString(2, 3), L"QD");

  // UTF-8 with a byte-order mark, one line of Windows-1252 among UTF-8 ones, LF line ends.
  Give("mixed.csv", "\xEF\xBB\xBF"
                    "Config,Status\n1.2,\xc3\xa9t\xc3\xa9\n1.3,\xe9t\xe9\n");
  CZCSVFile mixed;
  ReadCsv(mixed, "mixed.csv");
  EXPECT_EQ(mixed.GetSection(1)->GetString(1, 1), L"Config");
  EXPECT_EQ(mixed.GetSection(1)->GetString(2, 2), L"\u00e9t\u00e9");
  EXPECT_EQ(mixed.GetSection(1)->GetString(3, 2), L"\u00e9t\u00e9");

  WriteCsv(csv, "out.csv");
  EXPECT_EQ(Contents("out.csv"), "Trace 1,Title,Caf\xc3\xa9 \xe2\x82\xac"
                                 "5 \xc2\xb0\r\nTrace 1,Command,QD\r\n");
}

TEST_F(CsvFileTest, ASectionEndsAtAnEmptyLineOrALineOfCommas)
{
  Give("empty.csv", "a,b\nc,d\n\ne,f\n");
  CZCSVFile csv;
  ReadCsv(csv, "empty.csv");
  EXPECT_EQ(csv.GetSection(1)->GetRowCount(), 2);
  EXPECT_EQ(csv.GetSection(1)->GetString(3, 1), L"");

  Give("commas.csv", "a,b\n,,,\ne,f\n");
  CZCSVFile commas;
  ReadCsv(commas, "commas.csv");
  EXPECT_EQ(commas.GetSection(1)->GetRowCount(), 1);

  // An empty line inside a quoted cell is part of the cell.
  Give("quoted.csv", "a,\"one\n\ntwo\"\nc,d\n");
  CZCSVFile quoted;
  ReadCsv(quoted, "quoted.csv");
  EXPECT_EQ(quoted.GetSection(1)->GetRowCount(), 2);
  EXPECT_EQ(quoted.GetSection(1)->GetString(1, 2), L"one\n\ntwo");
  EXPECT_EQ(quoted.GetSection(1)->GetString(2, 1), L"c");
}

TEST_F(CsvFileTest, ColumnsCountTheWidestLineButNoTrailingComma)
{
  Give("trailing.csv", "a,b,\nc\n");
  CZCSVFile csv;
  ReadCsv(csv, "trailing.csv");
  EXPECT_EQ(csv.GetSection(1)->GetColumnCount(), 2);

  Give("leading.csv", ",a,b\n");
  CZCSVFile leading;
  ReadCsv(leading, "leading.csv");
  EXPECT_EQ(leading.GetSection(1)->GetColumnCount(), 3);
  EXPECT_EQ(leading.GetSection(1)->GetString(1, 3), L"b");

  // A comma inside quotes opens no column.
  Give("quoted.csv", "\"a,b,c\",d\n");
  CZCSVFile quoted;
  ReadCsv(quoted, "quoted.csv");
  EXPECT_EQ(quoted.GetSection(1)->GetColumnCount(), 2);
}

TEST_F(CsvFileTest, FilesWithoutDoubledQuotesReadAsBefore)
{
  Give("old.csv", "say \"hi\" now,\"b,c\",d\n\"x\" y,z\n");
  CZCSVFile csv;
  ReadCsv(csv, "old.csv");
  const CZStringGrid& grid = *csv.GetSection(1);
  EXPECT_EQ(grid.GetString(1, 1), L"say \"hi\" now");
  EXPECT_EQ(grid.GetString(1, 2), L"b,c");
  EXPECT_EQ(grid.GetString(1, 3), L"d");
  EXPECT_EQ(grid.GetString(2, 1), L"x");
  EXPECT_EQ(grid.GetString(2, 2), L"y");
  EXPECT_EQ(grid.GetString(2, 3), L"z");
}

TEST_F(CsvFileTest, AnOpeningQuoteThatNeverClosesTakesOnlyTheRestOfItsLine)
{
  // Written before cells were quoted: a title that starts with a quote ends its line as before,
  // and the rows after it are kept.
  std::string text = "Trace 1,Title,\"Fast, then slow\r\nTrace 1,Command,QD\r\n";
  for (int i = 2; i <= 200; ++i)
    text += "Trace " + std::to_string(i) + ",Title,\"T" + std::to_string(i) + "\r\n";
  text += "Last,row,\"\"\"\"\r\n";
  Give("old.csv", text);
  CZCSVFile csv;
  ReadCsv(csv, "old.csv");
  const CZStringGrid& grid = *csv.GetSection(1);
  ASSERT_EQ(grid.GetRowCount(), 202);
  EXPECT_EQ(grid.GetString(1, 3), L"Fast, then slow");
  EXPECT_EQ(grid.GetString(2, 3), L"QD");
  EXPECT_EQ(grid.GetString(3, 1), L"Trace 2");
  EXPECT_EQ(grid.GetString(3, 3), L"T2");
  EXPECT_EQ(grid.GetString(201, 3), L"T200");
  EXPECT_EQ(grid.GetString(202, 3), L"\"");

  // Nor does a quote further down that opens another cell, as the settings files of old wrote
  // their titles.
  Give("titles.csv", "Trace 1,Title,\"Fast\r\nTrace 1,Command,QD\r\nTrace 2,Title,\"Slow\"\r\n");
  CZCSVFile titles;
  ReadCsv(titles, "titles.csv");
  ASSERT_EQ(titles.GetSection(1)->GetRowCount(), 3);
  EXPECT_EQ(titles.GetSection(1)->GetString(1, 3), L"Fast");
  EXPECT_EQ(titles.GetSection(1)->GetString(2, 3), L"QD");
  EXPECT_EQ(titles.GetSection(1)->GetString(3, 1), L"Trace 2");
  EXPECT_EQ(titles.GetSection(1)->GetString(3, 3), L"Slow");

  // A quoted cell as our writer writes it spans the lines up to its quote; below its first line
  // only a quote before a comma or a line end closes it, and its other quotes are doubled.
  Give("spans.csv", "a,\"one\r\nsay \"\"hi\"\" two\nthree\",b\r\nc\r\n");
  CZCSVFile spans;
  ReadCsv(spans, "spans.csv");
  ASSERT_EQ(spans.GetSection(1)->GetRowCount(), 2);
  EXPECT_EQ(spans.GetSection(1)->GetString(1, 2), L"one\r\nsay \"hi\" two\nthree");
  EXPECT_EQ(spans.GetSection(1)->GetString(1, 3), L"b");
  EXPECT_EQ(spans.GetSection(1)->GetString(2, 1), L"c");
}

TEST_F(CsvFileTest, ACellThatStartsWithAByteOrderMarkKeepsIt)
{
  CZCSVFile written;
  written.GetSection(1)->AppendFormat(L"%s", L"\uFEFFTitle");
  written.GetSection(1)->Append(L"x");
  WriteCsv(written, "bom.csv");
  CZCSVFile read;
  ReadCsv(read, "bom.csv");
  EXPECT_EQ(read.GetSection(1)->GetString(1, 1), L"\uFEFFTitle");
  EXPECT_EQ(read.GetSection(1)->GetString(1, 2), L"x");
}

TEST_F(CsvFileTest, CalibrationFilesReadIntoAPreSizedGridWithMissingLinesAsZero)
{
  std::string text = "ZSpectrumData CSV output\r\nAngle (deg),Error (deg)\r\n";
  for (int x = 0; x < 300; ++x)
    text += std::to_string(x) + "," + (x % 2 ? "0.125" : "-1.5e-05") + "\r\n";
  Give("Encoder Error.csv", text);
  CZCSVFile csv;
  csv.GetSection(1)->SetSize(360, 2, 2, 0, L',', L':');
  ReadCsv(csv, "Encoder Error.csv");
  const CZStringGrid& grid = *csv.GetSection(1);
  EXPECT_EQ(grid.GetRowCount(), 360);
  EXPECT_EQ(grid.GetString(-1, 1), L"ZSpectrumData CSV output");
  EXPECT_EQ(grid.GetString(0, 2), L"Error (deg)");
  EXPECT_EQ(grid.GetFloat(2, 2), 0.125f);
  EXPECT_EQ(grid.GetFloat(1, 2), -1.5e-05f);
  EXPECT_EQ(grid.GetInt(300, 1), 299);
  EXPECT_EQ(grid.GetFloat(301, 2), 0.0f);
  EXPECT_EQ(grid.GetFloat(360, 2), 0.0f);
}
