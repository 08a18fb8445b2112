// The custom action buttons and the two script editors against the simulated chain.
#include "MainDialogFixture.h"

#include <wx/choice.h>

#include <atomic>
#include <optional>

namespace {
using Lines = std::vector<std::string>;

class Actions : public MainDialogTest {
protected:
  // Servo 1 at position 1234 with origin offset -100, connected and chosen.
  void ConnectToServoAt1234()
  {
    chain.AddServos(1, 1);
    chain.UpdateServo(1, [](SSimulatedServo& s) {
      s.position = 1234;
      s.replies["QO"] = "-100";
    });
    OpenDialog();
    ConnectAndSelect(1);
  }
  // Clicks action n (0-based) and returns the traffic once its last line has come.
  Lines Run(int action, const std::string& lastLine)
  {
    chain.ClearReceived();
    EXPECT_TRUE(Click(kActionButtonIds[action]));
    return TrafficWith(lastLine);
  }
  template <typename T> static T* In(wxDialog* dialog, int id)
  {
    return dynamic_cast<T*>(dialog->FindWindow(id));
  }
  static void Press(wxDialog* dialog, int id)
  {
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog->FindWindow(id));
    dialog->FindWindow(id)->ProcessWindowEvent(click);
  }
  static void Pick(wxDialog* dialog, int comboId, const wchar_t* row)
  {
    auto* combo = In<wxChoice>(dialog, comboId);
    combo->SetStringSelection(row);
    wxCommandEvent pick(wxEVT_CHOICE, comboId);
    pick.SetEventObject(combo);
    pick.SetInt(combo->GetSelection());
    combo->ProcessWindowEvent(pick);
  }
  static void Snapshot(wxDialog* dialog, const char* name)
  {
    dialog->Raise();
    PumpEvents(200);
    EXPECT_FALSE(SaveSnapshot(dialog, name).empty());
  }
};
} // namespace

TEST_F(Actions, DefaultActionsSendTheirLines)
{
  ConnectToServoAt1234();
  ASSERT_TRUE(dialog->FireTimer(0)) << "the poll reads the position";
  EXPECT_EQ(Run(0, "#1QCE"), (Lines{"#1D0", "#1QCE"}));
  EXPECT_EQ(Run(1, "#1QCE"), (Lines{"#1D9000", "#1QCE"}));
  EXPECT_EQ(Run(2, "#1QCE"), (Lines{"#1QO", "#1CO1134", "#1QCE"}));
  EXPECT_EQ(Run(3, "#1QCE"), (Lines{"#1SD1000", "#1QCE"}));
  EXPECT_EQ(Run(4, "#1QCE"), (Lines{"#1SD5000", "#1QCE"}));
  EXPECT_EQ(Run(5, "#1QCE"), (Lines{"#1H", "#1QCE"}));
  EXPECT_EQ(Log().back(), L"#1H");
  EXPECT_TRUE(answers.Requests().empty());

  answers.Queue(IDOK);
  chain.ClearReceived();
  ASSERT_TRUE(Click(kActionButtonIds[6]));
  EXPECT_TRUE(Traffic().empty());
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"No Custom Action was assigned to this button. Press "
                                                       L"CTRL and click the button to customize."}));
}

TEST_F(Actions, ScriptsWaitThroughTheSleeperAndBadOnesSendNothing)
{
  chain.AddServos(1, 1);
  app->WriteProfileString(L"Action 7", L"Command", L"#<ID>D100\r\nWAIT 1500\r\n\r\n#<ID>D[7/2]");
  app->WriteProfileString(L"Action 8", L"Command", L"#<ID>D100\r\n#<ID>D[5\r\nWAIT -1");
  OpenDialog();
  ConnectAndSelect(1);
  sleeps.clear();
  EXPECT_EQ(Run(6, "#1D3"), (Lines{"#1D100", "#1QCE", "#1D3", "#1QCE"}));
  EXPECT_EQ(sleeps, (std::vector<DWORD>{1500}));

  answers.Queue(IDOK);
  chain.ClearReceived();
  ASSERT_TRUE(Click(kActionButtonIds[7]));
  EXPECT_TRUE(Traffic().empty()) << "refused before its first line";
  EXPECT_EQ(MessageTexts(),
            (std::vector<std::wstring>{L"The custom action was not run: a \"[\" has no \"]\" after it."}));
}

