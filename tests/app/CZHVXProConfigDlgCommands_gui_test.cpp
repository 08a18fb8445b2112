// The command panels of the main dialog against the simulated chain: what goes on the wire, what
// the log shows and what the user is asked or told.
#include "BrowserLaunch.h"
#include "MainDialogFixture.h"

#include <wx/listbox.h>

namespace {
using Commands = MainDialogTest;

// The pages the program would have opened in a browser.
class OpenedPages {
public:
  OpenedPages()
      : m_previous(SetBrowserLauncher([this](const CString& url) {
          urls.push_back(url.Str());
          return true;
        }))
  {}
  ~OpenedPages() { SetBrowserLauncher(m_previous); }
  std::vector<std::wstring> urls;

private:
  BrowserLauncher m_previous;
};
} // namespace

TEST_F(Commands, QueryShowsCommandAndReplyInTheLog)
{
  chain.AddServos(2, 1);
  chain.UpdateServo(2, [](SSimulatedServo& s) { s.position = 4500; });
  OpenDialog();
  ConnectAndSelect(2);
  EXPECT_FALSE(Enabled(IDC_QUERY_SEND)) << "no query picked";
  ASSERT_TRUE(Choose(IDC_QUERY_COMBO, L"QD "));
  EXPECT_EQ(Text(IDC_QUERY_DESCRIPTION), L"Position in 1/100 degrees");
  ASSERT_TRUE(Click(IDC_QUERY_SEND));
  EXPECT_EQ(Traffic(), (std::vector<std::string>{"#2QD"}));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"#2QD", L"*2QD4500"}));
  EXPECT_EQ(Get<wxListBox>(IDC_LOG)->GetSelection(), wxNOT_FOUND);

  // A query nobody answers adds nothing and says nothing.
  chain.InjectFault({SSimFault::Silence, "#2QD"});
  ASSERT_TRUE(Click(IDC_QUERY_SEND));
  EXPECT_EQ(Log().size(), 2u);
  EXPECT_TRUE(answers.Requests().empty());

  ASSERT_TRUE(Click(IDC_CLEAR_LOG));
  EXPECT_TRUE(Log().empty());
}

TEST_F(Commands, ActionSendsItsValueAndChecksTheCommandError)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Choose(IDC_ACTION_COMBO, L"D "));
  EXPECT_EQ(Text(IDC_ACTION_DESCRIPTION), L"Position in 1/100 degrees");
  Type(IDC_ACTION_VALUE, L" 1500 ");
  sleeps.clear();
  ASSERT_TRUE(Click(IDC_ACTION_SEND));
  EXPECT_EQ(chain.WaitForLines(2), (std::vector<std::string>{"#1D1500", "#1QCE"}));
  EXPECT_EQ(sleeps, (std::vector<DWORD>{200}));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"#1D1500"}));
  EXPECT_EQ(chain.GetServo(1).targetPosition, 1500);
  EXPECT_TRUE(answers.Requests().empty());

  // An empty value sends the mnemonic alone; the servo's complaint is shown.
  chain.UpdateServo(1, [](SSimulatedServo& s) { s.commandErrorAnswers = {4}; });
  Type(IDC_ACTION_VALUE, L"");
  chain.ClearReceived();
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_ACTION_SEND));
  EXPECT_EQ(chain.WaitForLines(2), (std::vector<std::string>{"#1D", "#1QCE"}));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Command Error: Parameter error! "}));
  EXPECT_FALSE(dialog->IsBusy());
}

TEST_F(Commands, ValueThatIsNotANumberIsRefusedAndNothingSent)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Choose(IDC_ACTION_COMBO, L"D "));
  for (const wchar_t* bad : {L"abc", L"12abc", L"1.5"}) {
    Type(IDC_ACTION_VALUE, bad);
    answers.Queue(IDOK);
    ASSERT_TRUE(Click(IDC_ACTION_SEND));
    EXPECT_NE(answers.Requests().back().text.Find(bad), -1) << "the box names the value";
  }
  ASSERT_TRUE(Choose(IDC_CONFIG_COMBO, L"CSD "));
  Type(IDC_CONFIG_VALUE, L"fast");
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_CONFIG_SEND));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(Traffic().empty()) << "\"abc\" is no move to 0";
  EXPECT_EQ(chain.GetServo(1).targetPosition, 0);
  EXPECT_TRUE(Log().empty());
}

