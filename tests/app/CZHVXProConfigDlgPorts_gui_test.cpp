// The top row of the main dialog against the simulated chain: port list, connect with each of
// its outcomes, the servo id list and the choice of a servo.
#include "MainDialogFixture.h"

#include "CHVXProControlPort.h"

#include <filesystem>
#include <fstream>

namespace {
using Ports = MainDialogTest;

const std::wstring kModelRow = L" - HVX PRO 24 - 1.05.0120";
} // namespace

TEST_F(Ports, ConnectListsTheServosThenAServoIsPickedAndDisconnectResets)
{
  chain.AddServos(3, 2);
  OpenDialog();
  EXPECT_TRUE(ComboText(IDC_PORT_COMBO).empty());
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));

  EXPECT_TRUE(answers.Requests().empty());
  EXPECT_TRUE(dialog->Port().IsConnected());
  EXPECT_EQ(Text(IDC_CONNECT), L"Disconnect");
  EXPECT_FALSE(Enabled(IDC_PORT_COMBO));
  EXPECT_TRUE(Enabled(IDC_ID_COMBO));
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Connected");
  // Sorted as text, as the list sorts its rows.
  EXPECT_EQ(ComboRows(IDC_ID_COMBO), (std::vector<std::wstring>{L"1" + kModelRow, L"2" + kModelRow,
                                                                L"254 - All Servos", L"3" + kModelRow}));
  EXPECT_EQ(dialog->CurrentId(), 2) << "the servo on the USB link";
  EXPECT_TRUE(ComboText(IDC_ID_COMBO).empty()) << "the user picks the servo";
  EXPECT_FALSE(Enabled(IDC_QUERY_COMBO));
  EXPECT_TRUE(dialog->IsTimerRunning(0));
  const auto connect = Traffic();
  EXPECT_TRUE(Has(connect, "#254QID"));
  EXPECT_TRUE(Has(connect, "#3QMS"));
  EXPECT_TRUE(Has(connect, "#3QF3"));

  chain.ClearReceived();
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"3 - "));
  EXPECT_EQ(dialog->CurrentId(), 3);
  EXPECT_EQ(dialog->Port().GetCurrentId(), 3);
  EXPECT_EQ(ComboText(IDC_ID_COMBO), L"3" + kModelRow);
  EXPECT_TRUE(Enabled(IDC_QUERY_COMBO));
  EXPECT_TRUE(Enabled(IDC_FREE_FORMAT_SEND));
  EXPECT_FALSE(Enabled(IDC_FIRMWARE_UPDATE)) << "servo 3 is not the one on the USB link";
  const auto select = Traffic();
  EXPECT_TRUE(Has(select, "#3QN"));
  EXPECT_TRUE(Has(select, "#3QFV"));
  EXPECT_TRUE(Has(select, "#3QMI"));
  EXPECT_TRUE(answers.Requests().empty()) << "a known board with its model set asks nothing";
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"2 - "));
  EXPECT_TRUE(Enabled(IDC_FIRMWARE_UPDATE)) << "the master";

  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_FALSE(dialog->Port().IsConnected());
  EXPECT_FALSE(dialog->Port().IsOpen());
  EXPECT_EQ(Text(IDC_CONNECT), L"Connect");
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Disconnected");
  EXPECT_TRUE(dialog->ErrorReadout()->GetText().IsEmpty());
  EXPECT_TRUE(ComboRows(IDC_ID_COMBO).empty());
  EXPECT_FALSE(dialog->IsTimerRunning(0));
  EXPECT_TRUE(Enabled(IDC_PORT_COMBO));
  EXPECT_FALSE(Enabled(IDC_QUERY_COMBO));
}

TEST_F(Ports, PortHeldByAnotherProgramIsReported)
{
  chain.AddServos(1, 1);
  CHVXProControlPort other;
  ASSERT_EQ(other.Connect(chain.PortNumber()), 0);
  OpenDialog();
  ChoosePort();
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Port not available!\nMake sure it is not already "
                                                       L"connected through another application."}));
  EXPECT_EQ(answers.Requests()[0].type, MB_ICONHAND);
  EXPECT_FALSE(dialog->Port().IsConnected());
  EXPECT_EQ(Text(IDC_CONNECT), L"Connect");
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Disconnected");
  other.Disconnect();
}

TEST_F(Ports, NoDeviceAndNoMasterAreReported)
{
  OpenDialog();
  ChoosePort();
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_CONNECT)) << "nobody answers the broadcast";
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"HVX PRO device not found at this port!"}));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"Device not recognized", L""}));
  EXPECT_FALSE(dialog->Port().IsConnected());
  EXPECT_TRUE(dialog->Port().IsOpen()) << "left open as the port object leaves it";
  EXPECT_FALSE(dialog->IsTimerRunning(0));

  SSimulatedServo servo;
  servo.id = 4;
  chain.AddServo(servo); // not the master
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_CONNECT));
  ASSERT_EQ(answers.Requests().size(), 2u);
  EXPECT_EQ(MessageTexts()[1],
            L"Master id not found!\nTry disconnecting and reconnecting the usb cable and/or "
            L"toggle the power to the connected servo.");
  EXPECT_FALSE(dialog->Port().IsConnected());
  EXPECT_FALSE(dialog->IsTimerRunning(0));
}

