#include "CLocale.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

TEST(CLocale, IntegerParsingSkipsBlanksReadsTheLeadingNumberAndSaturates)
{
  EXPECT_EQ(_wtoi(L"  42abc"), 42);
  EXPECT_EQ(_wtoi(L"\t-17 "), -17);
  EXPECT_EQ(_wtoi(L"+5"), 5);
  EXPECT_EQ(_wtoi(L"abc"), 0);
  EXPECT_EQ(_wtoi(L""), 0);
  EXPECT_EQ(_wtoi(nullptr), 0);
  EXPECT_EQ(_wtoi(L"1.9"), 1);
  EXPECT_EQ(_wtoi(L"99999999999"), INT_MAX);
  EXPECT_EQ(_wtoi(L"-99999999999"), INT_MIN);
  EXPECT_EQ(_wtol(L"99999999999"), 2147483647L);
  EXPECT_EQ(_wtoi64(L" 99999999999"), 99999999999LL);
  EXPECT_EQ(_wtoi(L"12\u00B3"), 12);
  EXPECT_EQ(atoi_c("  7x"), 7);
}

// A comma-decimal process locale must not change what a number text means.
TEST(CLocale, FloatingParsingUsesTheDotUnderACommaLocale)
{
  std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "run scripts/setup.sh to generate de_DE.UTF-8";
  EXPECT_DOUBLE_EQ(_wtof(L"  3.25V"), 3.25);
  EXPECT_DOUBLE_EQ(_wtof(L"3,25"), 3.0);
  EXPECT_DOUBLE_EQ(_wtof(L"-1e-3"), -0.001);
  EXPECT_DOUBLE_EQ(_wtof(L"x1"), 0.0);
  EXPECT_DOUBLE_EQ(atof_c("2.5"), 2.5);

  const char* text = "12.5 mm";
  const char* end = nullptr;
  EXPECT_DOUBLE_EQ(strtod_c(text, &end), 12.5);
  EXPECT_EQ(end, text + 4);

  const wchar_t* wide = L"  0.75;next";
  const wchar_t* wend = nullptr;
  EXPECT_DOUBLE_EQ(wcstod_c(wide, &wend), 0.75);
  EXPECT_EQ(wend, wide + 6);
  wide = L"none";
  EXPECT_DOUBLE_EQ(wcstod_c(wide, &wend), 0.0);
  EXPECT_EQ(wend, wide);
  EXPECT_EQ(wcstol_c(L" 1F;", &wend, 16), 31);
  std::setlocale(LC_ALL, previous.c_str());
}
