#include "CalibrationFiles.h"

#include "TempUserFolders.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

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

  ASSERT_TRUE(ReadCalibrationCurve(Path("full.csv"), kEncoderErrorLabel));
  EXPECT_FLOAT_EQ(ReadCalibrationCurve(Path("full.csv"), kEncoderErrorLabel)->y[359], 3.59f);
  EXPECT_FALSE(ReadCalibrationCurve(Path("short.csv"), kEncoderErrorLabel));
  EXPECT_FALSE(ReadCalibrationCurve(Path("damaged.csv"), kEncoderErrorLabel));
  EXPECT_FALSE(ReadCalibrationCurve(Path("blank.csv"), kEncoderErrorLabel));
  EXPECT_FALSE(ReadCalibrationCurve(Path("text.csv"), kEncoderErrorLabel));
  EXPECT_FALSE(ReadCalibrationCurve(Path("none.csv"), kEncoderErrorLabel));

  // Nothing but the 360 rows the program writes, each at its own angle; blank lines may follow.
  WriteBytes(m_temp.Path() / "blank end.csv", Rows(360) + "\r\n \r\n");
  EXPECT_TRUE(ReadCalibrationCurve(Path("blank end.csv"), kEncoderErrorLabel));
  const std::pair<const char*, std::string> refused[] = {
      {"361 rows", Rows(361)},
      {"400 rows", Rows(400)},
      {"a note after the rows", Rows(360) + "\r\nnote\r\n"},
      {"an extra cell", Rows(360, 5, "5,0.05,1")},
      {"x off its row", Rows(360, 5, "6,0.05")},
      {"a quoted cell", Rows(360, 5, "5,\"0.05\"")},
  };
  for (const auto& [what, text] : refused) {
    WriteBytes(m_temp.Path() / "refused.csv", text);
    EXPECT_FALSE(ReadCalibrationCurve(Path("refused.csv"), kEncoderErrorLabel)) << what;
  }
}

TEST_F(CalibrationFilesTest, ErrorTableNeedsTheHeaderLinesOfTheErrorCurve)
{
  // Every curve file has the same rows: only its header says which curve it holds.
  SCalibrationCurves curves;
  curves.lag.fill(-0.5f);
  const SCalibrationResultSets sets = CalibrationResultSets(curves);
  ASSERT_TRUE(ExportCalibrationCurve(*sets.error, Path("error.csv")));
  ASSERT_TRUE(ExportCalibrationCurve(*sets.lag, Path("Encoder Error.csv")));
  EXPECT_TRUE(ReadCalibrationCurve(Path("error.csv"), kEncoderErrorLabel));
  EXPECT_FALSE(ReadCalibrationCurve(Path("Encoder Error.csv"), kEncoderErrorLabel)) << "the gear lag";
  EXPECT_TRUE(ReadCalibrationCurve(Path("Encoder Error.csv"), kGearLagLabel));

  const std::string rows = Rows(360).substr(Rows(0).size());
  const std::pair<const char*, std::string> refused[] = {
      {"no header", rows},
      {"the label line only", "Angle (deg),Error (deg)\r\n" + rows},
      {"another banner", "CSV output\r\nAngle (deg),Error (deg)\r\n" + rows},
      {"another label", "ZSpectrumData CSV output\r\nAngle (deg),CW Error (deg)\r\n" + rows},
      {"a blank after the label", "ZSpectrumData CSV output\r\nAngle (deg),Error (deg) \r\n" + rows},
      {"far too long", Rows(360) + std::string(100'000, '\n')},
  };
  for (const auto& [what, text] : refused) {
    WriteBytes(m_temp.Path() / "refused.csv", text);
    EXPECT_FALSE(ReadCalibrationCurve(Path("refused.csv"), kEncoderErrorLabel)) << what;
  }
}

TEST_F(CalibrationFilesTest, FailedWriteLeavesTheEarlierFileAsItWas)
{
  const std::string earlier = Rows(360);
  WriteBytes(m_temp.Path() / "Encoder Error.csv", earlier);
  CSpectrumData data(L"Error", 360, 1);
  // A file may not grow beyond 100 bytes here: the write fails part of the way through.
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{100, limit.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = ExportCalibrationCurve(data, Path("Encoder Error.csv"));
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(m_temp.Path() / "Encoder Error.csv"), earlier);
  EXPECT_EQ(FileCount(), 1u);
}

TEST(CalibrationResultSets, OnlyTheErrorCurveIsSmoothed)
{
  SCalibrationCurves curves;
  curves.cw[100] = curves.ccw[100] = curves.error[100] = curves.lag[100] = 1.0f;
  const SCalibrationResultSets sets = CalibrationResultSets(curves);
  for (CSpectrumData* data : {sets.cw.get(), sets.ccw.get(), sets.lag.get()}) {
    EXPECT_EQ(data->GetY(100), 1.0f) << data->GetName().Str();
    EXPECT_EQ(data->GetY(99), 0.0f) << data->GetName().Str();
  }
  EXPECT_GT(sets.error->GetY(100), 0.1f);
  EXPECT_LT(sets.error->GetY(100), 0.9f);
  EXPECT_NE(sets.error->GetY(98), 0.0f);
  EXPECT_EQ(sets.error->GetY(90), 0.0f) << "five points either side";
  EXPECT_EQ(sets.error->GetName(), L"Error");
  EXPECT_EQ(sets.error->GetYLabel(), L"Error (deg)");
  EXPECT_EQ(sets.lag->GetXLabel(), L"Angle (deg)");
  EXPECT_EQ(sets.ccw->GetX(359), 359.0f);
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
