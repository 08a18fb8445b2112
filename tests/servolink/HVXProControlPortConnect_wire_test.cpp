// Connecting to a servo chain (bootloader check, id broadcast, master scan) and the typed queries.
#include "ServoWireFixture.h"

namespace {
using Connect = ServoWire;
using TypedQueries = ServoWire;

Lines ScanOf(std::initializer_list<int> ids)
{
  Lines lines{"STATUS", "#254QID"};
  for (int id : ids)
    lines.push_back("#" + std::to_string(id) + "QUC");
  return lines;
}
} // namespace

TEST_F(Connect, FindsTheOnlyServo)
{
  chain.AddServos(1, 5, 5);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 0);
  EXPECT_EQ(port.GetStatus(), 0);
  EXPECT_TRUE(port.IsConnected());
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.GetMasterId(), 5);
  EXPECT_EQ(port.GetComPortNumber(), chain.PortNumber());
  EXPECT_EQ(port.GetCurrentId(), -1); // the caller picks the servo
  EXPECT_EQ(Traffic(3), ScanOf({5}));
}

TEST_F(Connect, ScansTheListedIdsUpToTheMaster)
{
  SSimulatedServo one, three;
  one.id = 1;
  three.id = 3;
  three.master = true;
  chain.AddServo(one);
  chain.AddServo(three);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 0);
  EXPECT_EQ(port.GetMasterId(), 3);
  EXPECT_EQ(Traffic(4), ScanOf({1, 3}));

  chain.ClearReceived();
  chain.UpdateServo(3, [](SSimulatedServo& s) { s.master = false; });
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.master = true; });
  EXPECT_EQ(port.Connect(chain.PortNumber()), 0);
  EXPECT_EQ(port.GetMasterId(), 1);
  EXPECT_EQ(Traffic(3), ScanOf({1}));
}

TEST_F(Connect, ChainsOfThreeAndTwentyServos)
{
  chain.AddServos(3, 2);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 0);
  EXPECT_EQ(port.GetMasterId(), 2);
  EXPECT_EQ(Traffic(4), ScanOf({1, 2}));

  SimulatedServoChain twenty(SimulatedServoChain::kDefaultPortNumber + 1);
  twenty.SetReplyDelay(std::chrono::microseconds(300));
  twenty.AddServos(20, 117, 101);
  CHVXProControlPort other;
  EXPECT_EQ(other.Connect(twenty.PortNumber()), 0);
  EXPECT_EQ(other.GetMasterId(), 117);
  EXPECT_EQ(twenty.WaitForLines(19),
            ScanOf({101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117}));
  other.Disconnect();
}

TEST_F(Connect, NoMasterClosesThePortAfterALastQueryToIdZero)
{
  SSimulatedServo one, three;
  one.id = 1;
  three.id = 3;
  chain.AddServo(one);
  chain.AddServo(three);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 2);
  EXPECT_EQ(port.GetStatus(), 2);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.IsConnected());
  EXPECT_EQ(port.GetMasterId(), -1);
  EXPECT_EQ(Traffic(5), ScanOf({1, 3, 0}));
}

TEST_F(Connect, SecondConnectStartsAgainAndForgetsTheOldMaster)
{
  chain.AddServos(3, 3);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 0);
  ASSERT_EQ(port.GetMasterId(), 3);
  Traffic(5);
  chain.ClearReceived();

  chain.UpdateServo(3, [](SSimulatedServo& s) { s.master = false; });
  EXPECT_EQ(port.Connect(chain.PortNumber()), 2);
  EXPECT_EQ(port.GetMasterId(), -1);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(Traffic(6), ScanOf({1, 2, 3, 0}));
}

TEST_F(Connect, BootloaderInCommandModeStopsAfterTheStatusWord)
{
  chain.AddServos(1, 1);
  chain.SetBootMode(ESimBootMode::CommandMode);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 15);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_FALSE(port.IsConnected());
  EXPECT_EQ(port.GetLastReply(), L"cmd");

  // Carriage returns anywhere in the answer do not matter.
  chain.SetStatusAnswer("c\rmd\r");
  EXPECT_EQ(port.Connect(chain.PortNumber()), 15);
  EXPECT_EQ(Traffic(2), Lines({"STATUS", "STATUS"}));
}

TEST_F(Connect, BootloaderWaitingForFirmwareConnects)
{
  chain.AddServos(1, 1);
  chain.SetBootMode(ESimBootMode::WaitingForFirmware);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 14);
  EXPECT_TRUE(port.IsConnected());
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(port.GetMasterId(), -1);
  EXPECT_EQ(port.GetLastReply(), L"WAITING FOR FIRMWARE.");
  EXPECT_EQ(Traffic(2), Lines({"STATUS", "#254QID"}));
}

