#include "CommandLines.h"

#include <gtest/gtest.h>

TEST(CommandLines, MnemonicsFromComboRows)
{
  EXPECT_EQ(MnemonicFromComboText(L"QD              Position in 1/100 degrees"), L"QD");
  EXPECT_EQ(MnemonicFromComboText(L"QTCW            Motor Controller"), L"QTCW");
  // Only four characters count: a longer configuration mnemonic finds no description.
  EXPECT_EQ(MnemonicFromComboText(L"CMSSN           (A) Clear model string"), L"CMSS");
  EXPECT_EQ(FirstTokenOf(L"D               Position in 1/100 degrees"), L"D");
  EXPECT_EQ(FirstTokenOf(L"RESET           (A) Reset"), L"RESET");
  EXPECT_EQ(FirstTokenOf(L""), L"");
}

TEST(CommandLines, ValuesAreWholeNumbersOrRefused)
{
  int v = 0;
  EXPECT_EQ(ParseCommandValue(L"  1500 ", v), ECommandValue::Number);
  EXPECT_EQ(v, 1500);
  EXPECT_EQ(ParseCommandValue(L"-1500", v), ECommandValue::Number);
  EXPECT_EQ(v, -1500);
  EXPECT_EQ(ParseCommandValue(L"-2147483648", v), ECommandValue::Number);
  EXPECT_EQ(v, INT32_MIN);
  EXPECT_EQ(ParseCommandValue(L"   ", v), ECommandValue::Empty);
  v = 77;
  for (const wchar_t* bad : {L"abc", L"12abc", L"1.5", L"-", L"2147483648", L"99999999999999999999", L"1 2"}) {
    EXPECT_EQ(ParseCommandValue(bad, v), ECommandValue::Invalid) << bad;
    EXPECT_EQ(v, 77) << bad;
  }
  EXPECT_NE(InvalidValueMessage(L" abc ").Find(L"\"abc\""), -1);
}

TEST(CommandLines, FreeFormatLineGetsTheSelectedServo)
{
  EXPECT_EQ(BuildFreeFormatLine(L"QD", 5), L"#5QD");
  EXPECT_EQ(BuildFreeFormatLine(L"  QD  ", 5), L"#5QD");
  EXPECT_EQ(BuildFreeFormatLine(L"#3QD", 5), L"#3QD");
  EXPECT_EQ(BuildFreeFormatLine(L"QD", 0), L"QD");
  EXPECT_EQ(BuildFreeFormatLine(L"QD", -1), L"QD");
}

TEST(CommandLines, FreeFormatDefaultAndUpdateAddressTheIdInTheLine)
{
  SFreeFormatRoute r = RouteFreeFormatLine(BuildFreeFormatLine(L"DEFAULT", 5));
  EXPECT_EQ(r.route, EFreeFormatRoute::DefaultButton);
  EXPECT_EQ(r.id, 5);
  r = RouteFreeFormatLine(BuildFreeFormatLine(L"#7DEFAULT", 5));
  EXPECT_EQ(r.route, EFreeFormatRoute::DefaultButton);
  EXPECT_EQ(r.id, 7);
  r = RouteFreeFormatLine(L"#12UPDATE");
  EXPECT_EQ(r.route, EFreeFormatRoute::FirmwareUpdateButton);
  EXPECT_EQ(r.id, 12);
  EXPECT_EQ(RouteFreeFormatLine(L"DEFAULT").route, EFreeFormatRoute::Transact);
  EXPECT_EQ(RouteFreeFormatLine(L"#5QD").route, EFreeFormatRoute::Transact);
  EXPECT_EQ(RouteFreeFormatLine(L"").route, EFreeFormatRoute::Transact);
  EXPECT_EQ(IdOfCommandLine(L"#DEFAULT"), 0);
}