TEST_F(Actions, AnActionWhoseBracketsTakeTooLongSendsNothingAndIsNamed)
{
  chain.AddServos(1, 1);
  app->WriteProfileString(L"Action 7", L"Title", L"Slow one");
  app->WriteProfileString(L"Action 7", L"Command", L"#<ID>D100\r\n#<ID>D[7/2]");
  OpenDialog();
  ConnectAndSelect(1);
  // Each reading of the tick count comes 300 ms after the one before: so does the end of an
  // evaluation after its start.
  DWORD tick = 0;
  SetTickCountSource([&tick] { return tick += 300; });
  chain.ClearReceived();
  ASSERT_TRUE(Click(kActionButtonIds[6]));
  SetTickCountSource({});
  EXPECT_TRUE(Traffic().empty());
  EXPECT_TRUE(answers.Requests().empty()) << "no message box";
  EXPECT_EQ(Log().back(), L"\"Slow one\": The custom action was not run: its expressions took 300 ms to "
                          L"evaluate, more than 250 ms.");
}

TEST_F(Actions, AnActionWithoutTheValuesOfItsServoSendsNoLineOfIt)
{
  chain.AddServos(2, 1);
  chain.UpdateServo(1, [](SSimulatedServo& s) {
    s.position = 1234;
    s.replies["QO"] = "-100";
  });
  chain.UpdateServo(2, [](SSimulatedServo& s) {
    s.position = 500;
    s.replies["QO"] = "20";
  });
  OpenDialog();
  ConnectAndSelect(1);
  // "Configure Origin Here" is refused; "Halt" after it shows by its lines coming next that the
  // refused one sent nothing after its offset query.
  auto refusedThenMoved = [&](int id, const std::wstring& why) {
    answers.Queue(IDOK);
    const std::string line = "#" + std::to_string(id);
    EXPECT_EQ(Run(2, line + "QO"), (Lines{line + "QO"}));
    EXPECT_EQ(MessageTexts().back(), L"The custom action was not run: " + why);
    EXPECT_TRUE(Click(kActionButtonIds[5]));
    EXPECT_EQ(TrafficWith(line + "QCE"), (Lines{line + "QO", line + "H", line + "QCE"}));
  };
  // Before the first poll, and then with the offset never read.
  chain.InjectFault({SSimFault::Silence, "#1QO", 2});
  refusedThenMoved(1, L"the position of servo 1 is not known yet.");
  ASSERT_TRUE(dialog->FireTimer(0)) << "the poll reads the position";
  refusedThenMoved(1, L"the origin offset of servo 1 could not be read.");
  EXPECT_EQ(Run(2, "#1QCE"), (Lines{"#1QO", "#1CO1134", "#1QCE"}));

  // Another servo: the first one's position and offset are not its own.
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"2 - "));
  refusedThenMoved(2, L"the position of servo 2 is not known yet.");
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Run(2, "#2QCE"), (Lines{"#2QO", "#2CO520", "#2QCE"}));
}

