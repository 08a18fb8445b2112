#include "PortRows.h"

#include <gtest/gtest.h>

TEST(PortRows, OnlyComNamesWithDigitsAreListed)
{
  int n = -1;
  EXPECT_TRUE(ComPortNumberFromName(L"com7", n));
  EXPECT_EQ(n, 7);
  EXPECT_TRUE(ComPortNumberFromName(L"COM123", n));
  EXPECT_EQ(n, 123);
  for (const wchar_t* name : {L"LPT1", L"COM", L"COMX", L"COM1:", L"COM 1", L""})
    EXPECT_FALSE(ComPortNumberFromName(name, n)) << name;
  EXPECT_TRUE(IsNumeric(L"12:30", true));
  EXPECT_FALSE(IsNumeric(L"12:30", false));
  EXPECT_FALSE(IsNumeric(L"", true));
}

TEST(PortRows, RowTextAndItsNumber)
{
  EXPECT_EQ(PortRowText(7, L""), L"COM7");
  EXPECT_EQ(PortRowText(12, L"USB Serial Device"), L"COM12    - USB Serial Device");
  EXPECT_EQ(PortNumberFromRow(L"COM12    - USB Serial Device"), 12);
  EXPECT_EQ(PortNumberFromRow(L"COM7"), 7);
  EXPECT_EQ(PortNumberFromRow(L"COM999    - x"), 999);
  EXPECT_EQ(PortNumberFromRow(L""), 0);
}
