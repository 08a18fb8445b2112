#include "CZWinAppEx.h"
#include "ScopedEnvironment.h"
#include "TempUserFolders.h"
#include "TestFiles.h"
#include "UserFolders.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <wx/log.h>

namespace fs = std::filesystem;

namespace {

// Sets or clears an environment variable for one test and puts it back afterwards.
fs::path ProfileFile(const TempUserFolders& folders)
{
  return folders.ConfigHome() / "Zorvane" / "toolkit_unit_tests.ini";
}

} // namespace

TEST(CZWinAppEx, FoldersFollowTheUserDataHomeAndTheProgramName)
{
  TempUserFolders folders;
  CZWinAppEx app;
  const CString zorvane = Wide(folders.DataHome()) + L"/Zorvane/";
  EXPECT_EQ(app.GetDataFolder(), zorvane);
  EXPECT_EQ(app.GetExeFolder(), L"");
  EXPECT_EQ(app.GetExeName(), L"toolkit_unit_tests");

  EXPECT_EQ(app.InitInstance(), TRUE);
  EXPECT_EQ(app.GetDataFolder(), zorvane + L"toolkit_unit_tests/");
  EXPECT_TRUE(fs::is_directory(folders.DataHome() / "Zorvane" / "toolkit_unit_tests"));

  const CString program = GetRunningProgramPath();
  EXPECT_EQ(app.GetExePath(), program);
  EXPECT_TRUE(fs::is_regular_file(ToUtf8(program)));
  EXPECT_EQ(app.GetExeFolder() + app.GetExeName(), program);
  EXPECT_EQ(app.GetAppBase(), static_cast<CZWinAppBase*>(&app));

  // An existing data folder is used as it is.
  WriteBytes(folders.DataHome() / "Zorvane" / "toolkit_unit_tests" / "latest.hex", "keep");
  CZWinAppEx again;
  EXPECT_EQ(again.InitInstance(), TRUE);
  EXPECT_EQ(ReadBytes(folders.DataHome() / "Zorvane" / "toolkit_unit_tests" / "latest.hex"), "keep");
}

TEST(CZWinAppEx, UnsetOrRelativeFolderVariablesFallBackToTheHomeFolder)
{
  TempUserFolders folders;
  ScopedEnvironment home("HOME", folders.Root().c_str());
  {
    ScopedEnvironment data("XDG_DATA_HOME", nullptr);
    ScopedEnvironment config("XDG_CONFIG_HOME", "relative/config");
    CZWinAppEx app;
    EXPECT_EQ(app.GetDataFolder(), Wide(folders.Root()) + L"/.local/share/Zorvane/");
    EXPECT_EQ(app.InitInstance(), TRUE);
    EXPECT_TRUE(app.WriteProfileString(L"Firmware Update", L"Status", L"STARTED"));
    EXPECT_TRUE(fs::exists(folders.Root() / ".config" / "Zorvane" / "toolkit_unit_tests.ini"));
  }
  ScopedEnvironment data("XDG_DATA_HOME", "");
  EXPECT_EQ(GetUserDataHome(), Wide(folders.Root()) + L"/.local/share");
}

TEST(CZWinAppEx, ProfileValuesReachTheFileAtOnceAndComeBackAsWritten)
{
  TempUserFolders folders;
  const CString script =
      L"#1QD\r\n#1QP\r\n  indented \"quoted\" \\back\\slash $HOME ${PATH} %APPDATA% \u00e9\u20ac";
  {
    CZWinAppEx app;
    app.InitInstance();
    EXPECT_TRUE(app.WriteProfileString(L"Trace 1", L"Command", script));
    EXPECT_TRUE(app.WriteProfileString(L"Trace 1", L"Title", L" Position "));
    EXPECT_TRUE(app.WriteProfileInt(L"Ports", L"Count", -42));
    // Written before the object goes: a crash now would lose nothing.
    EXPECT_TRUE(fs::exists(ProfileFile(folders)));
    EXPECT_NE(ReadBytes(ProfileFile(folders)).find("Ports"), std::string::npos);
  }
  CZWinAppEx app;
  app.InitInstance();
  EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Command", L""), script);
  EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Title"), L" Position ");
  EXPECT_EQ(app.GetProfileString(L"trace 1", L"title"), L" Position ");
  EXPECT_EQ(int(app.GetProfileInt(L"Ports", L"Count", 7)), -42);

  // Texts that a settings file gives meaning to: quotes, comment and assignment characters,
  // brackets, tabs, a trailing backslash, and such characters in section and entry names.
  const std::vector<CString> awkward = {L"\"QD\"",  L"\"", L"a\\", L"#1QD ; comment", L"x=y", L"[Trace 1]",
                                        L"\tTab\t", L"",   L"  "};
  for (size_t i = 0; i < awkward.size(); ++i) {
    CString entry;
    entry.Format(L"Entry %d = [x] #;", int(i));
    EXPECT_TRUE(app.WriteProfileString(L"Awkward [1] = #;", entry, awkward[i]));
  }
  CZWinAppEx awkwardReader;
  awkwardReader.InitInstance();
  for (size_t i = 0; i < awkward.size(); ++i) {
    CString entry;
    entry.Format(L"Entry %d = [x] #;", int(i));
    EXPECT_EQ(awkwardReader.GetProfileString(L"Awkward [1] = #;", entry, L"missing"), awkward[i]) << i;
  }

  EXPECT_EQ(app.GetProfileString(L"Trace 2", L"Command", L"QD"), L"QD");
  EXPECT_EQ(app.GetProfileString(L"Trace 2", L"Command"), L"");
  EXPECT_EQ(app.GetProfileInt(L"Ports", L"Missing", 7), 7u);
  EXPECT_EQ(app.GetProfileInt(L"Trace 1", L"Title", 7), 7u);

  // A null value deletes the entry, a null entry the whole section.
  EXPECT_TRUE(app.WriteProfileString(L"Trace 1", L"Title", nullptr));
  EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Title", L"gone"), L"gone");
  EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Command"), script);
  EXPECT_TRUE(app.WriteProfileString(L"Trace 1", nullptr, nullptr));
  EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Command", L"gone"), L"gone");
  CZWinAppEx reread;
  reread.InitInstance();
  EXPECT_EQ(reread.GetProfileString(L"Trace 1", L"Command", L"gone"), L"gone");
  EXPECT_EQ(int(reread.GetProfileInt(L"Ports", L"Count", 7)), -42);
}

