// The bootloader words, the firmware start and the serial-number write.
#include "LocalTimeAt.h"
#include "ServoWireFixture.h"

namespace {
using BootCommands = ServoWire;
using SerialNumberWrite = ServoWire;
} // namespace

TEST_F(BootCommands, StatusWordsMapToTheBootStates)
{
  ASSERT_TRUE(port.Open(chain.PortName()));
  port.SetTimeouts(20, 20, 100, 0, 0);
  const std::pair<ESimBootMode, int> states[] = {{ESimBootMode::Firmware, 1},
                                                 {ESimBootMode::CommandMode, 2},
                                                 {ESimBootMode::WaitingForFirmware, 3},
                                                 {ESimBootMode::FlashFailed, 3},
                                                 {ESimBootMode::WaitingForConfirm, 4}};
  for (const auto& [mode, state] : states) {
    chain.SetBootMode(mode);
    EXPECT_EQ(port.QueryBootStatus(), state);
  }
  chain.SetStatusAnswer("CMD\r");
  EXPECT_EQ(port.QueryBootStatus(), 0);
  chain.SetStatusAnswer("cmd \r");
  EXPECT_EQ(port.QueryBootStatus(), 0);
  chain.SetStatusAnswer("\rc\rmd\r");
  EXPECT_EQ(port.QueryBootStatus(), 2);
  EXPECT_EQ(port.GetLastReply(), L"cmd");
  EXPECT_EQ(Traffic(8), Lines(8, "STATUS"));
}

TEST_F(BootCommands, LeaveTheLastCommandAndDoNotPurge)
{
  chain.AddServos(1, 5, 5);
  ConnectAndClear();
  port.Send(5, "QD");
  // Bytes already waiting belong to the answer: the bootloader's queue is not purged first.
  chain.SetStatusAnswer("md\r");
  chain.SendRaw("c");
  ASSERT_TRUE(WaitForSerialInput(port.GetHandle(), 2000));
  EXPECT_EQ(port.BootCommand("STATUS"), 0);
  EXPECT_EQ(port.GetLastReply(), L"cmd");
  EXPECT_EQ(port.GetLastCommand(), L"#5QD");

  // Silence is no error here: the answer is empty and the state unknown.
  chain.SetStatusAnswer(std::string());
  EXPECT_EQ(port.BootCommand("STATUS"), 0);
  EXPECT_EQ(port.GetLastReply(), L"");
  EXPECT_EQ(port.QueryBootStatus(), 0);
}

TEST_F(BootCommands, JumpIsNeverAnswered)
{
  EXPECT_EQ(port.BootCommand("jmp"), 0); // even with the port closed

  chain.SetBootMode(ESimBootMode::CommandMode);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 15);
  EXPECT_EQ(port.BootCommand("jmp"), 0);
  EXPECT_EQ(port.GetLastReply(), L"cmd"); // nothing read
  EXPECT_EQ(Traffic(2), Lines({"STATUS", "jmp"}));
  EXPECT_EQ(chain.GetBootMode(), ESimBootMode::Firmware);
}

TEST_F(BootCommands, FailedWriteKeepsTheOldAnswer)
{
  chain.SetBootMode(ESimBootMode::CommandMode);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 15);
  port.Close();
  EXPECT_EQ(port.BootCommand("STATUS"), 6);
  EXPECT_EQ(port.GetStatus(), 6);
  EXPECT_EQ(port.GetLastReply(), L"cmd");
  EXPECT_EQ(port.QueryBootStatus(), 0);
}

TEST_F(BootCommands, StartFirmwareJumpsWaitsReconnectsAndChecks)
{
  SkipWaits();
  chain.AddServos(1, 5, 5);
  chain.SetBootMode(ESimBootMode::CommandMode);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 15);

  EXPECT_EQ(port.StartFirmware(), 0);
  EXPECT_EQ(waits, std::vector<DWORD>({3000}));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_FALSE(port.IsConnected());
  EXPECT_EQ(Traffic(6), Lines({"STATUS", "jmp", "STATUS", "#254QID", "#5QUC", "STATUS"}));
}

