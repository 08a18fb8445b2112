#include "CalibrationFiles.h"

#include "TempUserFolders.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {
class CalibrationFilesTest : public testing::Test {
protected:
  CString Path(const char* name) const { return Wide(m_temp.Path() / name); }
  // The file as the program writes it, with count rows; row `odd` (from 0) reads oddRow instead.
  static std::string Rows(int count, int odd = -1, const std::string& oddRow = {})
  {
    std::string text = "ZSpectrumData CSV output\r\nAngle (deg),Error (deg)\r\n";
    for (int i = 0; i < count; ++i)
      text += (i == odd ? oddRow : std::to_string(i) + "," + std::to_string(i / 100.0)) + "\r\n";
    return text;
  }
  size_t FileCount() const
  {
    return size_t(std::distance(std::filesystem::directory_iterator(m_temp.Path()), {}));
  }
  TempFolder m_temp;
};
} // namespace

TEST(CalibrationFolderName, SerialNumberBecomesOneSafeFolderName)
{
  EXPECT_EQ(CalibrationFolderName(L"2026010112000000"), L"2026010112000000");
  EXPECT_EQ(CalibrationFolderName(L" 12-34 \r"), L"12-34");
  EXPECT_EQ(CalibrationFolderName(L"../a/b"), L".._a_b");
  EXPECT_EQ(CalibrationFolderName(L"a\tb\x7F"), L"a_b_");
  for (const wchar_t* refused : {L"", L"  ", L".", L".."})
    EXPECT_EQ(CalibrationFolderName(refused), L"") << CString(refused).Str();
}

TEST_F(CalibrationFilesTest, FailedWriteLeavesNoPartOfAFile)
{
  CSpectrumData data(L"Error", 360, 1);
  EXPECT_FALSE(ExportCalibrationCurve(data, Path("missing folder/Encoder Error.csv")));
  // A folder in the file's place: the text is written, but cannot take the file's name.
  std::filesystem::create_directory(m_temp.Path() / "Gear Lag.csv");
  WriteBytes(m_temp.Path() / "Gear Lag.csv" / "inside", "x");
  EXPECT_FALSE(ExportCalibrationCurve(data, Path("Gear Lag.csv")));
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(CalibrationFilesTest, ErrorTableNeedsAllRowsAsNumbers)
{
  WriteBytes(m_temp.Path() / "full.csv", Rows(360));
  WriteBytes(m_temp.Path() / "short.csv", Rows(359));
  WriteBytes(m_temp.Path() / "damaged.csv", Rows(360, 200, "200,2x0"));
  WriteBytes(m_temp.Path() / "blank.csv", Rows(360, 7, "7,"));
  WriteBytes(m_temp.Path() / "text.csv", Rows(360, 300, "300,nan"));

  ASSERT_TRUE(ReadCalibrationCurve(Path("full.csv")));
  EXPECT_FLOAT_EQ(ReadCalibrationCurve(Path("full.csv"))->y[359], 3.59f);
  EXPECT_FALSE(ReadCalibrationCurve(Path("short.csv")));
  EXPECT_FALSE(ReadCalibrationCurve(Path("damaged.csv")));
  EXPECT_FALSE(ReadCalibrationCurve(Path("blank.csv")));
  EXPECT_FALSE(ReadCalibrationCurve(Path("text.csv")));
  EXPECT_FALSE(ReadCalibrationCurve(Path("none.csv")));
}

TEST_F(CalibrationFilesTest, AllFourFilesMustExist)
{
  const CString folder = Wide(m_temp.Path()) + L"/";
  for (const wchar_t* file : {kEncoderCwErrorFile, kEncoderCcwErrorFile, kEncoderErrorFile}) {
    WriteBytes(NativePath(folder + file), Rows(1));
    EXPECT_FALSE(CalibrationFilesExist(folder));
  }
  WriteBytes(NativePath(folder + kGearLagFile), Rows(1));
  EXPECT_TRUE(CalibrationFilesExist(folder));
}
