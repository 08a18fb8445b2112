#include "CString.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

// The process runs under a locale whose decimal point is a comma, as it does once the GUI
// toolkit has set the user's locale.
class CommaLocale : public ::testing::Test {
protected:
  void SetUp() override
  {
    m_previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "run scripts/setup.sh to generate de_DE.UTF-8";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the test locale must really use a comma";
  }
  void TearDown() override { std::setlocale(LC_ALL, m_previous.c_str()); }

  // What the C locale's printf gives for one conversion.
  static std::wstring CPrintf(const char* format, double v)
  {
    std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "C");
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, v);
    std::setlocale(LC_NUMERIC, saved.c_str());
    return std::wstring(buffer, buffer + std::char_traits<char>::length(buffer));
  }

private:
  std::string m_previous;
};

std::wstring Wide(const char* format)
{
  std::string s(format);
  return std::wstring(s.begin(), s.end());
}

} // namespace

TEST_F(CommaLocale, FloatingConversionsMatchTheCLocaleExactly)
{
  const double values[] = {1e-5,
                           123456789,
                           0.1,
                           -0.0,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN(),
                           0.0,
                           1.0,
                           -2.5,
                           100000,
                           1000000,
                           1.0 / 3.0,
                           123.456,
                           9.9999996,
                           1e300,
                           -1e-300,
                           std::numeric_limits<double>::denorm_min()};
  const char* formats[] = {"%g", "%6.2f", "%f", "%.3f", "%e", "%.10g", "%G", "%10.4g", "%-8.1f|", "%+.2e"};
  for (const char* format : formats)
    for (double v : values) {
      CString s;
      s.Format(Wide(format).c_str(), v);
      EXPECT_EQ(s.Str(), CPrintf(format, v)) << format << " of " << v;
    }
}

TEST_F(CommaLocale, MixedFormatKeepsDotsAndTakesWideAndNarrowText)
{
  CString name = L"Gerät";
  CString s;
  s.Format(L"%s: %d at %6.2f V, %02d:%02d, %g%%", name, 7, 12.345, 5, 3, 0.25);
  EXPECT_EQ(s, L"Gerät: 7 at  12.35 V, 05:03, 0.25%");

  s.Format(L"[%s|%s|%S]", L"wide", "narrow", name.GetString());
  EXPECT_EQ(s, L"[wide|narrow|Gerät]");
  s.Format(L"[%-6s|%6s|%.2s]", L"ab", L"cd", L"xyz");
  EXPECT_EQ(s, L"[ab    |    cd|xy]");
  s.Format(L"%c%c", L'Ж', 'A');
  EXPECT_EQ(s, L"ЖA");

  CStringA a;
  a.Format("%s=%.1f", L"U", 3.25);
  EXPECT_EQ(a, "U=3.2");
  s.AppendFormat(L" +%d", 1);
  EXPECT_EQ(s, L"ЖA +1");
}

TEST(StringFormat, IntegerConversionsFollowTheArgumentSize)
{
  CString s;
  s.Format(L"%d %i %u %x %X %o", -1, 42, 3000000000u, 255, 0xABCDu, 8);
  EXPECT_EQ(s, L"-1 42 3000000000 ff ABCD 10");
  // A negative int printed unsigned shows its 32-bit pattern; a 64-bit one its 64-bit pattern.
  s.Format(L"%x %u %llx", -1, -2, int64_t(-1));
  EXPECT_EQ(s, L"ffffffff 4294967294 ffffffffffffffff");
  s.Format(L"%I64d %lld %hd %02X", int64_t(1) << 40, -5LL, 70000, BYTE(7));
  EXPECT_EQ(s, L"1099511627776 -5 4464 07");
  s.Format(L"%*d|%-*d|%.*f", 4, 7, 3, 1, 2, 3.14159);
  EXPECT_EQ(s, L"   7|1  |3.14");
  s.Format(L"%+d % d %#x %05.1f", 3, 4, 255, -2.25);
  EXPECT_EQ(s, L"+3  4 0xff -02.2");
}

TEST(StringFormat, OddFormatsDoNotBreak)
{
  CString s;
  s.Format(L"%d %d", 1); // missing argument prints as 0
  EXPECT_EQ(s, L"1 0");
  s.Format(L"100%% %y", 5);
  EXPECT_EQ(s, L"100% %y");
  s.Format(L"end%");
  EXPECT_EQ(s, L"end");
  s.Format(L"%s", static_cast<const wchar_t*>(nullptr));
  EXPECT_EQ(s, L"(null)");
  s.Format(L"%600d|", 1); // wider than any fixed buffer
  EXPECT_EQ(s.GetLength(), 601);
  EXPECT_EQ(s.Right(2), L"1|");
  s.Format(L"%.0f", 1e300);
  EXPECT_EQ(s.GetLength(), 301);
  EXPECT_EQ(FormatW(L"%s-%d", std::wstring(L"x"), 2), L"x-2");
  EXPECT_EQ(FormatA("%s-%d", std::string("y"), 3), "y-3");
}
