// What the main window shows after an ending event: the selected servo falling silent (poll, id
// list), Disconnect, the port going away, another servo chosen. Each test fills the window with
// everything a selected, traced, blinking servo puts there first, then reads back every control.
#include "MainDialogFixture.h"

#include "StatusReadouts.h"

#include <wx/gauge.h>

#include <atomic>
#include <optional>
#include <random>

namespace {
class NoServo : public MainDialogTest {
protected:
  NoServo()
  {
    // Servo 1 is on the USB link; both have a pending reset and an EEPROM error, so that RESET
    // and DEFAULT blink and the error read-out scrolls.
    chain.AddServos(2, 1);
    for (int id : {1, 2})
      chain.UpdateServo(id, [id](SSimulatedServo& s) {
        s.position = id == 1 ? 4500 : -3000;
        s.motionStatus = kSimHolding;
        s.resetFlags = 1;
        s.errorFlags = 0x0C00;
      });
    // The silent servo answers nothing, and the id broadcast only for the other one.
    chain.SetLineHandler([this](const std::string& line) -> std::optional<std::string> {
      const int id = silentId;
      if (id == 0)
        return std::nullopt;
      const int other = 3 - id;
      if (line == "#254QID")
        return "*" + std::to_string(other) + "QID" + std::to_string(other) + "\r";
      const std::string own = "#" + std::to_string(id);
      if (line.rfind(own, 0) == 0 && line.size() > own.size() && !isdigit(line[own.size()]))
        return std::string();
      return std::nullopt;
    });
  }
  ~NoServo() override { chain.SetLineHandler({}); }

  // Connects to servo id with the given traces running, the panels' commands chosen, and as many
  // polls as told (the blinking captions' phase).
  void Busy(int id, const std::vector<int>& traces, int polls)
  {
    if (!dialog)
      OpenDialog();
    ConnectAndSelect(id);
    ASSERT_TRUE(Choose(IDC_QUERY_COMBO, L"QD "));
    ASSERT_TRUE(Choose(IDC_ACTION_COMBO, L"D "));
    ASSERT_TRUE(Choose(IDC_CONFIG_COMBO, L"CSD "));
    for (int trace : traces)
      ASSERT_TRUE(Click(kTraceBoxIds[trace]));
    for (int i = 0; i < polls; ++i) {
      ASSERT_TRUE(dialog->FireTimer(kStatusPollTimer));
      for (int trace : traces)
        ASSERT_TRUE(dialog->FireTimer(kFirstTraceTimer + trace));
    }
    ASSERT_FALSE(dialog->PositionReadout()->GetText().IsEmpty());
    for (int trace : traces)
      ASSERT_NE(Text(kTraceReadoutIds[trace]), L"");
  }

