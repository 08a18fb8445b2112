#include "CInvalidArgException.h"
#include "CZTextFile.h"
#include "FrameworkMessageBox.h"
#include "TempUserFolders.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

std::vector<CString> g_messages;
void RecordMessage(const CString& text)
{
  g_messages.push_back(text);
}

class TextFileTest : public testing::Test {
protected:
  CString Path(const char* name = "sections.txt") const { return Wide(m_temp.Path() / name); }
  void Give(const std::string& bytes, const char* name = "sections.txt") const
  {
    WriteBytes(m_temp.Path() / name, bytes);
  }
  std::string Contents(const char* name = "sections.txt") const { return ReadBytes(m_temp.Path() / name); }

  TempFolder m_temp;
};

} // namespace

TEST_F(TextFileTest, SectionsAreSeparatedByTheMarkerLine)
{
  Give("alpha beta\ngamma\n\ndelta epsilon zeta\n");
  CZTextFile file;
  file.SetSections(2, L"\n", L' ');
  ASSERT_TRUE(file.Open(Path(), CFile::modeRead));
  EXPECT_EQ(file.Read(), 0);
  file.Close();

  CZStringGrid* first = file.GetSection(1);
  CZStringGrid* second = file.GetSection(2);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->GetRowCount(), 2);
  EXPECT_EQ(first->GetColumnCount(), 2);
  EXPECT_EQ(first->GetString(2, 1), L"gamma");
  EXPECT_EQ(second->GetRowCount(), 1);
  EXPECT_EQ(second->GetString(1, 3), L"zeta");

  ASSERT_TRUE(file.Open(Path("out.txt"), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.Write(), 0);
  file.Close();
  EXPECT_EQ(Contents("out.txt"), "alpha beta\r\ngamma\r\n\r\ndelta epsilon zeta\r\n");
}

TEST_F(TextFileTest, AMarkerWordEndsASectionInAnyLetterCaseAndIsWrittenAsSet)
{
  Give("a,b\r\nEnd\r\nc,d\r\n");
  CZTextFile file;
  file.SetSections(2, L"END", L',');
  ASSERT_TRUE(file.Open(Path(), CFile::modeRead));
  EXPECT_EQ(file.Read(), 0);
  file.Close();
  EXPECT_EQ(file.GetSection(1)->GetRowCount(), 1);
  EXPECT_EQ(file.GetSection(2)->GetString(1, 2), L"d");

  ASSERT_TRUE(file.Open(Path("out.txt"), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(file.Write(), 0);
  file.Close();
  EXPECT_EQ(Contents("out.txt"), "a,b\r\nEND\r\nc,d\r\n");

  // A row that reads as the marker is quoted, so that it and every row after it come back.
  CZTextFile written;
  written.SetSections(2, L"END", L',');
  written.GetSection(1)->AppendFormat(L"%s", L"a");
  written.GetSection(1)->AppendFormat(L"%s", L"end");
  written.GetSection(2)->AppendFormat(L"%s", L"c");
  written.GetSection(2)->Append(L"d");
  ASSERT_TRUE(written.Open(Path("rows.txt"), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(written.Write(), 0);
  written.Close();
  CZTextFile again;
  again.SetSections(2, L"END", L',');
  ASSERT_TRUE(again.Open(Path("rows.txt"), CFile::modeRead));
  EXPECT_EQ(again.Read(), 0);
  EXPECT_EQ(again.GetSection(1)->GetRowCount(), 2);
  EXPECT_EQ(again.GetSection(1)->GetString(2, 1), L"end");
  EXPECT_EQ(again.GetSection(2)->GetString(1, 2), L"d");
}

TEST_F(TextFileTest, APreSizedSectionAfterTheFirstStartsAfterTheMarkerLine)
{
  Give("a,b\nEND\nc,d\ne,f\n");
  CZTextFile file;
  file.SetSections(2, L"END", L',');
  file.GetSection(2)->SetSize(2, 2, 0, 0, L',', L':');
  ASSERT_TRUE(file.Open(Path(), CFile::modeRead));
  EXPECT_EQ(file.Read(), 0);
  EXPECT_EQ(file.GetSection(1)->GetString(1, 1), L"a");
  EXPECT_EQ(file.GetSection(2)->GetString(1, 1), L"c");
  EXPECT_EQ(file.GetSection(2)->GetString(2, 2), L"f");

  // A pre-sized first section that stops short leaves its further lines to the next section.
  Give("a,b\nx,y\nEND\nc,d\n", "short.txt");
  CZTextFile shorter;
  shorter.SetSections(2, L"END", L',');
  shorter.GetSection(1)->SetSize(1, 2, 0, 0, L',', L':');
  ASSERT_TRUE(shorter.Open(Path("short.txt"), CFile::modeRead));
  EXPECT_EQ(shorter.Read(), 0);
  EXPECT_EQ(shorter.GetSection(1)->GetRowCount(), 1);
  EXPECT_EQ(shorter.GetSection(2)->GetRowCount(), 1);
  EXPECT_EQ(shorter.GetSection(2)->GetString(1, 1), L"x");
}

TEST_F(TextFileTest, SectionIndexesCountFromOne)
{
  FrameworkMessageBoxHandler previous = SetFrameworkMessageBoxHandler(RecordMessage);
  g_messages.clear();
  CZTextFile file;
  EXPECT_NE(file.GetSection(1), nullptr);
  EXPECT_EQ(file.GetSection(2), nullptr);
  EXPECT_EQ(file.GetSection(-1), nullptr);
  EXPECT_TRUE(g_messages.empty());
  EXPECT_EQ(file.GetSection(0), nullptr);
  SetFrameworkMessageBoxHandler(previous);
  EXPECT_EQ(g_messages, std::vector<CString>{L"Internal ZTextFile Error!\n 0-base indexing not supported."});

  file.SetSections(0, L"\n", L' ');
  EXPECT_EQ(file.GetSection(1), nullptr);
}

TEST_F(TextFileTest, ReadAndWriteNeedAnOpenFileWithSections)
{
  CZTextFile file;
  EXPECT_EQ(file.Read(), -1);
  EXPECT_EQ(file.Write(), -1);

  Give("a b\n");
  ASSERT_TRUE(file.Open(Path(), CFile::modeRead));
  EXPECT_EQ(file.Read(), 0);
  EXPECT_EQ(file.Write(), -1); // opened for reading only: the rows cannot be written
  file.SetSections(0, L"\n", L' ');
  EXPECT_EQ(file.Read(), -1);
  EXPECT_EQ(file.Write(), -1);
}

TEST(CZTextFile, SetFilePathNamesTheFileAndRefusesNull)
{
  CZTextFile file;
  file.SetFilePath(L"/tmp/settings.csv");
  EXPECT_EQ(file.GetFilePath(), L"/tmp/settings.csv");
  EXPECT_THROW(file.SetFilePath(nullptr), CInvalidArgException);
  EXPECT_EQ(file.GetFilePath(), L"/tmp/settings.csv");
}
