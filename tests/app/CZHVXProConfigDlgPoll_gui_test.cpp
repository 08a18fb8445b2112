// Timer 0 against the simulated chain: the three read-outs, the blinking RESET and DEFAULT
// captions, and what stops the poll.
#include "MainDialogFixture.h"

#include "CLocale.h"

#include <filesystem>
#include <fstream>

namespace {
using Poll = MainDialogTest;
} // namespace

TEST_F(Poll, ReadOutsFollowTheServoAsItMoves)
{
  chain.AddServos(1, 1);
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.motionStatus = kSimHolding; });
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Traffic(), (std::vector<std::string>{"#1QD", "#1Q", "#1QEF", "#1QRF"}));
  EXPECT_EQ(dialog->PositionReadout()->GetText(), L"-  0.00");
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Holding");
  EXPECT_EQ(dialog->StatusReadout()->GetSegmentColour(), 0x969600u);
  EXPECT_EQ(dialog->ErrorReadout()->GetText(), L"No Error");
  EXPECT_EQ(dialog->ErrorReadout()->GetSegmentColour(), 0x00C800u);
  EXPECT_EQ(dialog->LastPositionText(), L"0");

  // 90 degrees at 60 degrees a second: the read-out travels, then holds at the target.
  ASSERT_TRUE(Choose(IDC_ACTION_COMBO, L"D "));
  Type(IDC_ACTION_VALUE, L"9000");
  ASSERT_TRUE(Click(IDC_ACTION_SEND));
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  ASSERT_TRUE(dialog->FireTimer(0));
  const double halfway = _wtof(dialog->LastPositionText());
  EXPECT_GT(halfway, 1000);
  EXPECT_LT(halfway, 9000);
  EXPECT_EQ(dialog->PositionReadout()->GetText().Left(1), L"+");
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Traveling");
  std::this_thread::sleep_for(std::chrono::milliseconds(1300));
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(dialog->PositionReadout()->GetText(), L"+ 90.00");
  EXPECT_EQ(dialog->LastPositionText(), L"9000");
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Holding");

  ASSERT_TRUE(Click(IDC_STOP_LIMP));
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Limp");
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.motionStatus = kSimSafeMode; });
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Safe Mode");
  EXPECT_EQ(dialog->StatusReadout()->GetSegmentColour(), 0x00C8C8u);
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.motionStatus = 6; });
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"");
  EXPECT_EQ(dialog->StatusReadout()->GetSegmentColour(), 0x969600u);
}

TEST_F(Poll, ErrorFlagsAndPendingResetBlinkTheCaptions)
{
  chain.AddServos(1, 1);
  chain.UpdateServo(1, [](SSimulatedServo& s) {
    s.errorFlags = 0x0C00;
    s.resetFlags = 1;
  });
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(dialog->ErrorReadout()->GetText(), L"EEPROM Check Sum - EEPROM Header Data");
  EXPECT_EQ(dialog->ErrorReadout()->GetSegmentColour(), 0x0000C8u);
  EXPECT_EQ(dialog->ErrorReadout()->GetStepPeriod(), 250u) << "longer than the 20 cells";
  EXPECT_TRUE(dialog->IsEepromError());
  EXPECT_EQ(Text(IDC_RESET), L"");
  EXPECT_EQ(Text(IDC_DEFAULT), L"");
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Text(IDC_RESET), L"RESET");
  EXPECT_EQ(Text(IDC_DEFAULT), L"DEFAULT");
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Text(IDC_RESET), L"");

  // Cleared flags bring the captions back and stop the blinking.
  chain.UpdateServo(1, [](SSimulatedServo& s) {
    s.errorFlags = 0x0010;
    s.resetFlags = 0;
  });
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(dialog->ErrorReadout()->GetText(), L"Blocked");
  EXPECT_EQ(dialog->ErrorReadout()->GetStepPeriod(), 0u);
  EXPECT_FALSE(dialog->IsEepromError());
  EXPECT_EQ(Text(IDC_RESET), L"RESET");
  EXPECT_EQ(Text(IDC_DEFAULT), L"DEFAULT");
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Text(IDC_RESET), L"RESET");

  // A flags query that fails leaves the read-out as it was (a silent one drops the servo).
  chain.InjectFault({SSimFault::NoCarriageReturn, "#1QEF"});
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.errorFlags = 0; });
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(dialog->ErrorReadout()->GetText(), L"Blocked");
}

TEST_F(Poll, ServoThatStopsAnsweringIsDroppedButNotOneThatGarblesAReply)
{
  chain.AddServos(2, 1);
  OpenDialog();
  ConnectAndSelect(2);
  // A reply without its "\r", or cut short, fails, but the servo did answer.
  chain.InjectFault({SSimFault::NoCarriageReturn, "#2QD"});
  SSimFault cut{SSimFault::Garbage, "#2Q"};
  cut.bytes = "*2";
  chain.InjectFault(cut);
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Traffic(), (std::vector<std::string>{"#2QD", "#2Q", "#2QEF", "#2QRF"}));
  EXPECT_EQ(dialog->CurrentId(), 2);
  EXPECT_FALSE(ComboText(IDC_ID_COMBO).empty());
  chain.ClearReceived();

  chain.InjectFault({SSimFault::Silence, "#2QD"});
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Traffic(), (std::vector<std::string>{"#2QD"})) << "nothing more in the same tick";
  EXPECT_EQ(dialog->CurrentId(), -1);
  EXPECT_TRUE(ComboText(IDC_ID_COMBO).empty());
  EXPECT_EQ(ComboRows(IDC_ID_COMBO).size(), 3u) << "the list stays for the user to pick again";
  chain.ClearReceived();
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_TRUE(Traffic().empty());
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"2 - "));
  chain.ClearReceived();
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_TRUE(Has(Traffic(), "#2QD"));
}

TEST_F(Poll, NoTimerWorkWhileOneOfTheDialogsPromptsIsOpen)
{
  chain.AddServos(1, 1);
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.errorFlags = 0x0800; });
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(dialog->FireTimer(0));
  ASSERT_TRUE(dialog->IsEepromError());
  ASSERT_TRUE(Click(IDC_TRACE1));
  ASSERT_TRUE(dialog->IsTimerRunning(1));
  chain.ClearReceived();

  bool busySeen = false;
  {
    TickingResponder responder([&] {
      busySeen = dialog->IsBusy();
      for (UINT_PTR timer : {0, 1, 10, 11})
        dialog->OnTimer(timer);
    });
    ASSERT_TRUE(Click(IDC_CLOSE));
  }
  EXPECT_TRUE(busySeen);
  EXPECT_FALSE(dialog->IsEepromError()) << "cleared by every tick, even an idle one";
  EXPECT_TRUE(Traffic().empty());
  EXPECT_TRUE(dialog->IsClosed());
}

TEST_F(Poll, FirmwareUpdateTakesTheStatusReadOut)
{
  chain.SetBootMode(ESimBootMode::WaitingForFirmware);
  std::filesystem::create_directories(std::filesystem::path(app->GetDataFolder().Str()));
  std::ofstream(std::filesystem::path(app->GetDataFolder().Str()) / "latest.hex")
      << ":0400000001020304F2\n:00000001FF\n";
  app->SetFirmwareUpdateStatus(L"STARTED");
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));
  chain.ClearReceived();
  dialog->OnTimer(0);
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Firmware Update");
  EXPECT_EQ(dialog->StatusReadout()->GetStepPeriod(), 250u);
  EXPECT_EQ(dialog->PositionReadout()->GetText(), L"");
  EXPECT_TRUE(Traffic().empty());
}
