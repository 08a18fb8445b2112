#include "CString.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

#include <clocale>
#include <vector>

namespace {
std::vector<CString> AllTokens(const CString& text, const wchar_t* delimiters, int& lastStart)
{
  std::vector<CString> tokens;
  int pos = 0;
  CString token = text.Tokenize(delimiters, pos);
  while (pos != -1) {
    tokens.push_back(token);
    token = text.Tokenize(delimiters, pos);
  }
  tokens.push_back(token); // what the loop ends on
  lastStart = pos;
  return tokens;
}
} // namespace

TEST(CString, FindGivesMinusOneWhenAbsentOrOutOfRange)
{
  CString s = L"#1QP\r#2QP";
  EXPECT_EQ(s.Find(L'Q'), 2);
  EXPECT_EQ(s.Find(L'Q', 3), 7);
  EXPECT_EQ(s.Find(L"QP", 4), 7);
  EXPECT_EQ(s.Find(L'Z'), -1);
  EXPECT_EQ(s.Find(L"QX"), -1);
  EXPECT_EQ(s.Find(L'#', -1), -1);
  EXPECT_EQ(s.Find(L'#', 100), -1);
  EXPECT_EQ(s.Find(L"", s.GetLength()), s.GetLength());
  EXPECT_EQ(s.Find(L"P", s.GetLength() + 1), -1);
  EXPECT_EQ(s.ReverseFind(L'#'), 5);
  EXPECT_EQ(s.ReverseFind(L'x'), -1);
  EXPECT_EQ(s.FindOneOf(L"\r\n"), 4);
  EXPECT_EQ(s.FindOneOf(L"xyz"), -1);
  EXPECT_EQ(CString().Find(L'a'), -1);
}

TEST(CString, MidLeftRightClampToTheText)
{
  CString s = L"ABCDEF";
  EXPECT_EQ(s.Mid(2), L"CDEF");
  EXPECT_EQ(s.Mid(2, 3), L"CDE");
  EXPECT_EQ(s.Mid(4, 100), L"EF");
  EXPECT_EQ(s.Mid(-3, 2), L"AB");
  EXPECT_EQ(s.Mid(10), L"");
  EXPECT_EQ(s.Mid(1, -1), L"");
  EXPECT_EQ(s.Left(3), L"ABC");
  EXPECT_EQ(s.Left(99), L"ABCDEF");
  EXPECT_EQ(s.Left(-1), L"");
  EXPECT_EQ(s.Right(2), L"EF");
  EXPECT_EQ(s.Right(99), L"ABCDEF");
  EXPECT_EQ(s.Right(-5), L"");
  EXPECT_EQ(s.GetAt(6), L'\0');
  EXPECT_EQ(s.SpanIncluding(L"BA"), L"AB");
  EXPECT_EQ(s.SpanExcluding(L"D"), L"ABC");
}

TEST(CString, TokenizeSkipsEmptyFieldsAndEndsWithOneEmptyTokenAndMinusOne)
{
  int last = 0;
  std::vector<CString> tokens = AllTokens(L",,a,b,,c,", L",", last);
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0], L"a");
  EXPECT_EQ(tokens[1], L"b");
  EXPECT_EQ(tokens[2], L"c");
  EXPECT_EQ(tokens[3], L"");
  EXPECT_EQ(last, -1);

  tokens = AllTokens(L"1 2\t3", L" \t", last);
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[2], L"3");
  EXPECT_EQ(tokens[3], L"");

  tokens = AllTokens(L"", L",", last);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0], L"");
  EXPECT_EQ(last, -1);

  // Once at the end it stays there.
  int pos = -1;
  EXPECT_EQ(CString(L"a,b").Tokenize(L",", pos), L"");
  EXPECT_EQ(pos, -1);
}

TEST(CString, TrimTakesBlanksCharactersAndSets)
{
  CString s = L" \t\r\n value \r\n";
  EXPECT_EQ(s.Trim(), L"value");
  s = L"xxyvaluexy";
  EXPECT_EQ(s.Trim(L"xy"), L"value");
  s = L"--a-b--";
  EXPECT_EQ(s.TrimLeft(L'-'), L"a-b--");
  EXPECT_EQ(s.TrimRight(L'-'), L"a-b");
  s = L"0012.5000";
  EXPECT_EQ(s.TrimRight(L"0"), L"0012.5");
  EXPECT_EQ(s.TrimLeft(L"0"), L"12.5");
  s = L"\r\n";
  EXPECT_EQ(s.Trim(L"\r\n"), L"");
  s = L" keep ";
  EXPECT_EQ(s.Trim(L""), L" keep ");
}

