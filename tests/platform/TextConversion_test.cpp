#include "TextConversion.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

TEST(TextConversion, Utf8RoundTripsEveryPlane)
{
  CString text = L"Temp 23\u00B0C \u20AC \u4E2D \U0001F600 end";
  std::string bytes = ToUtf8(text);
  EXPECT_EQ(bytes, "Temp 23\xC2\xB0"
                   "C \xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x98\x80 end");
  bool valid = false;
  EXPECT_EQ(FromUtf8(bytes, &valid), text);
  EXPECT_TRUE(valid);
  EXPECT_TRUE(IsValidUtf8(bytes));
  EXPECT_EQ(ToUtf8(CString()), "");
  // A code point no encoding can hold is written as U+FFFD rather than as broken bytes.
  CString bad;
  bad += wchar_t(0xD800);
  bad += wchar_t(0x110000);
  EXPECT_EQ(ToUtf8(bad), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextConversion, InvalidUtf8IsRejectedAndBadBytesReadAsWindows1252)
{
  const char* invalid[] = {"\xE4",     "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                           "\xE2\x82", "\xFF"};
  for (const char* bytes : invalid)
    EXPECT_FALSE(IsValidUtf8(bytes)) << bytes;

  bool valid = true;
  EXPECT_EQ(FromUtf8("Ger\xE4t \xE2\x82\xAC", &valid), L"Gerät €");
  EXPECT_FALSE(valid);
  EXPECT_EQ(FromUtf8("\x80", &valid), L"€");
  EXPECT_FALSE(valid);
  // A truncated sequence costs only its own bytes; the text after it is kept.
  EXPECT_EQ(FromUtf8("\xE2\x82x"), L"\u00E2\u201Ax");
}

TEST(TextConversion, Windows1252MapsTheHighControlRange)
{
  EXPECT_EQ(FromWindows1252("\x80\x8A\x91\x92\x99\x9F\xE4\xFF"), L"€Š‘’™Ÿäÿ");
  EXPECT_EQ(ToWindows1252(L"€Š‘’™Ÿäÿ"), "\x80\x8A\x91\x92\x99\x9F\xE4\xFF");
  // Bytes the code page leaves undefined survive a round trip.
  std::string undefined = "\x81\x8D\x8F\x90\x9D";
  EXPECT_EQ(ToWindows1252(FromWindows1252(undefined)), undefined);
  EXPECT_EQ(ToWindows1252(L"\u4E2D\u0080x"), "??x");
  std::string all;
  for (int b = 1; b < 256; ++b)
    all += char(b);
  EXPECT_EQ(ToWindows1252(FromWindows1252(all)), all);
}

TEST(TextConversion, TextLinesAreUtf8OrElseWindows1252)
{
  EXPECT_EQ(DecodeTextLine("\xEF\xBB\xBF"
                           "Ger\xC3\xA4t\r\n"),
            L"Gerät");
  EXPECT_EQ(DecodeTextLine("Ger\xE4t\n"), L"Gerät");
  EXPECT_EQ(DecodeTextLine("\x80 5"), L"€ 5");
  // A line mixing valid UTF-8 and a stray 1252 byte is read entirely as 1252.
  EXPECT_EQ(DecodeTextLine("\xC3\xA4\xE4"), L"Ã¤ä");
  EXPECT_EQ(DecodeTextLine(""), L"");
  EXPECT_EQ(DecodeTextLine("\r\n"), L"");

  std::vector<CString> lines = DecodeTextLines("\xEF\xBB\xBF"
                                               "a\xC3\xA4\r\nb\xE4\n\nlast");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], L"aä");
  EXPECT_EQ(lines[1], L"bä");
  EXPECT_EQ(lines[2], L"");
  EXPECT_EQ(lines[3], L"last");
  EXPECT_EQ(DecodeTextLines("one\r\ntwo\r\n").size(), 2u);
  EXPECT_TRUE(DecodeTextLines("").empty());
}

TEST(TextConversion, Utf16UsesSurrogatePairsAndRepairsLoneHalves)
{
  CString text = L"A\u00E4\U0001F600\U0010FFFF";
  std::u16string units = ToUtf16(text);
  EXPECT_EQ(units, (std::u16string{u'A', 0x00E4, 0xD83D, 0xDE00, 0xDBFF, 0xDFFF}));
  EXPECT_EQ(FromUtf16(units), text);
  EXPECT_EQ(FromUtf16(std::u16string{0xD83D, u'x', 0xDE00}), L"\uFFFDx\uFFFD");
  EXPECT_EQ(FromUtf16(std::u16string{u'a', 0xD800}), L"a\uFFFD");
}