TEST_F(Actions, OriginUsesOnlyWhatThisConnectionReadFromTheServo)
{
  ConnectToServoAt1234();
  // "Configure Origin Here" with its offset query unanswered: the lines sent, or the refusal.
  auto originWithoutOffset = [&]() {
    chain.InjectFault({SSimFault::Silence, "#1QO"});
    if (answers.Pending() == 0)
      answers.Queue(IDOK);
    const size_t asked = answers.Requests().size();
    Run(2, "#1QO");
    if (answers.Requests().size() > asked)
      return MessageTexts().back();
    const Lines lines = TrafficWith("#1QCE");
    return L"sent " + std::wstring(lines.at(1).begin(), lines.at(1).end());
  };
  ASSERT_TRUE(dialog->FireTimer(0)) << "the poll reads the position";
  EXPECT_EQ(Run(2, "#1QCE"), (Lines{"#1QO", "#1CO1134", "#1QCE"}));
  // The offset this connection read from this servo stands in for one that cannot be read now.
  EXPECT_EQ(originWithoutOffset(), L"sent #1CO1134");

  // The same id over a new connection: the servo may have moved or been swapped meanwhile.
  chain.UpdateServo(1, [](SSimulatedServo& s) {
    s.position = 777;
    s.replies["QO"] = "-100";
  });
  ASSERT_TRUE(Click(IDC_CONNECT));
  ASSERT_FALSE(dialog->Port().IsConnected());
  ConnectAndSelect(1);
  EXPECT_EQ(originWithoutOffset(),
            L"The custom action was not run: the position of servo 1 is not known yet.");
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(originWithoutOffset(),
            L"The custom action was not run: the origin offset of servo 1 could not be read.");
  EXPECT_EQ(Run(2, "#1QCE"), (Lines{"#1QO", "#1CO677", "#1QCE"}));

  // A poll without any reply drops the servo, and what was read from it.
  chain.InjectFault({SSimFault::Silence, "#1QD"});
  ASSERT_TRUE(dialog->FireTimer(0));
  ASSERT_EQ(ComboText(IDC_ID_COMBO), L"") << "the link was lost";
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  EXPECT_EQ(originWithoutOffset(),
            L"The custom action was not run: the position of servo 1 is not known yet.");

  // So does opening the id list while it is silent: back at 777 with offset 55 and chosen again,
  // the origin waits for a position read from it now.
  ASSERT_TRUE(dialog->FireTimer(0));
  std::atomic<bool> silent = true;
  chain.SetLineHandler(
      [&](const std::string&) { return silent ? std::optional<std::string>("") : std::nullopt; });
  dialog->FillIdCombo();
  ASSERT_EQ(ComboText(IDC_ID_COMBO), L"");
  silent = false;
  chain.UpdateServo(1, [](SSimulatedServo& s) {
    s.position = 777;
    s.replies["QO"] = "55";
  });
  dialog->FillIdCombo();
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  answers.Queue(IDOK);
  Run(2, "#1QO");
  EXPECT_EQ(MessageTexts().back(),
            L"The custom action was not run: the position of servo 1 is not known yet.");
  ASSERT_TRUE(dialog->FireTimer(0));
  EXPECT_EQ(Run(2, "#1QCE"), (Lines{"#1QO", "#1CO832", "#1QCE"}));
  chain.SetLineHandler({});
}

TEST_F(Actions, CtrlClickEditsAnActionAndOkWritesTheProfile)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  answers.Queue(IDNO);
  answers.Queue(IDYES);
  bool edited = false;
  ModalWatchdog().ExpectDialog([&](wxDialog* editor) {
    auto* name = In<wxTextCtrl>(editor, 1053);
    auto* script = In<wxTextCtrl>(editor, 1050);
    EXPECT_EQ(name->GetValue(), L"Move to Origin");
    EXPECT_EQ(script->GetValue(), L"#<ID>D0");
    EXPECT_EQ(In<wxChoice>(editor, 1056)->GetCount(), 56u) << "55 mnemonics and WAIT";
    Pick(editor, 1056, L"WAIT");
    EXPECT_EQ(editor->FindWindow(1058)->GetLabel(), L"Wait in milliseconds");
    Pick(editor, 1054, L"[...]");

    name->ChangeValue(L"Wiggle");
    // Add goes in at the caret, or in place of what is selected.
    script->ChangeValue(L"#<ID>D0\nX 10\n#<ID>D2*50");
    script->SetSelection(8, 9);
    Press(editor, 1057);
    script->SetInsertionPointEnd();
    Press(editor, 1052);
    EXPECT_EQ(script->GetValue(), L"#<ID>D0\nWAIT 10\n#<ID>D2*50[...]");
    script->ChangeValue(L"#<ID>D0\nWAIT 10\n#<ID>D[2*50]");
    Snapshot(editor, "custom_action_editor");
    Press(editor, wxID_OK);
    EXPECT_TRUE(editor->IsModal()) << "No keeps the editor open";
    Press(editor, wxID_OK);
    edited = true;
  });
  Key(WXK_CONTROL);
  ASSERT_TRUE(Click(kActionButtonIds[0]));
  ASSERT_TRUE(edited);
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Save custom action?", L"Save custom action?"}));
  EXPECT_TRUE(Traffic().empty()) << "a Ctrl+click runs nothing";
  EXPECT_EQ(Text(kActionButtonIds[0]), L"Wiggle");
  EXPECT_EQ(app->GetProfileString(L"Action 1", L"Title"), L"Wiggle");
  EXPECT_EQ(app->GetProfileString(L"Action 1", L"Command"), L"#<ID>D0\r\nWAIT 10\r\n#<ID>D[2*50]");

  Key(WXK_CONTROL, wxEVT_KEY_UP);
  EXPECT_EQ(Run(0, "#1D100"), (Lines{"#1D0", "#1QCE", "#1D100", "#1QCE"}));
}

