// The main dialog itself: its controls, the profile it reads and writes, keys and closing.
#include "MainDialogFixture.h"
#include "MainDialogLayout.h"

#include <wx/listbox.h>

namespace {
using MainDialog = MainDialogTest;

bool Overlap(const wxRect& a, const wxRect& b)
{
  return a.Intersects(b);
}
} // namespace

TEST_F(MainDialog, EveryControlOfTheTemplateIsVisibleInsideTheWindow)
{
  OpenDialog();
  PumpEvents(200);
  const wxRect client(wxPoint(0, 0), dialog->GetClientSize());
  std::vector<std::pair<int, wxRect>> placed;
  for (const SDialogControl& control : MainDialogControls()) {
    if (control.id == wxID_ANY)
      continue;
    wxWindow* window = dialog->FindWindow(control.id);
    ASSERT_NE(window, nullptr) << control.id;
    if (control.id == IDC_PROGRESS) {
      EXPECT_FALSE(window->IsShown()) << "the progress bar waits for a firmware transfer";
      continue;
    }
    EXPECT_TRUE(window->IsShown()) << control.id;
    const wxRect r = window->GetRect();
    EXPECT_TRUE(client.Contains(r)) << control.id << " at " << r.x << "," << r.y << " " << r.width << "x"
                                    << r.height;
    EXPECT_GE(r.width, 8) << control.id;
    EXPECT_GE(r.height, 8) << control.id;
    if (control.kind != EDialogControlKind::GroupBox)
      placed.emplace_back(control.id, r);
  }
  for (size_t i = 0; i < placed.size(); ++i)
    for (size_t j = i + 1; j < placed.size(); ++j)
      EXPECT_FALSE(Overlap(placed[i].second, placed[j].second))
          << placed[i].first << " overlaps " << placed[j].first;

  // The captions come from the profile's defaults and the template.
  EXPECT_EQ(Text(IDC_TRACE1), L"Position");
  EXPECT_EQ(Text(IDC_TRACE3), L"Temperature");
  EXPECT_EQ(Text(IDC_TRACE8), L"Trace 8");
  EXPECT_EQ(Text(IDC_ACTION1), L"Move to Origin");
  EXPECT_EQ(Text(IDC_ACTION1 + 5), L"Halt");
  EXPECT_EQ(Text(IDC_STOP_LIMP), L"STOP && LIMP");
  EXPECT_EQ(dialog->StatusReadout()->GetText(), L"Disconnected");
  EXPECT_TRUE(dialog->GetTitle().StartsWith(L"Brantor HVX PRO Config - Version "));
  EXPECT_TRUE(dialog->GetTitle().EndsWith(L" "));
  // The command table spread over the three combos.
  EXPECT_GT(Get<wxComboBox>(IDC_QUERY_COMBO)->GetCount(), 30u);
  EXPECT_GT(Get<wxComboBox>(IDC_ACTION_COMBO)->GetCount(), 10u);
  EXPECT_GT(Get<wxComboBox>(IDC_CONFIG_COMBO)->GetCount(), 10u);
  // Without the on-line table Help shows its off-line picture and Firmware Update none.
  EXPECT_TRUE(Get<wxAnyButton>(IDC_HELP_BUTTON)->GetBitmap().IsOk());
  EXPECT_FALSE(Get<wxAnyButton>(IDC_FIRMWARE_UPDATE)->GetBitmap().IsOk());
  EXPECT_TRUE(Get<wxAnyButton>(IDC_TRACE1)->GetBitmap().IsOk());
  EXPECT_TRUE(Get<wxAnyButton>(IDC_PAUSE)->GetBitmap().IsOk());
  EXPECT_FALSE(SaveSnapshot(dialog.get(), "MainDialog_disconnected").empty());
}

