// The CSV file and the tab-separated text of a data set.
#include "CStringPrinting.h"
#include "NumberText.h"
#include "TempUserFolders.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::filesystem::path& path)
{
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

CSpectrumData TimePosition()
{
  CSpectrumData data(L"Trace", 0, 1);
  data.SetXLabel(L"Time");
  data.SetYLabel(L"Position");
  data.AddPoint(0.0f, 1.0f);
  data.AddPoint(0.5f, 2.0f);
  return data;
}

std::string PrintfG(double value)
{
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

} // namespace

TEST(CSpectrumDataText, CsvFileHasTheBannerTheLabelsAndOneRowPerPoint)
{
  TempFolder folder;
  const std::filesystem::path path = folder.Path() / "Encoder Error.csv";
  std::ofstream(path) << "old content that is longer than the new file will be, to see it truncated\n";

  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "run scripts/setup.sh to generate de_DE.UTF-8";
  EXPECT_TRUE(TimePosition().ExportToCSVFile(path.wstring().c_str()));
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(ReadFile(path), "ZSpectrumData CSV output\r\nTime,Position\r\n0,1\r\n0.5,2\r\n");

  CSpectrumData labels(L"", 1, 1);
  labels.SetYLabel(L"Winkel \u00B0");
  labels.SetY(0, 1e-7f);
  labels.SetX(0, -123456789.0f);
  EXPECT_TRUE(labels.ExportToCSVFile(path.wstring().c_str()));
  EXPECT_EQ(ReadFile(path), "ZSpectrumData CSV output\r\n,Winkel \xC2\xB0\r\n-1.23457e+08,1e-07\r\n");

  // An empty data set still writes the point first = last = 0, read as 0.
  EXPECT_TRUE(CSpectrumData().ExportToCSVFile(path.wstring().c_str()));
  EXPECT_EQ(ReadFile(path), "ZSpectrumData CSV output\r\n,\r\n0,0\r\n");
}

TEST(CSpectrumDataText, CsvExportReportsFilesThatCannotBeWritten)
{
  TempFolder folder;
  const std::filesystem::path missing = folder.Path() / "no such folder" / "out.csv";
  EXPECT_FALSE(TimePosition().ExportToCSVFile(missing.wstring().c_str()));
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_FALSE(TimePosition().ExportToCSVFile(L""));
  EXPECT_FALSE(TimePosition().ExportToCSVFile(nullptr));

  // A full disk shows only when the buffered rows reach the file or at the close; both must fail.
  EXPECT_FALSE(TimePosition().ExportToCSVFile(L"/dev/full"));
  CSpectrumData large(L"Large", 200000, 1);
  EXPECT_FALSE(large.ExportToCSVFile(L"/dev/full"));
}

TEST(CSpectrumDataText, CsvRowsMatchPrintfForEveryKindOfValue)
{
  CSpectrumData data(L"Values", 6, 1);
  const float specials[] = {0.0f,
                            -0.0f,
                            std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(),
                            -0.000123456f};
  std::string expected = "ZSpectrumData CSV output\r\n,\r\n";
  for (int i = 0; i < 6; ++i) {
    data.SetX(i, float(i) * 0.1f);
    data.SetY(i, specials[i]);
    expected += PrintfG(float(i) * 0.1f) + "," + PrintfG(specials[i]) + "\r\n";
  }
  TempFolder folder;
  const std::filesystem::path path = folder.Path() / "values.csv";
  EXPECT_TRUE(data.ExportToCSVFile(path.wstring().c_str()));
  EXPECT_EQ(ReadFile(path), expected);
}

TEST(CSpectrumDataText, NumbersAreWrittenAsPrintfGInTheCLocale)
{
  std::mt19937 random(11);
  std::uniform_int_distribution<uint32_t> bits;
  for (int i = 0; i < 20000; ++i) {
    uint32_t raw = bits(random);
    float value;
    std::memcpy(&value, &raw, sizeof value);
    if (std::isnan(value))
      continue;
    std::string narrow;
    AppendG(narrow, value);
    ASSERT_EQ(narrow, PrintfG(value)) << raw;
    std::wstring wide;
    AppendG(wide, value);
    ASSERT_EQ(wide, std::wstring(narrow.begin(), narrow.end()));
  }
  std::string nan;
  AppendG(nan, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(nan, "nan");
}

TEST(CSpectrumDataText, TextHasTheNameTheHeaderAndTabSeparatedRows)
{
  CSpectrumData data = TimePosition();
  data.SetName(L"Paste: Trace 1");
  EXPECT_EQ(data.GetDataAsText(), CString(L"Trace 1\nTime\tPosition\n0\t1\n0.5\t2\n"));

  CSpectrumData units(L"", 1, 1);
  units.SetXUnits(L"s");
  EXPECT_EQ(units.GetDataAsText(), CString(L"X Values (s)\tY Values\n0\t0\n"));
  units.SetYUnits(L"deg");
  EXPECT_EQ(units.GetDataAsText(), CString(L"X Values (s)\tY Values (deg)\n0\t0\n"));
  units.SetXUnits(L"");
  EXPECT_EQ(units.GetDataAsText(), CString(L"X Values\tY Values (deg)\n0\t0\n"));

  // The labels replace the column words everywhere, the name line included.
  units.SetName(L"Y Values of X Values");
  units.SetXLabel(L"t");
  units.SetYLabel(L"p");
  EXPECT_EQ(units.GetDataAsText(), CString(L"p of t\nt\tp (deg)\n0\t0\n"));

  CSpectrumData window(L"", 4, 2);
  window.SetArrayIndex(1);
  window.SetY(1, 2, 1.5e10f);
  window.SetFirstIndex(2);
  window.SetLastIndex(2);
  EXPECT_EQ(window.GetDataAsText(), CString(L"X Values\tY Values\n0\t1.5e+10\n"));
}
