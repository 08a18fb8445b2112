#include "ServoReplies.h"

#include <gtest/gtest.h>

TEST(ServoReplies, CommandErrorTexts)
{
  EXPECT_EQ(CommandErrorText(0), L"");
  EXPECT_EQ(CommandErrorMessage(4), L"Command Error: Parameter error! ");
  EXPECT_EQ(CommandErrorMessage(6), L"Command Error: Target is outside the angular limits!");
  EXPECT_EQ(CommandErrorMessage(7), L"Command Error: Unknown!");
  EXPECT_EQ(CommandErrorMessage(-1), L"Command Error: Unknown!");
}

TEST(ServoReplies, BroadcastReplyGivesTheIdsInAnswerOrder)
{
  EXPECT_EQ(ParseIdListReply(L"*1QID1\r*3QID3"), (std::vector<int>{1, 3}));
  EXPECT_EQ(ParseIdListReply(L"*12QID12\r*2QID2\r"), (std::vector<int>{12, 2}));
  EXPECT_TRUE(ParseIdListReply(L"").empty());
  // A "*" with no "QID" after it stops the stripping; the rest is read as it stands.
  EXPECT_EQ(ParseIdListReply(L"*1QID1\r*7"), (std::vector<int>{1, 0}));
  // Each id once, and only those a servo can have.
  EXPECT_EQ(ParseIdListReply(L"*3QID3\r*1QID1\r*3QID3\r*254QID254\r*-1QID-1\r*253QID253\r*9999QID9999\r"),
            (std::vector<int>{3, 1, 253}));
}

TEST(ServoReplies, IdRowsAndTheExactRowOfAnId)
{
  EXPECT_EQ(IdRowText(5, L"HVX-PRO-30", L"1.2.3"), L"5 - HVX-PRO-30 - 1.2.3");
  EXPECT_EQ(IdRowText(5, L"", L""), L"5 -  - ");
  EXPECT_EQ(IdFromRowText(L"5 - HVX-PRO-30 - 1.2.3"), 5);
  EXPECT_EQ(IdFromRowText(kAllServosRow), 254);

  // Sorted as the id list shows them.
  const std::vector<CString> lone2 = {L"2 - A - 1", kAllServosRow};
  EXPECT_EQ(FindIdRow(lone2, 2), 0);
  EXPECT_EQ(FindIdRow(lone2, 254), 1);
  const std::vector<CString> with12 = {L"1 - A - 1", L"12 - B - 1", kAllServosRow};
  EXPECT_EQ(FindIdRow(with12, 1), 0);
  EXPECT_EQ(FindIdRow(with12, 12), 1);
  EXPECT_EQ(FindIdRow(with12, 3), -1);
  EXPECT_EQ(FindIdRow({}, 1), -1);
}
