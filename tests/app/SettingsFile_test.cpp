#include "SettingsFile.h"
#include "TempUserFolders.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

STraceActionProfile EveryDefinitionSet()
{
  STraceActionProfile p;
  for (int n = 0; n < kTraceCount; ++n) {
    const std::wstring i = std::to_wstring(n + 1);
    p.traceTitle[n] = (L"Trace, \"no. " + i + L"\"").c_str();
    p.traceCommand[n] = (L"#<ID>QD\r\n#<ID>QT\r\n[" + i + L"*poly3(0,1,2,3)]").c_str();
    p.actionTitle[n] = (L"Action " + i + L" title").c_str();
    p.actionCommand[n] = (L"#<ID>D" + i + L"00\r\nWAIT 100\r\n#<ID>QD").c_str();
  }
  return p;
}

void ExpectSame(const STraceActionProfile& got, const STraceActionProfile& expected)
{
  for (int n = 0; n < kTraceCount; ++n) {
    EXPECT_EQ(got.traceTitle[n], expected.traceTitle[n]) << n;
    EXPECT_EQ(got.traceCommand[n], expected.traceCommand[n]) << n;
    EXPECT_EQ(got.actionTitle[n], expected.actionTitle[n]) << n;
    EXPECT_EQ(got.actionCommand[n], expected.actionCommand[n]) << n;
  }
}

// Files of this process can grow to the given size and no further; a write beyond fails instead
// of ending the process.
class ScopedFileSizeLimit {
public:
  explicit ScopedFileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
  {
    getrlimit(RLIMIT_FSIZE, &m_previous);
    const rlimit limit{bytes, m_previous.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit()
  {
    setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_handler);
  }

private:
  void (*m_handler)(int);
  rlimit m_previous{};
};

class SettingsFileTest : public testing::Test {
protected:
  CString Path(const char* name) const { return Wide(m_temp.Path() / name); }
  TempFolder m_temp;
};

} // namespace

TEST_F(SettingsFileTest, SavedFileLoadsBackEverySixteenDefinitions)
{
  const STraceActionProfile saved = EveryDefinitionSet();
  ASSERT_TRUE(SaveSettingsFile(Path("all.csv"), saved, L"1.02.03.0004"));
  const std::string bytes = ReadBytes(m_temp.Path() / "all.csv");
  EXPECT_EQ(bytes.rfind("HVXProConfig,Version,1.02.03.0004\r\nTrace 1,Title,", 0), 0u);
  EXPECT_NE(
      bytes.find("\r\nTrace 1,Command,\"#<ID>QD|#<ID>QT|[1*poly3(0,1,2,3)]\"\r\nAction 1,Title,Action 1 "),
      std::string::npos);

  STraceActionProfile loaded = DefaultTraceActionProfile();
  EXPECT_EQ(LoadSettingsFile(Path("all.csv"), loaded), ESettingsLoad::Loaded);
  ExpectSame(loaded, saved);

  // With every command empty only the first row is written, and loading it changes nothing.
  ASSERT_TRUE(SaveSettingsFile(Path("all.csv"), STraceActionProfile(), L"1.02.03.0004"));
  EXPECT_EQ(ReadBytes(m_temp.Path() / "all.csv"), "HVXProConfig,Version,1.02.03.0004\r\n");
  EXPECT_EQ(LoadSettingsFile(Path("all.csv"), loaded), ESettingsLoad::Loaded);
  ExpectSame(loaded, saved);
}

TEST_F(SettingsFileTest, FileWrittenWithoutQuotingLoadsExactlyAndMerges)
{
  // As files were written before cells were quoted: titles with a quote at their start and one
  // within, commas and "|" for line breaks; and rows in any order, repeated, or for no entry.
  WriteBytes(m_temp.Path() / "old.csv", "HVXProConfig,Version,1.01.00.0001\r\n"
                                        "Trace 2,Title,\"Fast\r\n"
                                        "Trace 3,Title,\"Fast\" mode\r\n"
                                        "Trace 6,Title,\"a\"\"\r\n"
                                        "Action 1,Title,\"Home\"\r\n"
                                        "Trace 2,Command,#<ID>QD|#<ID>QT|a|b\r\n"
                                        "Action 8,Command,#<ID>H\r\n"
                                        "Action 8,Title,Halt it 5\" now\r\n"
                                        "Trace 5,Title,Move, then hold,\r\n"
                                        "Trace 5,Command,#<ID>QD|[poly3(<QD>,1,2,3)]\r\n"
                                        "Trace 4,Title,first\r\n"
                                        "Trace 4,Title,second\r\n"
                                        "Trace 10,Title,ten\r\n"
                                        "Trace 9,Title,nine\r\n"
                                        "Trace 3,Colour,red\r\n"
                                        "Other 3,Title,other\r\n");
  STraceActionProfile loaded = DefaultTraceActionProfile();
  EXPECT_EQ(LoadSettingsFile(Path("old.csv"), loaded), ESettingsLoad::Loaded);

  STraceActionProfile expected = DefaultTraceActionProfile();
  expected.traceTitle[1] = L"\"Fast";
  expected.traceTitle[2] = L"\"Fast\" mode";
  expected.traceTitle[5] = L"\"a\"\"";
  expected.actionTitle[0] = L"Home"; // one quoted cell: read as our writer quotes
  expected.traceCommand[1] = L"#<ID>QD\r\n#<ID>QT\r\na\r\nb";
  expected.actionCommand[7] = L"#<ID>H";
  expected.actionTitle[7] = L"Halt it 5\" now";
  expected.traceTitle[3] = L"second";
  expected.traceTitle[4] = L"Move, then hold,";
  expected.traceCommand[4] = L"#<ID>QD\r\n[poly3(<QD>,1,2,3)]";
  ExpectSame(loaded, expected);
}

