#include "FileVersion.h"
#include "TempUserFolders.h"
#include "TestFiles.h"
#include "UserFolders.h"
#include "CLocale.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// Built at run time: a literal record in this test would be a second record in the test program.
std::string Marker()
{
  std::string marker = "ZVERSIONINF";
  marker += 'O';
  marker += '\x01';
  return marker;
}

std::string Filler(size_t bytes)
{
  std::string filler(bytes, '\0');
  for (size_t i = 0; i < bytes; ++i)
    filler[i] = char((i * 7919) % 251);
  return filler;
}

SFileVersionInfo Stale()
{
  SFileVersionInfo info;
  info.text = L"3.04.00.0000";
  info.title = L"stale";
  info.major = 3;
  info.minor = 4;
  return info;
}

void ExpectUnchanged(const SFileVersionInfo& info)
{
  EXPECT_EQ(info.text, L"3.04.00.0000");
  EXPECT_EQ(info.title, L"stale");
  EXPECT_EQ(info.major, 3);
  EXPECT_EQ(info.minor, 4);
  EXPECT_EQ(info.build, 0);
  EXPECT_FALSE(info.debug);
}

} // namespace

TEST(FileVersion, TheProgramReadsBackTheRecordItsBuildEmbedded)
{
  SFileVersionInfo info;
  const CString program = GetRunningProgramPath();
  const int number = GetFileVersion(info, program);

  CString expected;
  expected.Format(L"%d.%02d.%02d.%04d", HVX_TEST_VERSION_MAJOR, HVX_TEST_VERSION_MINOR, HVX_TEST_VERSION_BUILD,
                  HVX_TEST_VERSION_REVISION);
  EXPECT_EQ(info.text, expected);
  EXPECT_EQ(info.major, HVX_TEST_VERSION_MAJOR);
  EXPECT_EQ(info.minor, HVX_TEST_VERSION_MINOR);
  EXPECT_EQ(info.build, HVX_TEST_VERSION_BUILD);
  EXPECT_EQ(info.revision, HVX_TEST_VERSION_REVISION);
  EXPECT_EQ(info.debug, HVX_TEST_DEBUG_BUILD != 0);
  EXPECT_EQ(info.title, L"toolkit_unit_tests");
  CString majorMinor;
  majorMinor.Format(L"%d%02d", HVX_TEST_VERSION_MAJOR, HVX_TEST_VERSION_MINOR);
  EXPECT_EQ(number, _wtoi(majorMinor));
}

TEST(FileVersion, RecordsAreFoundAnywhereAndReadStrictly)
{
  TempFolder temp;
  const fs::path file = temp.Path() / "program";
  SFileVersionInfo info;

  // Across the reader's chunk boundary, after a marker that is not followed by a record.
  WriteBytes(file, Marker() + "garbage" + Filler(65536 - 25) + Marker() + "2.10.0.1;flags=1" + '\0' + Filler(100));
  EXPECT_EQ(GetFileVersion(info, Wide(file)), 210);
  EXPECT_EQ(info.text, L"2.10.00.0001");
  EXPECT_TRUE(info.debug);
  EXPECT_EQ(info.title, L"program");
  EXPECT_EQ(info.revision, 1);

  WriteBytes(file, Filler(10) + Marker() + "1.100.0.0;flags=0" + '\0');
  EXPECT_EQ(GetFileVersion(info, Wide(file)), 1100);
  EXPECT_EQ(info.text, L"1.100.00.0000");
  EXPECT_FALSE(info.debug);

  WriteBytes(temp.Path() / "ZHVXProConfig.bin", Marker() + "1.2.3.4;flags=0" + '\0');
  EXPECT_EQ(GetFileVersion(info, Wide(temp.Path() / "ZHVXProConfig.bin")), 102);
  EXPECT_EQ(info.text, L"1.02.03.0004");
  EXPECT_EQ(info.title, L"ZHVXProConfig");
}

TEST(FileVersion, AFileWithoutARecordGivesZeroAndLeavesTheRecordAlone)
{
  TempFolder temp;
  const fs::path file = temp.Path() / "plain";
  const std::vector<std::string> withoutRecord = {
      Filler(200000),
      "",
      Marker(),                                        // cut off after the marker
      Marker() + "1.2.3.4;flags=0",                    // no terminating NUL
      Marker() + "1.2.3;flags=0" + '\0',               // three numbers
      Marker() + "1.2.3.4.5;flags=0" + '\0',           // five numbers
      Marker() + "1.2.3.70000;flags=0" + '\0',         // a number above 65535
      Marker() + "1.2.3.4;flag=0" + '\0',              // misspelt flags
      Marker() + "1.2.3.4;flags=" + '\0',              // flags without a value
      Marker() + "1.2.3.4;flags=0x" + '\0',            // trailing text
      Marker().substr(0, 8) + "1.2.3.4;flags=0" + '\0', // marker incomplete
  };
  for (const std::string& content : withoutRecord) {
    WriteBytes(file, content);
    SFileVersionInfo info = Stale();
    EXPECT_EQ(GetFileVersion(info, Wide(file)), 0) << content.size();
    ExpectUnchanged(info);
  }

  SFileVersionInfo info = Stale();
  EXPECT_EQ(GetFileVersion(info, Wide(temp.Path() / "missing")), 0);
  ExpectUnchanged(info);
  EXPECT_EQ(GetFileVersion(info, Wide(temp.Path())), 0);
  ExpectUnchanged(info);
}