  // Every control that still claims the servo, the traces or the connection that ended.
  std::vector<std::string> StaleClaims(const wchar_t* status, bool connected) const
  {
    std::vector<std::string> claims;
    auto claim = [&](bool stale, const std::string& what) {
      if (stale)
        claims.push_back(what);
    };
    claim(dialog->CurrentId() != -1, "a current id");
    claim(!ComboText(IDC_ID_COMBO).empty(), "an id text");
    claim(dialog->LastPositionText() != L"", "a remembered position");
    claim(dialog->PositionReadout()->GetText() != L"", "a position read-out");
    claim(dialog->StatusReadout()->GetText() != status, "the status read-out");
    claim(dialog->StatusReadout()->GetStepPeriod() != 0, "a scrolling status");
    claim(dialog->ErrorReadout()->GetText() != L"", "an error read-out");
    claim(dialog->ErrorReadout()->GetStepPeriod() != 0, "a scrolling error");
    for (int n = 0; n < kTraceCount; ++n) {
      const std::string trace = " of trace " + std::to_string(n + 1);
      claim(Get<wxToggleButton>(kTraceBoxIds[n])->GetValue(), "the pressed button" + trace);
      claim(Text(kTraceReadoutIds[n]) != L"", "the read-out" + trace);
      claim(dialog->IsTimerRunning(kFirstTraceTimer + n), "the sampler" + trace);
    }
    claim(dialog->PlotWindow()->GetTraceCount() != 0, "a trace in the plot");
    claim(dialog->PlotWindow()->GetTitle() != L"", "a plot title");
    claim(Text(IDC_RESET) != L"RESET", "the RESET caption");
    claim(Text(IDC_DEFAULT) != L"DEFAULT", "the DEFAULT caption");
    const std::pair<int, const char*> servoControls[] = {
        {IDC_RESET, "RESET"},
        {IDC_DEFAULT, "DEFAULT"},
        {IDC_STOP_LIMP, "STOP && LIMP"},
        {IDC_STOP_HOLD, "STOP && HOLD"},
        {IDC_FREE_FORMAT_TEXT, "the free-format text"},
        {IDC_FREE_FORMAT_SEND, "the free-format Send"},
        {IDC_QUERY_COMBO, "the query list"},
        {IDC_QUERY_SEND, "the query Send"},
        {IDC_ACTION_COMBO, "the action list"},
        {IDC_ACTION_SEND, "the action Send"},
        {IDC_ACTION_VALUE, "the action value"},
        {IDC_CONFIG_COMBO, "the configuration list"},
        {IDC_CONFIG_SEND, "the configuration Send"},
        {IDC_CONFIG_VALUE, "the configuration value"},
        {IDC_FIRMWARE_UPDATE, "Firmware Update"},
        {IDC_PAUSE, "Pause"},
        {IDC_RESTART, "Restart"},
    };
    for (auto [id, name] : servoControls)
      claim(Enabled(id), std::string(name) + " enabled");
    claim(Text(IDC_CONNECT) != (connected ? L"Disconnect" : L"Connect"), "the Connect caption");
    claim(dialog->Port().IsConnected() != connected, "the port's state");
    claim(Enabled(IDC_ID_COMBO) != connected, "the id list's enabled state");
    claim(Enabled(IDC_PORT_COMBO) == connected, "the port list's enabled state");
    claim(!connected && !ComboRows(IDC_ID_COMBO).empty(), "rows of the id list");
    claim(!connected && dialog->IsTimerRunning(kStatusPollTimer), "the status poll");
    claim(Get<wxGauge>(IDC_PROGRESS)->IsShown(), "a progress bar");
    claim(dialog->IsCalibrating(), "a calibration");
    return claims;
  }
  std::vector<std::wstring> LogSince(size_t lines) const
  {
    const std::vector<std::wstring> all = Log();
    return std::vector<std::wstring>(all.begin() + std::ptrdiff_t(std::min(lines, all.size())), all.end());
  }
  static std::wstring Dropped(int id)
  {
    return L"Servo " + std::to_wstring(id) + L" stopped answering and is no longer selected";
  }

  std::atomic<int> silentId{0};
};

enum class EEnding { PollSilence, IdListWithout, Disconnect };
} // namespace

// Random traces, servo and blink phase, then one of the endings: the window is left as with no
// servo selected, and only a drop says so in the log, naming the servo.
TEST_F(NoServo, EveryEndingLeavesTheWindowAsWithNoServoSelected)
{
  std::mt19937 random(38);
  for (int round = 0; round < 12; ++round) {
    const int id = 1 + int(random() % 2);
    std::vector<int> traces;
    for (int n = 0; n < 3; ++n)
      if (random() % 2)
        traces.push_back(n);
    const int polls = 1 + int(random() % 3);
    const auto ending = EEnding(random() % 3);
    SCOPED_TRACE("round " + std::to_string(round) + ": servo " + std::to_string(id) + ", " +
                 std::to_string(traces.size()) + " traces, " + std::to_string(polls) + " polls, ending " +
                 std::to_string(int(ending)));
    silentId = 0;
    Busy(id, traces, polls);
    if (HasFatalFailure())
      return;
    const size_t logged = Log().size();

    switch (ending) {
    case EEnding::PollSilence:
      silentId = id;
      ASSERT_TRUE(dialog->FireTimer(kStatusPollTimer));
      EXPECT_EQ(StaleClaims(L"Connected", true), std::vector<std::string>{});
      EXPECT_EQ(LogSince(logged), std::vector<std::wstring>{Dropped(id)});
      break;
    case EEnding::IdListWithout:
      silentId = id;
      dialog->FillIdCombo();
      EXPECT_EQ(StaleClaims(L"Connected", true), std::vector<std::string>{});
      EXPECT_EQ(LogSince(logged), std::vector<std::wstring>{Dropped(id)});
      EXPECT_EQ(ComboRows(IDC_ID_COMBO).size(), 2u) << "the other servo and All Servos";
      break;
    case EEnding::Disconnect:
      ASSERT_TRUE(Click(IDC_CONNECT));
      EXPECT_EQ(StaleClaims(L"Disconnected", false), std::vector<std::string>{});
      EXPECT_EQ(LogSince(logged), std::vector<std::wstring>{});
      break;
    }
    // The window is itself again: the next poll sends nothing, the next click connects.
    chain.ClearReceived();
    if (dialog->Port().IsConnected()) {
      ASSERT_TRUE(dialog->FireTimer(kStatusPollTimer));
      EXPECT_TRUE(Traffic().empty());
      ASSERT_TRUE(Click(IDC_CONNECT));
    }
  }
}

