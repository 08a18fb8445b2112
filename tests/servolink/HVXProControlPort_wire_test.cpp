// Command lines and their replies on the wire: what Transact writes, what it reads and the status
// and bookkeeping it leaves behind.
#include "ServoWireFixture.h"

#include <random>
#include <thread>

namespace {
class Transaction : public ServoWire {
protected:
  void SetUp() override
  {
    chain.AddServos(1, 5, 5);
    chain.UpdateServo(5, [](SSimulatedServo& s) { s.position = 1234; });
    ConnectAndClear();
    port.SetCurrentId(5);
  }
  // Answers the line with these bytes instead of the servo's own reply.
  void AnswerWith(const std::string& line, const std::string& bytes)
  {
    chain.SetLineHandler([=](const std::string& received) -> std::optional<std::string> {
      if (received == line)
        return bytes;
      return std::nullopt;
    });
  }
};
} // namespace

TEST_F(Transaction, QueryIsWrittenWithCarriageReturnAndItsReplyKept)
{
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastCommand(), L"#5QD");
  EXPECT_EQ(port.GetLastReply(), L"*5QD1234");
  EXPECT_EQ(port.GetReplyValue(), 1234);
  EXPECT_EQ(port.GetStatus(), 0);
  EXPECT_EQ(port.GetCurrentId(), 5);

  // Lower-case "q" is a query too.
  EXPECT_EQ(port.Transact(L"#5qd"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*5qd1234");

  EXPECT_EQ(port.SendBroadcast("QID"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*5QID5");
  EXPECT_EQ(chain.ReceivedBytes(), "#5QD\r#5qd\r#254QID\r");
}

TEST_F(Transaction, ActionIsWrittenWithItsValueAndNothingIsRead)
{
  // Even an answer to an action is not read: the last reply stays empty.
  AnswerWith("#5D-1500", "*5D-1500\r");
  EXPECT_EQ(port.Send(5, "D", -1500), 0);
  EXPECT_EQ(port.GetLastCommand(), L"#5D-1500");
  EXPECT_EQ(port.GetLastReply(), L"");
  EXPECT_EQ(Traffic(1), Lines({"#5D-1500"}));

  // The answer waiting in the queue is purged before the next line, not taken as its reply.
  ASSERT_TRUE(WaitForSerialInput(port.GetHandle(), 2000));
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*5QD1234");
}

TEST_F(Transaction, LineThatIsNotACommandIsRefusedBeforeAnythingIsWritten)
{
  port.Send(5, "QD");
  EXPECT_EQ(port.Transact(L"5QD"), 3);
  EXPECT_EQ(port.GetStatus(), 3);
  EXPECT_EQ(port.GetLastCommand(), L"5QD");
  EXPECT_EQ(port.GetLastReply(), L"");
  EXPECT_EQ(port.GetCurrentId(), -1);
  EXPECT_EQ(port.Transact(L"status"), 3); // the bootloader word is case-sensitive
  EXPECT_EQ(port.Transact(L""), 3);

  port.Send(5, "QBI");
  EXPECT_EQ(Traffic(2), Lines({"#5QD", "#5QBI"}));
}

TEST_F(Transaction, StatusWordIsWrittenAndAnswered)
{
  EXPECT_EQ(port.Transact(L"STATUS"), 0);
  EXPECT_EQ(port.GetLastReply(), L"frw");
  EXPECT_EQ(chain.ReceivedBytes(), "STATUS\r");
}

TEST_F(Transaction, ReplyFramingIsTakenApart)
{
  AnswerWith("#5QD", "\n*5QD1234\r");
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*5QD1234");

  AnswerWith("#5QD", "\r");
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"");
  EXPECT_EQ(port.GetReplyValue(), 0);

  AnswerWith("#5QD", "*5QD-250\r");
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetReplyValue(), -250);

  // Every byte value comes through as the same code point.
  AnswerWith("#5QMS", "*5QMS\xb0\xe9\xff\r");
  EXPECT_EQ(port.Send(5, "QMS"), 0);
  EXPECT_EQ(port.GetLastReply(), CString(L"*5QMS\u00b0\u00e9\u00ff"));
}

TEST_F(Transaction, SilentServoGivesNoReplyAndClearsTheCurrentId)
{
  chain.InjectFault({SSimFault::Silence, "#5QD"});
  EXPECT_EQ(port.Send(5, "QD"), 6);
  EXPECT_EQ(port.GetStatus(), 6);
  EXPECT_EQ(port.GetLastReply(), L"");
  EXPECT_EQ(port.GetCurrentId(), -1);
  EXPECT_EQ(port.GetReplyValue(), 0);
  EXPECT_FALSE(port.IsLost()) << "a silent servo is no lost port";

  // The next transaction starts afresh.
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*5QD1234");
}

TEST_F(Transaction, ReplyThatDoesNotStartWithinHalfASecondIsGivenUp)
{
  // The device timeouts alone would wait 20 ms x 4096 + 100 ms for a first byte.
  SSimFault late{SSimFault::Delay, "#5QD"};
  late.delayMs = 1500;
  chain.InjectFault(late);
  EXPECT_EQ(port.Send(5, "QD"), 6);
  EXPECT_EQ(port.GetLastReply(), L"");

  // When the late reply does come, the next line purges it rather than take it for its own.
  ASSERT_TRUE(WaitForSerialInput(port.GetHandle(), 5000));
  chain.UpdateServo(5, [](SSimulatedServo& s) { s.position = 77; });
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*5QD77");
}

TEST_F(Transaction, ReplyCutShortFailsWithoutAValueButKeepsWhatArrived)
{
  // The servo did answer: a caller that drops a silent servo must not drop this one.
  chain.InjectFault({SSimFault::NoCarriageReturn, "#5QD"});
  EXPECT_EQ(port.Send(5, "QD"), 6);
  EXPECT_EQ(port.GetLastReply(), L"*5QD1234");
  EXPECT_EQ(port.GetReplyValue(), 0);
  EXPECT_EQ(port.GetCurrentId(), -1);

  // A gap longer than the interval timeout ends the read in the middle of the reply.
  SSimFault gap{SSimFault::Split, "#5QD"};
  gap.splitAt = 6;
  gap.delayMs = 150;
  chain.InjectFault(gap);
  EXPECT_EQ(port.Send(5, "QD"), 6);
  EXPECT_EQ(port.GetLastReply(), L"*5QD12");
  EXPECT_EQ(port.GetReplyValue(), 0) << "not the 12 that came before the gap";
}

TEST_F(Transaction, ShortGapInsideAReplyIsBridged)
{
  SSimFault gap{SSimFault::Split, "#5QD"};
  gap.splitAt = 5;
  gap.delayMs = 3;
  chain.InjectFault(gap);
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*5QD1234");
}

TEST_F(Transaction, ForeignRepliesGiveNoValue)
{
  chain.InjectFault({SSimFault::WrongId, "#5QD"});
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"*6QD1234");
  EXPECT_EQ(port.GetReplyValue(), 0);

  SSimFault garbage{SSimFault::Garbage, "#5QD"};
  garbage.bytes = "\x15?!\r";
  chain.InjectFault(garbage);
  EXPECT_EQ(port.Send(5, "QD"), 0);
  EXPECT_EQ(port.GetLastReply(), L"\x15?!");
  EXPECT_EQ(port.GetReplyValue(), 0);
}