TEST_F(MainDialog, DisconnectedOnlyThePortAndConnectAreOffered)
{
  OpenDialog();
  EXPECT_TRUE(Enabled(IDC_PORT_COMBO));
  EXPECT_FALSE(Enabled(IDC_CONNECT)) << "no port chosen";
  EXPECT_FALSE(Enabled(IDC_ID_COMBO));
  for (int id :
       {IDC_QUERY_COMBO, IDC_QUERY_SEND, IDC_ACTION_SEND, IDC_CONFIG_SEND, IDC_RESET, IDC_DEFAULT,
        IDC_STOP_LIMP, IDC_STOP_HOLD, IDC_FREE_FORMAT_SEND, IDC_FIRMWARE_UPDATE, IDC_RESTART, IDC_PAUSE})
    EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_TRUE(Enabled(IDC_TRACE1));
  EXPECT_TRUE(Enabled(IDC_ACTION1));
  EXPECT_TRUE(Enabled(IDC_CLOSE));
  ChoosePort();
  EXPECT_TRUE(Enabled(IDC_CONNECT));
  EXPECT_EQ(Text(IDC_CONNECT), L"Connect");
}

TEST_F(MainDialog, ConnectedWindowSnapshot)
{
  chain.AddServos(3, 1);
  chain.UpdateServo(1, [](SSimulatedServo& s) {
    s.position = -1234;
    s.motionStatus = 5;
  });
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Choose(IDC_QUERY_COMBO, L"QD "));
  ASSERT_TRUE(Click(IDC_QUERY_SEND));
  ASSERT_TRUE(dialog->FireTimer(0));
  PumpEvents(300);
  EXPECT_FALSE(SaveSnapshot(dialog.get(), "MainDialog_connected").empty());
}

TEST_F(MainDialog, ProfileStringsSurviveCloseAndRestart)
{
  // A fresh profile gives the defaults, and close writes all 32 back.
  OpenDialog();
  EXPECT_EQ(dialog->Profile().actionCommand[2], L"#<ID>CO[<POS>+<OFFSET>]");
  ASSERT_TRUE(Click(IDC_CLOSE));
  EXPECT_TRUE(dialog->IsClosed());
  EXPECT_EQ(app->GetProfileString(L"Trace 2", L"Command"), L"#<ID>QCS");
  EXPECT_EQ(app->GetProfileString(L"Action 6", L"Title"), L"Halt");

  // Values of an earlier run, an emptied one and a two-line script among them, come back as they
  // were, through a close and a new start.
  app->WriteProfileString(L"Trace 1", L"Title", L"Angle");
  app->WriteProfileString(L"Trace 4", L"Title", L"");
  app->WriteProfileString(L"Action 8", L"Command", L"#<ID>D1000\r\n#<ID>QD");
  RestartProgram();
  OpenDialog();
  EXPECT_EQ(Text(IDC_TRACE1), L"Angle");
  EXPECT_EQ(dialog->Profile().traceTitle[3], L"") << "an empty value is not replaced by the default";
  EXPECT_EQ(dialog->Profile().actionCommand[7], L"#<ID>D1000\r\n#<ID>QD");
  ASSERT_TRUE(Click(IDC_CLOSE));
  RestartProgram();
  EXPECT_EQ(app->GetProfileString(L"Trace 1", L"Title"), L"Angle");
  EXPECT_EQ(app->GetProfileString(L"Trace 4", L"Title", L"x"), L"");
  EXPECT_EQ(app->GetProfileString(L"Action 8", L"Command"), L"#<ID>D1000\r\n#<ID>QD");
  EXPECT_EQ(app->GetProfileString(L"Action 1", L"Command"), L"#<ID>D0");
}

TEST_F(MainDialog, ClosingWhileConnectedAsksAndCancelKeepsEverythingRunning)
{
  chain.AddServos(2, 1);
  OpenDialog();
  ConnectAndSelect(2);
  app->SetFirmwareUpdateStatus(L"STARTED");

  answers.Queue(IDCANCEL);
  ASSERT_TRUE(Click(IDC_CLOSE));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Disconnect and close HVX Pro Config?"}));
  EXPECT_EQ(answers.Requests().back().type & MB_TYPEMASK, MB_OKCANCEL);
  EXPECT_FALSE(dialog->IsClosed());
  EXPECT_FALSE(dialog->IsBusy());
  EXPECT_TRUE(dialog->Port().IsConnected());
  EXPECT_TRUE(dialog->IsTimerRunning(0));
  EXPECT_EQ(app->GetFirmwareUpdateStatus(), L"STARTED") << "nothing of the close ran";
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_TRUE(Has(Traffic(), "#2QD")) << "the poll goes on";

  // Esc and the window's close box take the same road; OK closes.
  answers.Queue(IDOK);
  Key(WXK_ESCAPE);
  EXPECT_TRUE(dialog->IsClosed());
  EXPECT_FALSE(dialog->Port().IsConnected());
  EXPECT_FALSE(dialog->IsTimerRunning(0));
  EXPECT_EQ(app->GetFirmwareUpdateStatus(), L"ABORTED") << "an update that did not finish";
  EXPECT_EQ(app->GetProfileString(L"Trace 1", L"Title"), L"Position");
}

