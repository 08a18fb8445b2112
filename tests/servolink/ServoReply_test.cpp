#include "CStringPrinting.h"
#include "ServoReply.h"

#include <gtest/gtest.h>

TEST(ServoReply, ValueTextIsWhatFollowsTheEcho)
{
  EXPECT_EQ(ServoReplyValueText(L"#5QD", L"*5QD-1234"), L"-1234");
  EXPECT_EQ(ServoReplyValueText(L"#5QRF", L"*5QRF0"), L"0");
  EXPECT_EQ(ServoReplyValueText(L"#5QD", L""), L"");
  // A reply from another servo keeps its echo, so it does not read as a value.
  EXPECT_EQ(ServoReplyValueText(L"#5QD", L"*6QD100"), L"#6QD100");
  EXPECT_EQ(ServoReplyValue(L"#5QD", L"*6QD100"), 0);
  EXPECT_EQ(ServoReplyValue(L"#5QD", L"*5QD-1234"), -1234);
  // The command's own value is not part of the echo: after #5D-1500 the echo is #5D.
  EXPECT_EQ(ServoReplyValue(L"#5D-1500", L"*5D-1500"), -1500);
  EXPECT_EQ(ServoReplyValue(L"#5QBLV3", L"*5QBLV12"), 12);
}