TEST_F(Ports, BootloaderInCommandModeIsLeftOnlyWhenTheUserSaysSo)
{
  chain.AddServos(1, 1);
  chain.SetBootMode(ESimBootMode::CommandMode);
  OpenDialog();
  ChoosePort();
  answers.Queue(IDNO);
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"The connected servo is currently in Bootloader "
                                                       L"mode.\nDo you want to exit and connect?"}));
  EXPECT_EQ(answers.Requests()[0].type & MB_TYPEMASK, MB_YESNO);
  RunPosted();
  EXPECT_FALSE(dialog->Port().IsConnected());
  EXPECT_FALSE(Has(Traffic(), "jmp"));

  answers.Queue(IDYES);
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_TRUE(Has(chain.WaitForLines(1), "jmp"));
  EXPECT_FALSE(dialog->Port().IsConnected()) << "connects again through a posted click";
  RunPosted();
  EXPECT_TRUE(dialog->Port().IsConnected());
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Connected");
  EXPECT_EQ(ComboRows(IDC_ID_COMBO), (std::vector<std::wstring>{L"1" + kModelRow, L"254 - All Servos"}));
}

TEST_F(Ports, BootloaderWaitingForFirmwareResumesAnUnfinishedUpdate)
{
  chain.SetBootMode(ESimBootMode::WaitingForFirmware);
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_TRUE(answers.Requests().empty());
  EXPECT_TRUE(dialog->Port().IsConnected());
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Waiting for Firmware");
  EXPECT_EQ(dialog->StatusReadout()->GetStepPeriod(), 250u);
  EXPECT_TRUE(Enabled(IDC_FIRMWARE_UPDATE)) << "the bootloader waits for an image";
  EXPECT_FALSE(Enabled(IDC_ID_COMBO));
  EXPECT_FALSE(dialog->IsTimerRunning(10)) << "no update was under way";

  // The list of a bootloader holds one row, which selects nothing.
  dialog->FillIdCombo();
  EXPECT_EQ(ComboRows(IDC_ID_COMBO), (std::vector<std::wstring>{L"0 - No Firmware"}));
  EXPECT_EQ(dialog->CurrentId(), -1);
  Get<wxComboBox>(IDC_ID_COMBO)->SetSelection(0); // the list is disabled for the user
  dialog->SelectServoId();
  EXPECT_EQ(dialog->CurrentId(), -1);
  chain.ClearReceived();
  dialog->OnTimer(0);
  EXPECT_TRUE(Traffic().empty()) << "no servo behind the row: nothing is polled";
  ASSERT_TRUE(Click(IDC_CONNECT));

  // An update that was cut off goes on from the image it had downloaded.
  std::filesystem::create_directories(std::filesystem::path(app->GetDataFolder().Str()));
  std::ofstream(std::filesystem::path(app->GetDataFolder().Str()) / "latest.hex")
      << ":0400000001020304F2\n:00000001FF\n";
  app->SetFirmwareUpdateStatus(L"ABORTED");
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_TRUE(dialog->IsTimerRunning(10));
  EXPECT_EQ(app->GetFirmwareUpdateStatus(), L"STARTED");
  EXPECT_FALSE(Enabled(IDC_CONNECT)) << "nothing else while the image is written";
  EXPECT_FALSE(Enabled(IDC_TRACE1));
}

TEST_F(Ports, ManualUpdateIsNotResumed)
{
  chain.SetBootMode(ESimBootMode::WaitingForFirmware);
  app->SetFirmwareUpdateStatus(L"STARTED_MANUAL");
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_FALSE(dialog->IsTimerRunning(10));
  EXPECT_FALSE(Enabled(IDC_FIRMWARE_UPDATE)) << "the user picks the file again";
  EXPECT_EQ(app->GetFirmwareUpdateStatus(), L"STARTED_MANUAL");
}

TEST_F(Ports, BroadcastIdTitlesThePlotAndAnUnansweredListHoldsOnlyIt)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"254 - "));
  EXPECT_EQ(dialog->PlotWindow()->GetTitle(), L"Disabled for Id=254");
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  EXPECT_EQ(dialog->PlotWindow()->GetTitle(), L"");

  chain.InjectFault({SSimFault::Silence, "#254QID"});
  dialog->FillIdCombo();
  EXPECT_EQ(ComboRows(IDC_ID_COMBO), (std::vector<std::wstring>{L"254 - All Servos"}));
  EXPECT_EQ(dialog->CurrentId(), -1) << "the selected servo is gone";
  EXPECT_TRUE(ComboText(IDC_ID_COMBO).empty());
}

