#include "CompatibilityTable.h"

#include "CStringPrinting.h"
#include "TempUserFolders.h"
#include "TestFiles.h"
#include "VersionNumbers.h"

#include <gtest/gtest.h>

namespace {
class CompatibilityTableTest : public ::testing::Test {
protected:
  bool Parse(const std::string& body) { return ParseCompatibilityTable(body, Wide(file), table); }

  TempFolder folder;
  std::filesystem::path file = folder.Path() / "Compatibility.csv";
  CZStringGrid table;
  const long long program = ParseVersion(L"1.2.3");
  SServoIdentity servo{3, 2, ParseVersion(L"1.0.7"), ParseVersion(L"1.5.120")};
};
} // namespace

TEST_F(CompatibilityTableTest, BodyWithCarriageReturnsGivesHeaderAndRows)
{
  ASSERT_TRUE(Parse("Config,Status\r\n1.3.0,public\r\n"));
  EXPECT_EQ(table.GetRowCount(), 1);
  EXPECT_EQ(table.GetString(0, 1), L"Config");
  EXPECT_EQ(table.GetString(1, 2), L"public");
  EXPECT_FALSE(std::filesystem::exists(file)) << "the table file is deleted after parsing";

  EXPECT_FALSE(Parse(""));
  EXPECT_FALSE(Parse(std::string("\0Config", 7)));
  // A body that fills the whole download buffer has no terminator: its byte count ends it.
  std::string full = "Config,Status\n";
  while (full.size() < 10'000 - 15)
    full += "1.0.0,alpha\n";
  full += "9.0.0,public";
  full.append(10'000 - full.size(), ' ');
  ASSERT_TRUE(Parse(full));
  EXPECT_EQ(table.GetString(table.GetRowCount(), 1), L"9.0.0");
}

TEST_F(CompatibilityTableTest, NewestListedProgramWins)
{
  ASSERT_TRUE(Parse("Status,Config\npublic,1.3.0\nbeta,1.10.1\nPublic,9.0.0\nalpha,1.2.3\n"));
  CString latest;
  EXPECT_TRUE(FindNewProgram(table, program, latest));
  EXPECT_EQ(latest, L"1.10.1") << "as written; the capital-P row is ignored";

  latest.Empty();
  EXPECT_FALSE(FindNewProgram(table, ParseVersion(L"2.0.0"), latest));
  EXPECT_TRUE(latest.IsEmpty());
  ASSERT_TRUE(Parse("Version,Status\n9.0.0,public\n"));
  EXPECT_FALSE(FindNewProgram(table, program, latest)) << "no Config column";
}

TEST_F(CompatibilityTableTest, FirmwareRowMustMatchProgramBootloaderBoardAndModel)
{
  ASSERT_TRUE(Parse("Config,Bootloader,Board,Model,Firmware,Status\n"
                    "1.2.3,1.0.7,3,1-3,1.6.0,public\n"  // qualifies
                    "1.2.3,1.0.7,3,1-3,1.9.0,Public\n"  // status
                    "1.2.4,1.0.7,3,1-3,1.9.0,public\n"  // program
                    "1.2.3,1.0.8,3,1-3,1.9.0,public\n"  // bootloader
                    "1.2.3,1.0.7,4,1-3,1.9.0,public\n"  // board
                    "1.2.3,1.0.7,3,3-5,1.9.0,public\n"  // model
                    "1.2.3,1.0.7,3,1-3,1.5.120,beta\n"  // not newer
                    "1.2.3,1.0.7,3,2-2,1.5.200,alpha\n" // qualifies, older than the first: last wins
                    ));
  CString latest;
  EXPECT_TRUE(FindNewFirmware(table, program, servo, latest));
  EXPECT_EQ(latest, L"001.005.0000200");

  servo.firmwareVersion = ParseVersion(L"1.6.0");
  latest.Empty();
  EXPECT_FALSE(FindNewFirmware(table, program, servo, latest));
  EXPECT_TRUE(latest.IsEmpty());
}

TEST(CompatibilityModelRange, BoundsIncluded)
{
  for (int id : {1, 2, 3})
    EXPECT_TRUE(ModelRangeContains(L"1-3", id)) << id;
  EXPECT_FALSE(ModelRangeContains(L"1-3", 4));
  EXPECT_TRUE(ModelRangeContains(L"2-2", 2));
  EXPECT_FALSE(ModelRangeContains(L"2-2", 1));
  EXPECT_FALSE(ModelRangeContains(L"2", 2)) << "no delimiter: high bound 0";
  EXPECT_TRUE(ModelRangeContains(L"1 3", 3));
}

TEST(CompatibilityPaths, VersionGoesIntoThePath)
{
  EXPECT_EQ(FirmwarePath(L"002.001.0000015"), "/HVXPro/Firmware/HVXP-FIRMWAREver002.001.0000015.hex");
  EXPECT_EQ(InstallerPath(L"1.3.0"), "/HVXPro/Config/HVXProConfig%20Setup%20v1.3.0.msi");
}