TEST_F(Transaction, HangUpInTheMiddleOfAQueryFailsAtOnce)
{
  SSimFault hangUp{SSimFault::HangUp, "#5QD"};
  hangUp.splitAt = 4;
  chain.InjectFault(hangUp);
  EXPECT_FALSE(port.IsLost());
  EXPECT_EQ(port.Send(5, "QD"), 6);
  EXPECT_EQ(port.GetLastReply(), L"");
  EXPECT_EQ(port.GetCurrentId(), -1);
  EXPECT_TRUE(port.IsLost());

  // Whatever follows fails too, and the port cannot be had again.
  EXPECT_EQ(port.Send(5, "QBI"), 6);
  EXPECT_EQ(port.Send(5, "D", 100), 0); // a line without a reply reports 0 whatever its write did
  EXPECT_EQ(port.Connect(chain.PortNumber()), 7);
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(Transaction, ClosedPortWritesNothing)
{
  port.Disconnect();
  EXPECT_EQ(port.Send(5, "QD"), 6);
  EXPECT_EQ(port.Send(5, "D", 100), 0);
  EXPECT_EQ(port.GetLastCommand(), L"#5D100");
  EXPECT_TRUE(chain.ReceivedBytes().empty());
}

TEST_F(Transaction, ReplyAtTheLengthBoundIsTakenAndOnePastItIsGarbage)
{
  // The servos' longest reply is about 30 bytes; a reply of kMaxReplyBytes still counts.
  const std::string head = "*5QMS";
  const std::string atBound =
      head + std::string(CHVXProControlPort::kMaxReplyBytes - head.size() - 1, 'm') + "\r";
  AnswerWith("#5QMS", atBound);
  EXPECT_EQ(port.Send(5, "QMS"), 0);
  EXPECT_FALSE(port.LastReplyOverran());
  EXPECT_EQ(port.GetLastReply().GetLength(), int(CHVXProControlPort::kMaxReplyBytes) - 1);

  AnswerWith("#5QMS", "m" + atBound);
  EXPECT_EQ(port.Send(5, "QMS"), 6);
  EXPECT_TRUE(port.LastReplyOverran());
  EXPECT_EQ(port.GetLastReply(), L"") << "babble is no reply cut short";
  EXPECT_EQ(port.GetCurrentId(), -1);
}

TEST_F(Transaction, DeviceThatDripsBytesIsCutOffAtTheReplyTimeLimit)
{
  // One byte every 2 ms never leaves the 20 ms gap that ends a read: the device timeouts alone
  // would read on for 20 ms x 4096. The tick count runs 100 ms a look, so the limit of one second
  // is reached after ten looks whatever the machine's speed.
  DWORD tick = 0;
  SetTickCountSource([&tick] { return tick += 100; });
  SSimFault drip{SSimFault::Drip, "#5QD"};
  drip.bytes = std::string(2000, 'x');
  drip.delayMs = 2;
  chain.InjectFault(drip);
  EXPECT_EQ(port.Send(5, "QD"), 6);
  const size_t dripped = chain.DrippedBytes();
  SetTickCountSource({});
  EXPECT_TRUE(port.LastReplyOverran());
  EXPECT_EQ(port.GetLastReply(), L"");
  // About ten chunks of CRS232Port::kReadChunkBytes were read, not the whole drip.
  EXPECT_LT(dripped, 1000u);
}

TEST_F(Transaction, AnyAnswerUpToTheLengthBoundIsReadAndAnyLongerIsRefusedWhole)
{
  std::mt19937 random(39);
  for (int round = 0; round < 40; ++round) {
    const size_t length = 1 + random() % (2 * CHVXProControlPort::kMaxReplyBytes);
    std::string bytes(length, '\0');
    for (char& byte : bytes)
      byte = char(1 + random() % 255); // no zero byte: the reply text ends there
    SSimFault garbage{SSimFault::Garbage, "#5QD"};
    garbage.bytes = bytes;
    chain.InjectFault(garbage);
    port.Send(5, "QD");
    EXPECT_EQ(port.LastReplyOverran(), length > CHVXProControlPort::kMaxReplyBytes) << length;
    EXPECT_LE(size_t(port.GetLastReply().GetLength()), CHVXProControlPort::kMaxReplyBytes) << length;
    if (length > CHVXProControlPort::kMaxReplyBytes) {
      EXPECT_EQ(port.GetStatus(), 6) << length;
    }
  }
}