// The port goes away (the adapter pulled) under the poll, a trace, a command and the id list.
class NoServoPortLost : public NoServo, public ::testing::WithParamInterface<int> {};

TEST_P(NoServoPortLost, ThePortIsClosedAndSaidSo)
{
  Busy(1, {0, 2}, 2);
  ASSERT_FALSE(HasFatalFailure());
  const size_t logged = Log().size();
  SSimFault hangUp{SSimFault::HangUp, ""};
  chain.InjectFault(hangUp);
  switch (GetParam()) {
  case 0:
    ASSERT_TRUE(dialog->FireTimer(kStatusPollTimer));
    break;
  case 1:
    ASSERT_TRUE(dialog->FireTimer(kFirstTraceTimer + 2));
    break;
  case 2:
    ASSERT_TRUE(Click(IDC_QUERY_SEND));
    break;
  default:
    dialog->FillIdCombo();
    break;
  }
  EXPECT_EQ(StaleClaims(L"Disconnected", false), std::vector<std::string>{});
  EXPECT_EQ(LogSince(logged), std::vector<std::wstring>{
                                  L"The port COM42 was lost (the adapter went away) and has been closed"});
  EXPECT_TRUE(MessageTexts().empty()) << "said in the log, not in a box";
}

INSTANTIATE_TEST_SUITE_P(Under, NoServoPortLost, ::testing::Values(0, 1, 2, 3));

// Another servo chosen while traces run: their lines start again with its samples, and nothing
// of the first servo's stays on the screen.
TEST_F(NoServo, AnotherServoStartsTheTracesAnew)
{
  Busy(1, {0, 1}, 1);
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(dialog->TraceData(0).GetY(0), 4500.0f);
  ASSERT_EQ(Text(IDC_RESET), L"") << "caught blank";
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"2 - "));
  EXPECT_EQ(dialog->TraceData(0).GetIndexRange(), 0);
  EXPECT_EQ(dialog->TraceData(1).GetIndexRange(), 0);
  EXPECT_EQ(Text(kTraceReadoutIds[0]), L"");
  EXPECT_EQ(dialog->PositionReadout()->GetText(), L"");
  EXPECT_EQ(dialog->ErrorReadout()->GetText(), L"");
  EXPECT_EQ(dialog->ErrorReadout()->GetStepPeriod(), 0u);
  EXPECT_EQ(Text(IDC_RESET), L"RESET");
  EXPECT_EQ(Text(IDC_DEFAULT), L"DEFAULT");
  EXPECT_TRUE(Get<wxToggleButton>(IDC_TRACE1)->GetValue()) << "the traces go on";
  ASSERT_TRUE(dialog->FireTimer(kFirstTraceTimer));
  ASSERT_EQ(dialog->TraceData(0).GetIndexRange(), 1);
  EXPECT_EQ(dialog->TraceData(0).GetY(0), -3000.0f);

  // All servos at once: no poll ever makes the captions whole again.
  ASSERT_TRUE(dialog->FireTimer(kStatusPollTimer));
  ASSERT_EQ(Text(IDC_RESET), L"");
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"254 - "));
  EXPECT_EQ(Text(IDC_RESET), L"RESET");
  dialog->FillIdCombo();
  EXPECT_EQ(dialog->CurrentId(), 254) << "All Servos is listed whenever servos are";
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_EQ(StaleClaims(L"Disconnected", false), std::vector<std::string>{});
}