TEST_F(Commands, ConfigurationHeldForConfirmationIsConfirmedOnlyOnOk)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Choose(IDC_CONFIG_COMBO, L"CSD "));
  EXPECT_EQ(Text(IDC_CONFIG_DESCRIPTION), L"Maximum (angular) speed in 1/100 degrees/s");
  Type(IDC_CONFIG_VALUE, L"2000");

  chain.UpdateServo(1, [](SSimulatedServo& s) { s.waitingConfirm = true; });
  answers.Queue(IDCANCEL);
  ASSERT_TRUE(Click(IDC_CONFIG_SEND));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Please confirm the configuration change."}));
  EXPECT_EQ(answers.Requests()[0].type & MB_TYPEMASK, MB_OKCANCEL);
  EXPECT_EQ(chain.WaitForLines(3), (std::vector<std::string>{"#1CSD2000", "#1QWC", "#1QCE"}));
  EXPECT_TRUE(dialog->IsTimerRunning(0)) << "restarted after the question";
  EXPECT_EQ(chain.GetServo(1).confirmations, 0);

  chain.ClearReceived();
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_CONFIG_SEND));
  EXPECT_EQ(chain.WaitForLines(4), (std::vector<std::string>{"#1CSD2000", "#1QWC", "#1CONFIRM", "#1QCE"}));
  EXPECT_EQ(chain.GetServo(1).confirmations, 1);
  EXPECT_EQ(Log().back(), L"#1CONFIRM");
  EXPECT_TRUE(dialog->IsTimerRunning(0));

  // A mnemonic longer than four characters finds no description: the last one stays.
  ASSERT_TRUE(Choose(IDC_CONFIG_COMBO, L"CMSSN"));
  EXPECT_EQ(Text(IDC_CONFIG_DESCRIPTION), L"Maximum (angular) speed in 1/100 degrees/s");
}

TEST_F(Commands, FreeFormatLinesGetTheSelectedServo)
{
  SSimulatedServo zero, five;
  zero.id = 0;
  five.id = 5;
  five.master = true;
  five.position = -250;
  chain.AddServo(zero);
  chain.AddServo(five);
  OpenDialog();
  ConnectAndSelect(5);

  Type(IDC_FREE_FORMAT_TEXT, L" QD ");
  ASSERT_TRUE(Click(IDC_FREE_FORMAT_SEND));
  EXPECT_EQ(chain.WaitForLines(2), (std::vector<std::string>{"#5QD", "#5QCE"}));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"#5QD", L"*5QD-250"}));

  // Written with its own id, the command error is asked of that servo.
  chain.ClearReceived();
  Type(IDC_FREE_FORMAT_TEXT, L"#0D100");
  ASSERT_TRUE(Click(IDC_FREE_FORMAT_SEND));
  EXPECT_EQ(chain.WaitForLines(2), (std::vector<std::string>{"#0D100", "#0QCE"}));

  // Servo 0 gets no "#" in front: the line is no command.
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"0 - "));
  chain.ClearReceived();
  Type(IDC_FREE_FORMAT_TEXT, L"QD");
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_FREE_FORMAT_SEND));
  EXPECT_EQ(MessageTexts(), (std::vector<std::wstring>{L"Syntax Error!"}));
  EXPECT_TRUE(Traffic().empty());
}

TEST_F(Commands, TypedDefaultAddressesTheServoWrittenInTheLine)
{
  chain.AddServos(7, 5);
  OpenDialog();
  ConnectAndSelect(5);
  Type(IDC_FREE_FORMAT_TEXT, L"#7DEFAULT");
  answers.Queue(IDYES);
  ASSERT_TRUE(Click(IDC_FREE_FORMAT_SEND));
  EXPECT_TRUE(answers.Requests().empty()) << "posted, as a click of DEFAULT";
  RunPosted();
  EXPECT_EQ(MessageTexts(),
            (std::vector<std::wstring>{L"Are you sure you want to reconfigure the HVX Pro Servo "
                                       L"to its default values?"}));
  EXPECT_EQ(chain.WaitForLines(2), (std::vector<std::string>{"#7DEFAULT", "#7CONFIRM"}));
  EXPECT_EQ(chain.GetServo(5).confirmations, 0);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"#7DEFAULT", L"#7CONFIRM"}));
  EXPECT_TRUE(dialog->IsTimerRunning(0));
}

TEST_F(Commands, DefaultButtonAsksBeforeConfirming)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Click(IDC_TRACE2));
  chain.ClearReceived();
  answers.Queue(IDNO);
  ASSERT_TRUE(Click(IDC_DEFAULT));
  EXPECT_EQ(chain.WaitForLines(1), (std::vector<std::string>{"#1DEFAULT"}));
  EXPECT_EQ(chain.GetServo(1).confirmations, 0);
  EXPECT_TRUE(dialog->IsTimerRunning(0));
  // The trace still shown as running samples on.
  EXPECT_TRUE(Get<wxToggleButton>(IDC_TRACE2)->GetValue());
  EXPECT_TRUE(dialog->IsTimerRunning(2));
  EXPECT_FALSE(dialog->IsTimerRunning(1));
}