TEST_F(SettingsFileTest, OtherFilesChangeNothing)
{
  STraceActionProfile loaded = DefaultTraceActionProfile();
  WriteBytes(m_temp.Path() / "other.csv", "hvxproconfig,Version,1\r\nTrace 1,Title,x\r\n");
  EXPECT_EQ(LoadSettingsFile(Path("other.csv"), loaded), ESettingsLoad::UnknownFormat);
  EXPECT_EQ(LoadSettingsFile(Path("missing.csv"), loaded), ESettingsLoad::CannotOpen);
  ExpectSame(loaded, DefaultTraceActionProfile());
}

TEST_F(SettingsFileTest, SaveThatFailsWhileWritingKeepsTheFileThatWasThere)
{
  // Room for the old file but not for the new one: written in place, the old one would be lost.
  const std::string old = "HVXProConfig,Version,1\r\nTrace 1,Title,kept\r\n";
  WriteBytes(m_temp.Path() / "s.csv", old);
  {
    ScopedFileSizeLimit limit(old.size() + 10);
    EXPECT_FALSE(SaveSettingsFile(Path("s.csv"), EveryDefinitionSet(), L"1"));
  }
  EXPECT_EQ(ReadBytes(m_temp.Path() / "s.csv"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(m_temp.Path()), fs::directory_iterator()), 1)
      << "nothing left beside it";
}

TEST_F(SettingsFileTest, FailedSaveLeavesNoFileBehind)
{
  EXPECT_FALSE(SaveSettingsFile(Path("no folder/s.csv"), EveryDefinitionSet(), L"1"));
  // A folder of that name cannot be replaced by the file; the new file is removed again.
  fs::create_directory(m_temp.Path() / "taken.csv");
  EXPECT_FALSE(SaveSettingsFile(Path("taken.csv"), EveryDefinitionSet(), L"1"));
  EXPECT_TRUE(fs::is_directory(m_temp.Path() / "taken.csv"));
  EXPECT_EQ(std::distance(fs::directory_iterator(m_temp.Path()), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, FileOverTheLimitIsRefusedUnreadAndOneAtTheLimitLoads)
{
  // A settings file padded with rows for no entry up to exactly the limit still loads.
  std::string text = "HVXProConfig,Version,1\r\nTrace 1,Title,At the limit\r\n";
  const std::string pad = "Note,Title,padding\r\n";
  while (text.size() + pad.size() <= kSettingsFileLimit)
    text += pad;
  text.resize(size_t(kSettingsFileLimit), 'x');
  WriteBytes(m_temp.Path() / "at.csv", text);
  STraceActionProfile loaded = DefaultTraceActionProfile();
  EXPECT_EQ(LoadSettingsFile(Path("at.csv"), loaded), ESettingsLoad::Loaded);
  EXPECT_EQ(loaded.traceTitle[0], L"At the limit");

  // One byte more, or a device that never ends, is refused and changes nothing.
  WriteBytes(m_temp.Path() / "over.csv", text + "\n");
  loaded = DefaultTraceActionProfile();
  EXPECT_EQ(LoadSettingsFile(Path("over.csv"), loaded), ESettingsLoad::TooLarge);
  EXPECT_EQ(LoadSettingsFile(L"/dev/zero", loaded), ESettingsLoad::TooLarge);
  ExpectSame(loaded, DefaultTraceActionProfile());
}

TEST_F(SettingsFileTest, HostileFilesUnderTheLimitLoadOrChangeNothing)
{
  // Unclosed quotes, long lines, rows of many cells and bytes that are not UTF-8, in any mix.
  std::mt19937 random(39);
  const std::vector<std::string> pieces = {"HVXProConfig,Version,1\r\n",
                                           "Trace 1,Title,",
                                           "Action 8,Command,",
                                           "\"",
                                           "\"\"",
                                           ",",
                                           "\r\n",
                                           "\n",
                                           "|",
                                           "\xff\xfe",
                                           "\xc3",
                                           std::string(5000, 'a'),
                                           std::string(3000, ','),
                                           "Trace 9,Title,x\n"};
  for (int round = 0; round < 200; ++round) {
    std::string text = round % 2 ? pieces[0] : std::string();
    const int count = int(random() % 40);
    for (int i = 0; i < count; ++i)
      text += pieces[random() % pieces.size()];
    WriteBytes(m_temp.Path() / "hostile.csv", text);
    STraceActionProfile loaded = DefaultTraceActionProfile();
    const ESettingsLoad result = LoadSettingsFile(Path("hostile.csv"), loaded);
    if (result != ESettingsLoad::Loaded) {
      EXPECT_EQ(result, ESettingsLoad::UnknownFormat) << round;
      ExpectSame(loaded, DefaultTraceActionProfile());
    }
  }
}