TEST_F(Connect, NoServoOrGarbageLeavesThePortOpenButNotConnected)
{
  // Nothing on the bus answers the broadcast.
  EXPECT_EQ(port.Connect(chain.PortNumber()), 1);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_FALSE(port.IsConnected());

  SSimFault garbage{SSimFault::Garbage, "#254QID"};
  garbage.bytes = "\x7f~~QID\r";
  chain.InjectFault(garbage);
  EXPECT_EQ(port.Connect(chain.PortNumber()), 1);
  EXPECT_EQ(Traffic(4), Lines({"STATUS", "#254QID", "STATUS", "#254QID"}));
}

TEST_F(Connect, DeviceBabblingAtTheBroadcastIsNotFoundWithinTheReplyTimeLimit)
{
  // Well-formed replies, but more of them than any chain sends and never a 20 ms gap.
  chain.AddServos(1, 1);
  std::string babble;
  for (int i = 0; babble.size() < 6000; ++i)
    babble += "*" + std::to_string(i % 254) + "QID" + std::to_string(i % 254) + "\r";
  SSimFault drip{SSimFault::Drip, "#254QID"};
  drip.bytes = babble;
  drip.delayMs = 1;
  chain.InjectFault(drip);
  DWORD tick = 0;
  SetTickCountSource([&tick] { return tick += 100; });
  EXPECT_EQ(port.Connect(chain.PortNumber()), 1);
  const size_t dripped = chain.DrippedBytes();
  SetTickCountSource({});
  EXPECT_LT(dripped, babble.size());
  EXPECT_EQ(port.GetLastReply(), L"");
  EXPECT_EQ(chain.ReceivedTexts(), Lines({"STATUS", "#254QID"})) << "no scan of a babbled list";
}

TEST_F(Connect, ScanAsksEachPossibleIdOnceAndEndsAtABabblingOrTheThirdSilentOne)
{
  chain.AddServos(1, 9, 1); // servo 1, no master
  chain.SetLineHandler([](const std::string& line) -> std::optional<std::string> {
    if (line == "#254QID")
      return std::string("*1QID1\r*1QID1\r*300QID300\r*-2QID-2\r*7QID7\r*1QID1\r");
    return std::nullopt;
  });
  EXPECT_EQ(port.Connect(chain.PortNumber()), 2);
  chain.Settle();
  EXPECT_EQ(chain.ReceivedTexts(), ScanOf({1, 7, 0}));

  chain.ClearReceived();
  chain.SetLineHandler([](const std::string& line) -> std::optional<std::string> {
    if (line == "#254QID")
      return std::string("*1QID1\r*7QID7\r");
    if (line == "#1QUC")
      return std::string(CHVXProControlPort::kMaxReplyBytes + 1, '1');
    return std::nullopt;
  });
  EXPECT_EQ(port.Connect(chain.PortNumber()), 2);
  chain.Settle();
  EXPECT_EQ(chain.ReceivedTexts(), ScanOf({1}));

  // Listed ids that stay silent: two are asked past, the third ends the scan.
  chain.ClearReceived();
  chain.SetLineHandler([](const std::string& line) -> std::optional<std::string> {
    if (line == "#254QID")
      return std::string("*2QID2\r*3QID3\r*1QID1\r*4QID4\r*5QID5\r*6QID6\r");
    return std::nullopt;
  });
  EXPECT_EQ(port.Connect(chain.PortNumber()), 2);
  chain.Settle();
  EXPECT_EQ(chain.ReceivedTexts(), ScanOf({2, 3, 1, 4}));
}

TEST_F(Connect, MarkerWithoutQidEndsTheStripping)
{
  chain.AddServos(1, 1);
  chain.SetLineHandler([](const std::string& line) -> std::optional<std::string> {
    if (line == "#254QID")
      return std::string("*1QID1\r*3Q\r");
    return std::nullopt;
  });
  EXPECT_EQ(port.Connect(chain.PortNumber()), 0);
  EXPECT_EQ(port.GetMasterId(), 1);
}

TEST_F(Connect, PortThatCannotBeOpenedGivesSeven)
{
  EXPECT_EQ(port.Connect(chain.PortNumber() + 1), 7);
  EXPECT_EQ(port.GetStatus(), 7);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.GetComPortNumber(), 0);

  // Someone else holding the port is the same to the user.
  CRS232Port holder;
  ASSERT_TRUE(holder.Open(chain.PortName()));
  EXPECT_EQ(port.Connect(chain.PortNumber()), 7);
  holder.Close();
  EXPECT_TRUE(chain.ReceivedBytes().empty());
}