TEST(CZWinAppEx, ProfileNamesThatWouldPointElsewhereAreRefused)
{
  TempUserFolders folders;
  CZWinAppEx app;
  app.InitInstance();
  EXPECT_FALSE(app.WriteProfileString(L"Trace/1", L"Title", L"x"));
  EXPECT_FALSE(app.WriteProfileString(L"Trace 1", L"../Title", L"x"));
  EXPECT_FALSE(app.WriteProfileString(L"..", L"Title", L"x"));
  EXPECT_FALSE(app.WriteProfileString(L"", L"Title", L"x"));
  EXPECT_FALSE(app.WriteProfileString(L"Trace 1", L"", L"x"));
  EXPECT_FALSE(app.WriteProfileString(nullptr, L"Title", L"x"));
  EXPECT_EQ(app.GetProfileString(L"Trace/1", L"Title", L"default"), L"default");
  EXPECT_EQ(app.GetProfileString(nullptr, nullptr, L"default"), L"default");
}

TEST(CZWinAppEx, WithoutAProfileOrAWritableFolderNothingIsStoredAndNoWindowIsNeeded)
{
  TempUserFolders folders;
  {
    CZWinAppEx app; // no InitInstance: no profile yet
    EXPECT_FALSE(app.WriteProfileString(L"Trace 1", L"Title", L"x"));
    EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Title", L"default"), L"default");
    EXPECT_EQ(app.GetProfileInt(L"Trace 1", L"Count", 3), 3u);
  }

  // Both per-user folders lie under a plain file: the folders cannot be made, the profile cannot be
  // written, and start-up still succeeds. The complaint goes to the error stream.
  WriteBytes(folders.Root() / "blocker", "");
  ScopedEnvironment data("XDG_DATA_HOME", (folders.Root() / "blocker" / "data").c_str());
  ScopedEnvironment config("XDG_CONFIG_HOME", (folders.Root() / "blocker" / "config").c_str());
  wxLog* before = wxLog::GetActiveTarget();
  testing::internal::CaptureStderr();
  CZWinAppEx app;
  EXPECT_EQ(app.InitInstance(), TRUE);
  EXPECT_FALSE(app.WriteProfileString(L"Firmware Update", L"Status", L"STARTED"));
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(errors.empty());
  EXPECT_EQ(wxLog::GetActiveTarget(), before);
  EXPECT_FALSE(fs::exists(folders.Root() / "blocker" / "data"));
}

TEST(CZWinAppEx, AProfileFarLargerThanAnyWrittenIsLeftUnreadAndUntouched)
{
  TempUserFolders folders;
  fs::create_directories(ProfileFile(folders).parent_path());
  std::string text = "[Trace 1]\nTitle=At the limit\n";
  text.resize(size_t(CZProfileStore::kProfileLimit), '\n');
  WriteBytes(ProfileFile(folders), text);
  {
    CZWinAppEx app;
    app.InitInstance();
    EXPECT_FALSE(app.GetProfile()->IsFileRefused());
    EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Title"), L"At the limit");
  }

  text += "\n";
  WriteBytes(ProfileFile(folders), text);
  testing::internal::CaptureStderr();
  {
    CZWinAppEx app;
    app.InitInstance();
    EXPECT_TRUE(app.GetProfile()->IsFileRefused());
    EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Title", L"default"), L"default");
    EXPECT_FALSE(app.WriteProfileString(L"Trace 1", L"Title", L"new")) << "not stored in the file";
    EXPECT_EQ(app.GetProfileString(L"Trace 1", L"Title"), L"new") << "kept for the session";
    EXPECT_FALSE(app.WriteProfileString(L"Trace 2", nullptr, nullptr));
  }
  const std::string said = testing::internal::GetCapturedStderr();
  size_t lines = 0;
  for (size_t at = said.find("left unread"); at != std::string::npos; at = said.find("left unread", at + 1))
    ++lines;
  EXPECT_EQ(lines, 1u) << said;
  EXPECT_EQ(ReadBytes(ProfileFile(folders)), text) << "neither rewritten nor cut at the end";
}