TEST(CString, ReplaceAndRemoveReportHowManyTheyChanged)
{
  CString s = L"a.b.c";
  EXPECT_EQ(s.Replace(L'.', L','), 2);
  EXPECT_EQ(s, L"a,b,c");
  EXPECT_EQ(s.Replace(L",", L", "), 2);
  EXPECT_EQ(s, L"a, b, c");
  EXPECT_EQ(s.Replace(L"xyz", L"?"), 0);
  EXPECT_EQ(s, L"a, b, c");
  EXPECT_EQ(s.Replace(L"", L"?"), 0);
  EXPECT_EQ(s.Replace(L", ", L""), 2);
  EXPECT_EQ(s, L"abc");

  // Replacement text that contains the searched text is not searched again.
  s = L"aaa";
  EXPECT_EQ(s.Replace(L"a", L"aa"), 3);
  EXPECT_EQ(s, L"aaaaaa");
  s = L"aaaa";
  EXPECT_EQ(s.Replace(L"aa", L"b"), 2);
  EXPECT_EQ(s, L"bb");

  s = L"#1 P 1500 \r";
  EXPECT_EQ(s.Remove(L' '), 3);
  EXPECT_EQ(s, L"#1P1500\r");
  EXPECT_EQ(s.Remove(L'x'), 0);
}

TEST(CString, InsertDeleteAndTruncateClamp)
{
  CString s = L"ace";
  EXPECT_EQ(s.Insert(1, L'b'), 4);
  EXPECT_EQ(s.Insert(99, L"fg"), 6);
  EXPECT_EQ(s.Insert(-5, L'_'), 7);
  EXPECT_EQ(s, L"_abcefg");
  EXPECT_EQ(s.Delete(0), 6);
  EXPECT_EQ(s.Delete(4, 99), 4);
  EXPECT_EQ(s.Delete(10, 1), 4);
  EXPECT_EQ(s, L"abce");
  s.Truncate(2);
  EXPECT_EQ(s, L"ab");
  s.Truncate(10);
  EXPECT_EQ(s, L"ab");
}

TEST(CString, NarrowAndWideConvertByteForByte)
{
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    bytes += char(b);
  CStringA narrow(bytes.c_str());
  CString wide(narrow);
  ASSERT_EQ(wide.GetLength(), 255);
  for (int i = 0; i < 255; ++i)
    EXPECT_EQ(unsigned(wide[i]), unsigned(i + 1));
  CStringA back(wide);
  EXPECT_EQ(back.Str(), bytes);

  CStringA lossy(L"a\u20ACb");
  EXPECT_EQ(lossy.Str(), "a?b");
}

TEST(CString, BufferAccessSetsTheLength)
{
  CString s;
  wchar_t* p = s.GetBuffer(8);
  p[0] = L'O';
  p[1] = L'K';
  p[2] = 0;
  s.ReleaseBuffer();
  EXPECT_EQ(s, L"OK");
  p = s.GetBufferSetLength(4);
  p[2] = L'!';
  p[3] = L'?';
  s.ReleaseBuffer(3);
  EXPECT_EQ(s, L"OK!");
}

// Case folding must not change when the GUI toolkit switches the process to the user's locale.
TEST(CString, CaseMappingIsTheSameInEveryLocale)
{
  auto check = [] {
    CString s = L"Größe äöü ÿ Ж";
    CString upper = s;
    upper.MakeUpper();
    EXPECT_EQ(upper, L"GRÖßE ÄÖÜ Ÿ Ж");
    CString lower = upper;
    lower.MakeLower();
    EXPECT_EQ(lower, L"größe äöü ÿ ж");
    EXPECT_EQ(CString(L"ÄRGER").CompareNoCase(L"ärger"), 0);
    EXPECT_LT(CString(L"abc").CompareNoCase(L"ABD"), 0);
    EXPECT_GT(CString(L"abcd").CompareNoCase(L"ABC"), 0);
  };
  check();
  std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "run scripts/setup.sh to generate de_DE.UTF-8";
  check();
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(CString, CompareIsOrdinalAndNullSafe)
{
  CString s = L"abc";
  EXPECT_EQ(s.Compare(L"abc"), 0);
  EXPECT_EQ(s.Compare(L"abd"), -1);
  EXPECT_EQ(s.Compare(L"ab"), 1);
  EXPECT_EQ(CString().Compare(nullptr), 0);
  EXPECT_TRUE(CString(static_cast<const wchar_t*>(nullptr)).IsEmpty());
  EXPECT_TRUE(s == L"abc");
  EXPECT_TRUE(L"abd" != s);
  EXPECT_EQ(L"x" + s + L'y', L"xabcy");
}