TEST_F(TypedQueries, ReadTheirValuesFromTheReplies)
{
  chain.AddServos(1, 5, 5);
  chain.UpdateServo(5, [](SSimulatedServo& s) {
    s.boardId = 7;
    s.bootloaderVersion = "2.01.0003";
    s.firmwareVersion = "1.05.0120";
    s.commandError = 4;
    s.modelString = "HVX PRO 24 HT";
    s.modelId = 12;
    s.serialNumber = "2026120809051204";
    s.motionStatus = 3;
    s.waitingConfirm = true;
  });
  ConnectAndClear();
  port.SetCurrentId(5);
  EXPECT_EQ(port.QueryBoardId(5), 7);
  EXPECT_EQ(port.QueryBootloaderVersion(5), L"2.01.0003");
  EXPECT_EQ(port.QueryFirmwareVersion(5), L"1.05.0120");
  EXPECT_EQ(port.QueryCommandError(5), 4);
  EXPECT_EQ(port.QueryModelString(5), L"HVX PRO 24 HT");
  EXPECT_EQ(port.QueryModelId(5), 12);
  EXPECT_EQ(port.QuerySerialNumber(5), L"2026120809051204");
  EXPECT_EQ(port.QueryMotionStatus(), 3);
  EXPECT_TRUE(port.QueryWaitingConfirm(5));
  EXPECT_EQ(Traffic(9),
            Lines({"#5QBI", "#5QBLV3", "#5QF3", "#5QCE", "#5QMS", "#5QMI", "#5QN", "#5Q", "#5QWC"}));
}

TEST_F(TypedQueries, GiveTheirDefaultsWhenNotConnected)
{
  chain.AddServos(1, 5, 5);
  chain.UpdateServo(5, [](SSimulatedServo& s) { s.waitingConfirm = true; });
  EXPECT_EQ(port.QueryBoardId(5), 0);
  EXPECT_EQ(port.QueryBootloaderVersion(5), L"");
  EXPECT_EQ(port.QueryFirmwareVersion(5), L"");
  EXPECT_EQ(port.QueryCommandError(5), 1);
  EXPECT_EQ(port.QueryModelString(5), L"");
  EXPECT_EQ(port.QueryModelId(5), 0);
  EXPECT_EQ(port.QuerySerialNumber(5), L"");
  port.SetCurrentId(5);
  EXPECT_EQ(port.QueryMotionStatus(), 0);
  EXPECT_FALSE(port.QueryWaitingConfirm(5)); // sent, but the port is closed

  // Open but not connected (bootloader in command mode): only the confirm query goes out.
  chain.SetBootMode(ESimBootMode::CommandMode);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 15);
  chain.SetBootMode(ESimBootMode::Firmware);
  port.SetCurrentId(5);
  EXPECT_EQ(port.QueryCommandError(5), 1);
  EXPECT_EQ(port.QueryMotionStatus(), 0);
  EXPECT_TRUE(port.QueryWaitingConfirm(5));
  EXPECT_EQ(Traffic(2), Lines({"STATUS", "#5QWC"}));
}

TEST_F(TypedQueries, FailedOrForeignRepliesGiveTheDefaults)
{
  chain.AddServos(1, 5, 5);
  chain.UpdateServo(5, [](SSimulatedServo& s) { s.commandError = 0; });
  ConnectAndClear();

  chain.InjectFault({SSimFault::Silence, "#5QCE"});
  EXPECT_EQ(port.QueryCommandError(5), 1);
  EXPECT_EQ(port.GetStatus(), 6);

  // An answer that does not hold the mnemonic is to something else, not a value.
  chain.SetLineHandler([](const std::string& line) -> std::optional<std::string> {
    if (line == "#5QBI")
      return std::string("*5999\r");
    if (line == "#5QMS")
      return std::string("*5ERR\r");
    if (line == "#5QCE")
      return std::string("*5QD0\r");
    return std::nullopt;
  });
  EXPECT_EQ(port.QueryBoardId(5), 0);
  EXPECT_EQ(port.QueryModelString(5), L"");
  EXPECT_EQ(port.QueryCommandError(5), 1);
  EXPECT_EQ(port.GetStatus(), 0); // the transaction itself went well

  // A cut-short reply is not read either.
  chain.SetLineHandler({});
  chain.InjectFault({SSimFault::NoCarriageReturn, "#5QMI"});
  EXPECT_EQ(port.QueryModelId(5), 0);
}

TEST_F(TypedQueries, MotionStatusNeedsACurrentServo)
{
  chain.AddServos(1, 5, 5);
  chain.UpdateServo(5, [](SSimulatedServo& s) { s.motionStatus = 2; });
  ConnectAndClear();
  EXPECT_EQ(port.QueryMotionStatus(), 0); // current id -1: nothing sent
  port.SetCurrentId(5);
  EXPECT_EQ(port.QueryMotionStatus(), 2);
  chain.InjectFault({SSimFault::Silence, "#5Q"});
  EXPECT_EQ(port.QueryMotionStatus(), 0);
  EXPECT_EQ(port.GetCurrentId(), -1);
  EXPECT_EQ(Traffic(2), Lines({"#5Q", "#5Q"}));
}
