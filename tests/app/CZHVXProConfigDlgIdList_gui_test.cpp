// The id list filled from a broadcast reply that the device makes up: what it costs is bounded.
// The reply's ids themselves are tested headless (ServoReplies_test.cpp).
#include "MainDialogFixture.h"

#include <algorithm>

namespace {
using IdList = MainDialogTest;
} // namespace

TEST_F(IdList, EachListedIdIsAskedOnceAndThirdSilentOneEndsTheList)
{
  chain.AddServos(1, 1);
  chain.SetLineHandler([](const std::string& line) -> std::optional<std::string> {
    if (line == "#254QID")
      return std::string("*1QID1\r*2QID2\r*1QID1\r*300QID300\r*3QID3\r*4QID4\r*5QID5\r*6QID6\r");
    return std::nullopt;
  });
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));
  ASSERT_TRUE(dialog->Port().IsConnected());
  chain.Settle();
  std::vector<std::string> asked;
  for (const std::string& line : chain.ReceivedTexts())
    if (line.size() > 3 && line.substr(line.size() - 3) == "QMS")
      asked.push_back(line);
  EXPECT_EQ(asked, (std::vector<std::string>{"#1QMS", "#2QMS", "#3QMS", "#4QMS"}));
}