TEST_F(Actions, CtrlClickOnATraceBoxEditsItsQueryAndCancelChangesNothing)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ModalWatchdog().ExpectDialog([&](wxDialog* editor) {
    EXPECT_EQ(In<wxTextCtrl>(editor, 1053)->GetValue(), L"Speed");
    EXPECT_EQ(In<wxChoice>(editor, 1059)->GetCount(), 51u);
    In<wxTextCtrl>(editor, 1053)->ChangeValue(L"Lost");
    Press(editor, wxID_CANCEL);
  });
  Key(WXK_CONTROL);
  ASSERT_TRUE(Click(IDC_TRACE2));
  EXPECT_EQ(Text(IDC_TRACE2), L"Speed");
  EXPECT_FALSE(Get<wxToggleButton>(IDC_TRACE2)->GetValue()) << "a Ctrl+click does not switch the trace";
  EXPECT_FALSE(dialog->IsTimerRunning(2));

  answers.Queue(IDYES);
  ModalWatchdog().ExpectDialog([&](wxDialog* editor) {
    In<wxTextCtrl>(editor, 1053)->ChangeValue(L"Temperature C");
    auto* script = In<wxTextCtrl>(editor, 1050);
    script->ChangeValue(L"#<ID>QT/100<UNIT:C>");
    script->SetInsertionPoint(11);
    // Ctrl+Enter breaks the line; Enter alone is OK, as in the rest of the dialog.
    wxKeyEvent enter(wxEVT_CHAR_HOOK);
    enter.m_keyCode = WXK_RETURN;
    enter.m_controlDown = true;
    enter.SetEventObject(script);
    editor->ProcessWindowEvent(enter);
    EXPECT_EQ(script->GetValue(), L"#<ID>QT/100\n<UNIT:C>");
    Snapshot(editor, "trace_query_editor");
    enter.m_controlDown = false;
    editor->ProcessWindowEvent(enter);
  });
  Key(WXK_CONTROL);
  ASSERT_TRUE(Click(IDC_TRACE2));
  EXPECT_EQ(Text(IDC_TRACE2), L"Temperature C");
  EXPECT_EQ(app->GetProfileString(L"Trace 2", L"Command"), L"#<ID>QT/100\r\n<UNIT:C>");
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Save custom trace query?"}));
}

TEST_F(Actions, ATraceRenamedInItsEditorWhileItRunsStillLeavesThePlot)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Click(IDC_TRACE2));
  answers.Queue(IDYES);
  ModalWatchdog().ExpectDialog([&](wxDialog* editor) {
    In<wxTextCtrl>(editor, 1053)->ChangeValue(L"Velocity");
    Press(editor, wxID_OK);
  });
  Key(WXK_CONTROL);
  ASSERT_TRUE(Click(IDC_TRACE2));
  Key(WXK_CONTROL, wxEVT_KEY_UP);
  ASSERT_EQ(Text(IDC_TRACE2), L"Velocity");
  EXPECT_TRUE(dialog->IsTimerRunning(2)) << "still running";
  ASSERT_TRUE(Click(IDC_TRACE2));
  EXPECT_FALSE(dialog->IsTimerRunning(2));
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 0) << "switched off, it leaves the plot";
}
