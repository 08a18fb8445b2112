#include "FileFunctions.h"
#include "TempUserFolders.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
CString CurrentFolderText()
{
  CString cwd = Wide(fs::current_path());
  return cwd == L"/" ? cwd : cwd + L"/";
}

std::vector<CString> Items(const CStringList& list)
{
  std::vector<CString> items;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    items.push_back(list.GetNext(pos));
  return items;
}
} // namespace

TEST(FileFunctions, PathPartsSplitAtTheSeparator)
{
  EXPECT_EQ(GetFileName(L"/data/servo/Gear Lag.csv"), L"Gear Lag.csv");
  EXPECT_EQ(GetFileName(L"/data/servo/"), L"servo");
  EXPECT_EQ(GetFileName(L"/data/servo///"), L"servo");
  EXPECT_EQ(GetFileName(L"latest.hex"), L"latest.hex");
  EXPECT_EQ(GetFileName(L""), L"");
  // A single separator at the start names the root folder; the name is what follows it.
  EXPECT_EQ(GetFileName(L"/latest.hex"), L"latest.hex");

  EXPECT_EQ(GetFileTitle(L"/data/latest.hex"), L"latest");
  EXPECT_EQ(GetFileTitle(L"/data/archive.tar.gz"), L"archive.tar");
  EXPECT_EQ(GetFileTitle(L"/opt/bin/ZHVXProConfig"), L"ZHVXProConfig");
  EXPECT_EQ(GetFileTitle(L"/latest.hex"), L"latest");

  EXPECT_EQ(GetFileExtension(L"/data/latest.hex"), L"hex");
  EXPECT_EQ(GetFileExtension(L"/data/v1.2/latest"), L"");
  EXPECT_EQ(GetFileExtension(L"/data/v1.2/"), L"");
  EXPECT_EQ(GetFileExtension(L"README"), L"");
  EXPECT_EQ(GetFileExtension(L"archive.tar.gz"), L"gz");

  EXPECT_EQ(GetFolder(L"/data/servo/Gear Lag.csv"), L"/data/servo/");
  EXPECT_EQ(GetFolder(L"/data/servo/"), L"/data/servo/");
  EXPECT_EQ(GetFolder(L"/latest.hex"), L"/");
  EXPECT_EQ(GetFolder(L"/"), L"/");
  EXPECT_EQ(GetFolder(L"latest.hex"), CurrentFolderText());
  EXPECT_EQ(GetFolder(L""), CurrentFolderText());
}

TEST(FileFunctions, WildcardsKnowOnlyStarAndQuestionMark)
{
  EXPECT_TRUE(MatchesWildcard(L"Encoder CW Error.csv", L"Encoder*Error.csv"));
  EXPECT_TRUE(MatchesWildcard(L"Encoder Error.csv", L"Encoder*Error.csv"));
  EXPECT_TRUE(MatchesWildcard(L"latest.hex", L"latest.???"));
  EXPECT_FALSE(MatchesWildcard(L"latest.hexx", L"latest.???"));
  EXPECT_TRUE(MatchesWildcard(L"", L"*"));
  EXPECT_TRUE(MatchesWildcard(L"abcabc", L"*abc"));
  EXPECT_TRUE(MatchesWildcard(L"aXbYc", L"a*b*c"));
  EXPECT_FALSE(MatchesWildcard(L"aXbY", L"a*b*c"));
  EXPECT_FALSE(MatchesWildcard(L"Latest.hex", L"latest.hex"));
  EXPECT_TRUE(MatchesWildcard(L"run[1].csv", L"run[1].csv"));
  EXPECT_FALSE(MatchesWildcard(L"run1.csv", L"run[1].csv"));
}

TEST(FileFunctions, CreateFolderPathMakesEveryMissingFolderButNotTheFile)
{
  TempFolder temp;
  const CString root = Wide(temp.Path()) + L"/";

  EXPECT_EQ(CreateFolderPath(root + L"1234/calibration/Encoder Error.csv"), root + L"1234/calibration/");
  EXPECT_TRUE(fs::is_directory(temp.Path() / "1234" / "calibration"));
  EXPECT_FALSE(fs::exists(temp.Path() / "1234" / "calibration" / "Encoder Error.csv"));

  EXPECT_EQ(CreateFolderPath(root + L"deep/er/"), root + L"deep/er/");
  EXPECT_TRUE(fs::is_directory(temp.Path() / "deep" / "er"));

  // An existing folder is returned as it is and left alone.
  WriteBytes(temp.Path() / "1234" / "keep.txt", "x");
  EXPECT_EQ(CreateFolderPath(root + L"1234/other.csv"), root + L"1234/");
  EXPECT_EQ(ReadBytes(temp.Path() / "1234" / "keep.txt"), "x");

  EXPECT_EQ(CreateFolderPath(L"/"), L"/");

  // A file in the way: nothing can be created, the folder text comes back all the same.
  WriteBytes(temp.Path() / "blocker", "");
  EXPECT_EQ(CreateFolderPath(root + L"blocker/sub/file"), root + L"blocker/sub/");
  EXPECT_FALSE(fs::is_directory(temp.Path() / "blocker"));
}

TEST(FileFunctions, FindFilesListsMatchingFilesOfOneFolderInNameOrder)
{
  TempFolder temp;
  const CString root = Wide(temp.Path()) + L"/";
  for (const char* name : {"b.csv", "a2.csv", "a1.csv", "run[1].csv", "notes.txt"})
    WriteBytes(temp.Path() / name, "data");
  fs::create_directory(temp.Path() / "a3.csv");
  fs::create_directory(temp.Path() / "sub");
  WriteBytes(temp.Path() / "sub" / "a4.csv", "data");

  CStringList list;
  list.AddTail(L"stale entry");
  EXPECT_EQ(FindFiles(root + L"a?.csv", &list), 2);
  EXPECT_EQ(Items(list), (std::vector<CString>{root + L"a1.csv", root + L"a2.csv"}));

  EXPECT_EQ(FindFiles(root + L"*.csv", &list), 4);
  EXPECT_EQ(Items(list), (std::vector<CString>{root + L"a1.csv", root + L"a2.csv", root + L"b.csv",
                                               root + L"run[1].csv"}));

  EXPECT_EQ(FindFiles(root + L"run[1].csv", &list), 1);
  EXPECT_EQ(FindFiles(root + L"nothing*", &list), 0);
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(FindFiles(root + L"missing/*", &list), 0);
  EXPECT_EQ(FindFiles(root, &list), 0);
}

TEST(FileFunctions, DeleteFilesCountsWhatItDeleted)
{
  TempFolder temp;
  const CString root = Wide(temp.Path()) + L"/";
  for (const char* name : {"latest.hex", "latest.msi", "Compatibility.csv"})
    WriteBytes(temp.Path() / name, "data");
  fs::create_directory(temp.Path() / "latest.dir");

  EXPECT_EQ(DeleteFiles(root + L"latest.*"), 2);
  EXPECT_FALSE(fs::exists(temp.Path() / "latest.hex"));
  EXPECT_FALSE(fs::exists(temp.Path() / "latest.msi"));
  EXPECT_TRUE(fs::exists(temp.Path() / "Compatibility.csv"));
  EXPECT_TRUE(fs::is_directory(temp.Path() / "latest.dir"));

  EXPECT_EQ(DeleteFiles(root + L"Compatibility.csv"), 1);
  EXPECT_EQ(DeleteFiles(root + L"Compatibility.csv"), 0);
}