TEST_F(BootCommands, StartFirmwareFailsUnlessTheFirmwareReportsIn)
{
  SkipWaits();
  chain.AddServos(1, 5, 5);
  chain.SetBootMode(ESimBootMode::CommandMode);
  chain.SetModeAfterJump(ESimBootMode::FlashFailed);
  ASSERT_EQ(port.Connect(chain.PortNumber()), 15);
  EXPECT_EQ(port.StartFirmware(), 9);
  EXPECT_FALSE(port.IsOpen());

  // No answer at all after the jump.
  chain.SetBootMode(ESimBootMode::Firmware);
  chain.SetStatusAnswer(std::string());
  ASSERT_EQ(port.Connect(chain.PortNumber()), 0);
  EXPECT_EQ(port.StartFirmware(), 9);
  EXPECT_FALSE(port.IsOpen());

  // A port that has gone away: the reconnect fails.
  chain.SetStatusAnswer(std::nullopt);
  chain.HangUp();
  EXPECT_EQ(port.StartFirmware(), 9);
}

TEST_F(SerialNumberWrite, StampsDateAndTimeThenConfirms)
{
  chain.AddServos(1, 5, 5);
  ConnectAndClear();
  SetLocalTimeSource([] { return LocalTimeAt(2026, 12, 8, 23, 59, 59, 997); });
  EXPECT_EQ(port.WriteSerialNumber(5), 0);
  EXPECT_EQ(Traffic(5), Lines({"#5CNH20261208", "#5QCE", "#5CNL23595999", "#5QCE", "#5CONFIRM"}));
  EXPECT_EQ(chain.GetServo(5).serialNumber, "2026120823595999");
  EXPECT_EQ(chain.GetServo(5).confirmations, 1);
}

TEST_F(SerialNumberWrite, LeadingZerosDoNotReachTheWire)
{
  chain.AddServos(1, 5, 5);
  ConnectAndClear();
  SetLocalTimeSource([] { return LocalTimeAt(2026, 1, 2, 9, 5, 12, 40); });
  EXPECT_EQ(port.WriteSerialNumber(5), 0);
  SetLocalTimeSource([] { return LocalTimeAt(2027, 3, 4, 0, 0, 0, 0); });
  EXPECT_EQ(port.WriteSerialNumber(5), 0);
  const Lines lines = Traffic(10);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "#5CNH20260102");
  EXPECT_EQ(lines[2], "#5CNL9051204");
  EXPECT_EQ(lines[5], "#5CNH20270304");
  EXPECT_EQ(lines[7], "#5CNL0");
}

TEST_F(SerialNumberWrite, StopsAtTheFirstCommandError)
{
  chain.AddServos(1, 5, 5);
  ConnectAndClear();
  SetLocalTimeSource([] { return LocalTimeAt(2026, 12, 8, 9, 5, 12, 40); });

  chain.UpdateServo(5, [](SSimulatedServo& s) { s.commandErrorAnswers = {3}; });
  EXPECT_EQ(port.WriteSerialNumber(5), 9);
  EXPECT_EQ(Traffic(2), Lines({"#5CNH20261208", "#5QCE"}));

  chain.ClearReceived();
  chain.UpdateServo(5, [](SSimulatedServo& s) { s.commandErrorAnswers = {1}; });
  EXPECT_EQ(port.WriteSerialNumber(5), 16);
  EXPECT_EQ(port.GetStatus(), 0); // returned, not stored

  chain.ClearReceived();
  chain.UpdateServo(5, [](SSimulatedServo& s) { s.commandErrorAnswers = {0, 2}; });
  EXPECT_EQ(port.WriteSerialNumber(5), 9);
  EXPECT_EQ(Traffic(4), Lines({"#5CNH20261208", "#5QCE", "#5CNL9051204", "#5QCE"}));

  // An error query that fails counts as error 1.
  chain.ClearReceived();
  chain.InjectFault({SSimFault::Silence, "#5QCE"});
  EXPECT_EQ(port.WriteSerialNumber(5), 16);
  EXPECT_EQ(chain.GetServo(5).confirmations, 0);

  // Not connected: the error query is not even sent.
  port.Disconnect();
  EXPECT_EQ(port.WriteSerialNumber(5), 16);
}