TEST_F(Ports, NewBoardGetsASerialNumberOnlyWhenItsQueryAnswered)
{
  chain.AddServos(2, 1);
  for (int id : {1, 2})
    chain.UpdateServo(id, [](SSimulatedServo& s) {
      s.replies["QFV"] = "900";
      s.serialNumber = "HVX2026-0000001";
    });
  // The stamp is made from the local time, the hour sent without its leading zero: a time of
  // its own keeps the test the same at any hour.
  SetLocalTimeSource([] { return LocalTimeAt(2026, 12, 8, 13, 45, 12, 340); });
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));
  answers.Queue(IDOK);
  answers.Queue(IDOK);
  chain.ClearReceived();
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"A new HVX PRO control board has been detected.  "
                                                       L"Initialization procedure will begin."}));
  auto traffic = TrafficWith("#1CONFIRM");
  EXPECT_TRUE(Has(traffic, "#1CNH20261208"));
  EXPECT_TRUE(Has(traffic, "#1CNL13451234"));
  EXPECT_TRUE(Has(traffic, "#1CONFIRM"));
  const std::string stamped = chain.GetServo(1).serialNumber;
  EXPECT_EQ(stamped, "2026120813451234");

  // All servos at once are never stamped with one number.
  chain.ClearReceived();
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"254 - "));
  EXPECT_TRUE(Traffic().empty());
  EXPECT_EQ(chain.GetServo(2).serialNumber, "HVX2026-0000001");

  // A serial-number query that fails says nothing about the board: its number stays.
  chain.InjectFault({SSimFault::Silence, "#1QN"});
  chain.ClearReceived();
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"2 - "));
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  traffic = Traffic();
  EXPECT_TRUE(Has(traffic, "#1QN"));
  EXPECT_FALSE(Has(traffic, "#1CONFIRM"));
  EXPECT_EQ(chain.GetServo(1).serialNumber, stamped);
  EXPECT_EQ(answers.Requests().size(), 2u) << "servo 2 was new too";
  EXPECT_EQ(dialog->CurrentId(), 1) << "a failed query does not drop the selection";
}

TEST_F(Ports, ServoWithoutModelIsAskedForIt)
{
  chain.AddServos(1, 1);
  chain.UpdateServo(1, [](SSimulatedServo& s) {
    s.replies["QFV"] = "793";
    s.modelId = 3;
  });
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));

  // Leaving the question sends nothing and the poll goes on.
  answers.Queue(IDCANCEL);
  chain.ClearReceived();
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  ASSERT_EQ(answers.Requests().size(), 1u);
  EXPECT_EQ(answers.Requests()[0].kind, EModalKind::Dialog);
  EXPECT_EQ(answers.Requests()[0].caption, L"Model Selection");
  EXPECT_FALSE(Has(Traffic(), "#1CMI0"));
  EXPECT_TRUE(dialog->IsTimerRunning(0));

  answers.Queue(IDOK);
  chain.ClearReceived();
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"254 - ")) << "all servos at once are not asked";
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  const auto traffic = TrafficWith("#1CONFIRM");
  EXPECT_TRUE(Has(traffic, "#1CMI0"));
  EXPECT_TRUE(Has(traffic, "#1CONFIRM"));
  EXPECT_TRUE(dialog->IsTimerRunning(0));
}

TEST_F(Ports, OpeningThePortListReadsThePortsAgainAndKeepsTheChoice)
{
  OpenDialog();
  PumpEvents(100);
  ChoosePort();
  const std::wstring chosen = ComboText(IDC_PORT_COMBO);
  ASSERT_TRUE(dialog->FindWindow(IDC_START_HERE)->IsShown());

  // A second adapter is plugged in while the dialog is open.
  SimulatedServoChain second(SimulatedServoChain::kDefaultPortNumber + 1);
  EXPECT_FALSE(Choose(IDC_PORT_COMBO, second.PortName().Str() + L" "));
  Get<wxComboBox>(IDC_PORT_COMBO)->Popup();
  PumpEvents(200);
  Get<wxComboBox>(IDC_PORT_COMBO)->Dismiss();
  PumpEvents(100);
  EXPECT_FALSE(dialog->FindWindow(IDC_START_HERE)->IsShown());
  EXPECT_EQ(ComboText(IDC_PORT_COMBO), chosen);
  EXPECT_TRUE(Choose(IDC_PORT_COMBO, second.PortName().Str() + L" "));
  const auto rows = ComboRows(IDC_PORT_COMBO);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(),
                          [](const std::wstring& row) { return row.starts_with(L"COM4"); }),
            2);
}