TEST_F(Commands, BroadcastCommandsSkipTheCommandErrorCheck)
{
  chain.AddServos(3, 1);
  for (int id : {1, 2, 3})
    chain.UpdateServo(id, [](SSimulatedServo& s) { s.commandError = 3; });
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"254 - "));
  chain.ClearReceived();
  ASSERT_TRUE(Choose(IDC_ACTION_COMBO, L"H "));
  ASSERT_TRUE(Click(IDC_ACTION_SEND));
  Type(IDC_FREE_FORMAT_TEXT, L"L");
  ASSERT_TRUE(Click(IDC_FREE_FORMAT_SEND));
  EXPECT_EQ(TrafficWith("#254L"), (std::vector<std::string>{"#254H", "#254L"}))
      << "three replies would run together";
  EXPECT_TRUE(answers.Requests().empty());

  ASSERT_TRUE(Click(IDC_STOP_HOLD));
  ASSERT_TRUE(Click(IDC_STOP_LIMP));
  EXPECT_EQ(chain.WaitForLines(4), (std::vector<std::string>{"#254H", "#254L", "#254H", "#254L"}));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"#254H", L"#254L", L"#254H", L"#254L"}));
}

TEST_F(Commands, ResetReconnectsAndSelectsExactlyTheSameServo)
{
  // Servo 1 must not come back as servo 12, nor servo 2 as "254 - All Servos".
  chain.AddServos(2, 1);
  SSimulatedServo twelve;
  twelve.id = 12;
  chain.AddServo(twelve);
  chain.UpdateServo(2, [](SSimulatedServo& s) { s.id = 2; });
  OpenDialog();
  ConnectAndSelect(1);
  sleeps.clear();
  ASSERT_TRUE(Click(IDC_RESET));
  EXPECT_TRUE(Has(Traffic(), "#1RESET"));
  EXPECT_EQ(sleeps.front(), 4000u);
  EXPECT_TRUE(dialog->Port().IsConnected());
  EXPECT_EQ(dialog->CurrentId(), 1);
  EXPECT_EQ(ComboText(IDC_ID_COMBO), L"1 - HVX PRO 24 - 1.05.0120");
  EXPECT_EQ(Log().front(), L"#1RESET");
  EXPECT_FALSE(dialog->IsBusy());
  EXPECT_TRUE(dialog->IsTimerRunning(0));

  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"2 - "));
  chain.ClearReceived();
  ASSERT_TRUE(Click(IDC_RESET));
  EXPECT_TRUE(Has(Traffic(), "#2RESET"));
  EXPECT_EQ(dialog->CurrentId(), 2);
  EXPECT_EQ(ComboText(IDC_ID_COMBO), L"2 - HVX PRO 24 - 1.05.0120");
}

TEST_F(Commands, NothingIsSentWithoutASelectedServo)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Choose(IDC_QUERY_COMBO, L"QD "));
  ASSERT_TRUE(Choose(IDC_ACTION_COMBO, L"D "));
  ASSERT_TRUE(Choose(IDC_CONFIG_COMBO, L"CSD "));
  Type(IDC_ACTION_VALUE, L"100");
  Type(IDC_CONFIG_VALUE, L"100");

  // The servo goes silent and the poll drops it.
  chain.InjectFault({SSimFault::Silence, "", -1});
  dialog->OnTimer(0);
  EXPECT_EQ(dialog->CurrentId(), -1);
  EXPECT_TRUE(ComboText(IDC_ID_COMBO).empty());
  EXPECT_FALSE(Enabled(IDC_QUERY_SEND));
  EXPECT_FALSE(Enabled(IDC_RESET));
  chain.ClearReceived();

  dialog->OnTimer(0);
  dialog->OnQuerySend();
  dialog->OnActionSend();
  dialog->OnConfigSend();
  dialog->OnReset();
  dialog->OnDefault();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(Traffic().empty());
  EXPECT_TRUE(answers.Requests().empty());
}

TEST_F(Commands, HelpWithoutAnUpdateServerSaysSoAndOpensNothing)
{
  OpenedPages browser;
  OpenDialog();
  auto contains = [](const std::wstring& text, const wchar_t* part) { return text.find(part) != text.npos; };

  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_HELP_BUTTON));
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_TRUE(contains(MessageTexts()[0], L"No update server is set")) << MessageTexts()[0];
  EXPECT_TRUE(contains(MessageTexts()[0], L"HVX_UPDATE_SERVER"));
  EXPECT_TRUE(contains(MessageTexts()[0], L"\"Host Name\" in the section \"Update Server\""));
  EXPECT_TRUE(browser.urls.empty());

  // A value that is not used says why, and opens nothing either.
  updateServer.Set("https://updates.example.org");
  answers.Queue(IDOK);
  ASSERT_TRUE(Click(IDC_HELP_BUTTON));
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_TRUE(contains(MessageTexts()[1], L"only plain HTTP")) << MessageTexts()[1];
  EXPECT_TRUE(contains(MessageTexts()[1], L"HVX_UPDATE_SERVER"));
  EXPECT_TRUE(browser.urls.empty());

  // A server on this machine: its page opens without a word.
  updateServer.Set("http://127.0.0.1:8080");
  ASSERT_TRUE(Click(IDC_HELP_BUTTON));
  EXPECT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(browser.urls, std::vector<std::wstring>{L"http://127.0.0.1:8080/HVXPro/Help/"});
}
