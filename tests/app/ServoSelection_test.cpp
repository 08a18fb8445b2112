#include "ServoSelection.h"

#include <gtest/gtest.h>

TEST(ServoSelection, NewBoardNeedsAnAnsweredFactorySerial)
{
  EXPECT_TRUE(IsNewControlBoard(793, false, true, L"HVX2026-0000001"));
  EXPECT_TRUE(IsNewControlBoard(793, false, true, L"123"));
  EXPECT_FALSE(IsNewControlBoard(792, false, true, L"HVX2026-0000001"));
  EXPECT_FALSE(IsNewControlBoard(793, true, true, L"HVX2026-0000001")) << "EEPROM error";
  EXPECT_FALSE(IsNewControlBoard(900, false, true, L"2026120809051204")) << "a real serial";
  // A failed or empty query says nothing: the real serial number must not be overwritten.
  EXPECT_FALSE(IsNewControlBoard(900, false, false, L""));
  EXPECT_FALSE(IsNewControlBoard(900, false, true, L""));
}

TEST(ServoSelection, ModelQuestionForUnsetModels)
{
  EXPECT_TRUE(NeedsModelSelection(793, 3));
  EXPECT_FALSE(NeedsModelSelection(794, 3));
  EXPECT_TRUE(NeedsModelSelection(900, -1));
  EXPECT_FALSE(NeedsModelSelection(700, 0));
}

TEST(ServoSelection, TitleCarriesRevisionBeforeBuild)
{
  EXPECT_EQ(MainWindowTitle(1, 2, 4, 3),
            L"Brantor HVX PRO Config - Version 1 Release 2 Build 4 for Firmware v3 ");
}