TEST_F(MainDialog, ClosingWhileDisconnectedAsksNothing)
{
  app->SetFirmwareUpdateStatus(L"COMPLETED");
  OpenDialog();
  ASSERT_TRUE(Click(IDC_CLOSE));
  EXPECT_TRUE(answers.Requests().empty());
  EXPECT_TRUE(dialog->IsClosed());
  EXPECT_EQ(app->GetFirmwareUpdateStatus(), L"COMPLETED");
  EXPECT_EQ(app->GetProfileString(L"Action 2", L"Command"), L"#<ID>D9000");
}

TEST_F(MainDialog, EnterSendsFromTheFocusedEditAndNeverCloses)
{
  chain.AddServos(1, 5, 5);
  OpenDialog();
  ConnectAndSelect(5);

  Key(WXK_RETURN);
  RunPosted();
  EXPECT_FALSE(dialog->IsClosed());
  EXPECT_TRUE(Traffic().empty()) << "no edit has the focus";

  Type(IDC_FREE_FORMAT_TEXT, L"QD");
  wxFocusEvent gained(wxEVT_SET_FOCUS, IDC_FREE_FORMAT_TEXT);
  Get<wxTextCtrl>(IDC_FREE_FORMAT_TEXT)->ProcessWindowEvent(gained);
  Key(WXK_RETURN);
  EXPECT_TRUE(Traffic().empty()) << "posted, not sent";
  RunPosted();
  EXPECT_TRUE(Has(chain.WaitForLines(1), "#5QD"));
  EXPECT_FALSE(dialog->IsClosed());

  wxFocusEvent lost(wxEVT_KILL_FOCUS, IDC_FREE_FORMAT_TEXT);
  Get<wxTextCtrl>(IDC_FREE_FORMAT_TEXT)->ProcessWindowEvent(lost);
  chain.ClearReceived();
  Key(WXK_RETURN);
  RunPosted();
  EXPECT_TRUE(Traffic().empty());
}

TEST_F(MainDialog, BusyFlagOrBroadcastIdStopsEveryTimer)
{
  chain.AddServos(2, 1);
  OpenDialog();
  ConnectAndSelect(2);
  ASSERT_TRUE(Click(IDC_TRACE1));
  ASSERT_TRUE(Click(IDC_TRACE8));
  const auto everyTimer = [this] {
    for (UINT_PTR timer : {0, 1, 8, 10, 11})
      dialog->OnTimer(timer);
  };

  chain.ClearReceived();
  {
    // A prompt of the dialog's own is open: its nested message loop runs the timers.
    TickingResponder responder([&] {
      EXPECT_TRUE(dialog->IsBusy());
      everyTimer();
    });
    ASSERT_TRUE(Click(kActionButtonIds[6])) << "an action without a script says so";
  }
  EXPECT_FALSE(dialog->IsBusy());
  EXPECT_TRUE(Traffic().empty()) << "busy: no poll and no trace samples";

  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"254 - "));
  EXPECT_EQ(dialog->CurrentId(), 254);
  chain.ClearReceived();
  everyTimer();
  EXPECT_TRUE(Traffic().empty()) << "id 254 polls and samples nothing";

  // Timer numbers the dialog does not use are ignored.
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"2 - "));
  chain.ClearReceived();
  for (UINT_PTR timer : {9, 12, 99})
    dialog->OnTimer(timer);
  EXPECT_TRUE(Traffic().empty());
  dialog->OnTimer(1);
  EXPECT_EQ(Traffic(), (std::vector<std::string>{"#2QD"}));
}
