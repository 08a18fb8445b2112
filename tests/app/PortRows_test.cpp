#include "PortRows.h"

#include <gtest/gtest.h>

TEST(PortRows, RowTextAndItsNumber)
{
  EXPECT_EQ(PortRowText(7, L""), L"COM7");
  EXPECT_EQ(PortRowText(12, L"USB Serial Device"), L"COM12    - USB Serial Device");
  EXPECT_EQ(PortNumberFromRow(L"COM12    - USB Serial Device"), 12);
  EXPECT_EQ(PortNumberFromRow(L"COM7"), 7);
  EXPECT_EQ(PortNumberFromRow(L"COM999    - x"), 999);
  EXPECT_EQ(PortNumberFromRow(L""), 0);
}
