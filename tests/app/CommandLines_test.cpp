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
  for (const wchar_t* bad :
       {L"abc", L"12abc", L"1.5", L"-", L"2147483648", L"99999999999999999999", L"1 2"}) {
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
  // Typed with servo 5 selected.
  CString line = BuildFreeFormatLine(L"DEFAULT", 5);
  EXPECT_EQ(RouteFreeFormatLine(line), EFreeFormatRoute::DefaultButton);
  EXPECT_EQ(AddressedId(line, 5), 5);
  line = BuildFreeFormatLine(L"#7DEFAULT", 5);
  EXPECT_EQ(RouteFreeFormatLine(line), EFreeFormatRoute::DefaultButton);
  EXPECT_EQ(AddressedId(line, 5), 7) << "the id written in the line, not the selected one";
  EXPECT_EQ(RouteFreeFormatLine(L"#12UPDATE"), EFreeFormatRoute::FirmwareUpdateButton);
  EXPECT_EQ(AddressedId(L"#12UPDATE", 5), 12);
  // A line that starts with the word is sent as typed (and refused by the port).
  EXPECT_EQ(RouteFreeFormatLine(L"DEFAULT"), EFreeFormatRoute::Transact);
  EXPECT_EQ(RouteFreeFormatLine(L"#5QD"), EFreeFormatRoute::Transact);
  EXPECT_EQ(RouteFreeFormatLine(L""), EFreeFormatRoute::Transact);
  EXPECT_EQ(AddressedId(L"#DEFAULT", 5), 5) << "no id written: the selected servo";
  EXPECT_EQ(AddressedId(L"QD", 3), 3);
  EXPECT_EQ(AddressedId(L"#0QD", 3), 0);
  EXPECT_EQ(AddressedId(L"#99999999999999QD", 3), 999999999) << "no overflow";
}

TEST(CommandLines, DescriptionOfTheFirstRowWithTheMnemonic)
{
  CCmdInfoList table;
  AddDefaultCommands(table);
  CString description = L"kept";
  EXPECT_TRUE(FindCommandDescription(table, L"QD", description));
  EXPECT_EQ(description, L"Position in 1/100 degrees");
  // The four-character key of a longer configuration mnemonic matches no row.
  description = L"kept";
  EXPECT_FALSE(FindCommandDescription(table, MnemonicFromComboText(L"CMSSN           (A) x"), description));
  EXPECT_FALSE(FindCommandDescription(table, L"qd", description));
  EXPECT_FALSE(FindCommandDescription(table, L"", description));
  EXPECT_EQ(description, L"kept");
}
