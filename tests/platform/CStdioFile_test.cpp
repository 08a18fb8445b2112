#include "CStdioFile.h"
#include "CStringPrinting.h"
#include "NativePath.h"
#include "TempUserFolders.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(CStdioFile, LinesEndWithCrLfOrLfAndKeepTheirOwnEncoding)
{
  TempFolder folder;
  const auto path = folder.Path() / "lines.txt";
  // A BOM, a UTF-8 line, a Windows-1252 line, an empty line, a lone CR inside a line, no final end.
  WriteBytes(path, "\xEF\xBB\xBF"
                   "first \xC3\xA9\r\nsecond \xE9\n\nthird\rstill\r\nlast");
  CStdioFile file;
  ASSERT_TRUE(file.Open(Wide(path), CFile::modeRead | CStdioFile::typeText));
  CString line;
  CStringA end;
  ASSERT_TRUE(file.ReadString(line, end));
  EXPECT_EQ(line, L"first \u00e9");
  EXPECT_EQ(end, "\r\n");
  ASSERT_TRUE(file.ReadString(line, end));
  EXPECT_EQ(line, L"second \u00e9");
  EXPECT_EQ(end, "\n");
  const ULONGLONG third = file.GetPosition();
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, L"");
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, L"third\rstill");
  ASSERT_TRUE(file.ReadString(line, end));
  EXPECT_EQ(line, L"last");
  EXPECT_EQ(end, "");
  EXPECT_FALSE(file.ReadString(line));

  // Positions are those of the lines, whatever the file read ahead.
  file.Seek(LONGLONG(third), CFile::begin);
  ASSERT_TRUE(file.ReadString(line));
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, L"third\rstill");
  char bytes[4] = {};
  EXPECT_EQ(file.Read(bytes, 4), 4u);
  EXPECT_EQ(std::string(bytes, 4), "last");

  // Opening another file without closing this one drops what was read ahead of the old one.
  ASSERT_TRUE(file.Open(Wide(path), CFile::modeRead));
  ASSERT_TRUE(file.ReadString(line));
  WriteBytes(folder.Path() / "other.txt", "other\n");
  ASSERT_TRUE(file.Open(Wide(folder.Path() / "other.txt"), CFile::modeRead));
  EXPECT_EQ(file.GetPosition(), 0u);
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, L"other");
  EXPECT_FALSE(file.ReadString(line));
}

TEST(CStdioFile, WrittenTextIsUtf8WithCrLfLineEnds)
{
  TempFolder folder;
  const auto path = folder.Path() / "out.txt";
  CStdioFile file;
  ASSERT_TRUE(file.Open(Wide(path), CFile::modeCreate | CFile::modeWrite));
  EXPECT_TRUE(file.WriteString(L"Caf\u00e9\n"));
  EXPECT_TRUE(file.WriteString(L"already\r\n"));
  EXPECT_TRUE(file.WriteString(L"split\r"));
  EXPECT_TRUE(file.WriteString(L"\nend"));
  EXPECT_FALSE(file.WriteString(nullptr));
  file.Close();
  EXPECT_EQ(ReadBytes(path), "Caf\xC3\xA9\r\nalready\r\nsplit\r\nend");

  // A CR that ended the text of a file opened before does not pair with the next file's "\n".
  ASSERT_TRUE(file.Open(Wide(path), CFile::modeCreate | CFile::modeWrite));
  EXPECT_TRUE(file.WriteString(L"cr\r"));
  ASSERT_TRUE(file.Open(Wide(folder.Path() / "next.txt"), CFile::modeCreate | CFile::modeWrite));
  EXPECT_TRUE(file.WriteString(L"\n"));
  file.Close();
  EXPECT_EQ(ReadBytes(folder.Path() / "next.txt"), "\r\n");
}
