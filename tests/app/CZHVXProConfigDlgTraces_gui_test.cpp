// The live traces against the simulated chain: the three default traces, pause, Restart and the
// faults of a trace without a servo or without an answer. The dialog's clock and the chain's run on
// one stepped time, and the samplers are stepped with FireTimer.
#include "MainDialogFixture.h"

#include <atomic>
#include <optional>
#include <utility>

namespace {
class Traces : public MainDialogTest {
protected:
  Traces()
  {
    SetTickCountSource([this] { return DWORD(kStartTick + now.load()); });
    chain.SetClock([this] { return origin + std::chrono::milliseconds(now.load()); });
  }
  ~Traces() override { SetTickCountSource({}); }

  void Pass(int ms) { now += ms; }
  // Every sampler that runs takes one sample.
  void Sample()
  {
    for (UINT_PTR timer = 1; timer <= 8; ++timer)
      if (dialog->IsTimerRunning(timer))
        dialog->FireTimer(timer);
  }
  std::vector<std::pair<float, float>> Points(int trace) const
  {
    std::vector<std::pair<float, float>> points;
    const CSpectrumData& data = dialog->TraceData(trace);
    for (int i = 0; i < data.GetIndexRange(); ++i)
      points.emplace_back(data.GetX(i), data.GetY(i));
    return points;
  }
  std::vector<float> Xs(int trace) const
  {
    std::vector<float> xs;
    for (auto [x, y] : Points(trace))
      xs.push_back(x);
    return xs;
  }
  // The newest point's x or y; none while the trace holds no point, so that a trace that plots
  // nothing fails its check instead of reading past its data.
  std::optional<float> LastX(int trace) const
  {
    const auto points = Points(trace);
    return points.empty() ? std::nullopt : std::optional<float>(points.back().first);
  }
  std::optional<float> LastY(int trace) const
  {
    const auto points = Points(trace);
    return points.empty() ? std::nullopt : std::optional<float>(points.back().second);
  }
  std::wstring Readout(int trace) const { return Text(kTraceReadoutIds[trace]); }

  static constexpr DWORD kStartTick = 0xFFFFF000u; // the tick count wraps while the traces run
  std::atomic<int> now{0};
  const std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
};
} // namespace

TEST_F(Traces, DefaultTracesPlotAtTheirTimeAndPauseLeavesNoGap)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  chain.UpdateServo(1, [this](SSimulatedServo& s) { s.StartWarming(200, origin); });
  for (int id : {IDC_TRACE1, IDC_TRACE2, IDC_TRACE3})
    ASSERT_TRUE(Click(id));
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 3);
  EXPECT_TRUE(dialog->IsTimerRunning(3));
  EXPECT_FALSE(dialog->IsTimerRunning(4));
  Type(IDC_FREE_FORMAT_TEXT, L"D9000");
  ASSERT_TRUE(Click(IDC_FREE_FORMAT_SEND));

  chain.ClearReceived();
  Pass(500);
  Sample();
  EXPECT_EQ(Traffic(), (std::vector<std::string>{"#1QD", "#1QCS", "#1QT"}));
  EXPECT_EQ(Points(0), (std::vector<std::pair<float, float>>{{1.0f, 3000.0f}})) << "60 degrees a second";
  EXPECT_EQ(Points(1), (std::vector<std::pair<float, float>>{{1.0f, 6000.0f}}));
  EXPECT_EQ(Points(2), (std::vector<std::pair<float, float>>{{1.0f, 2550.0f}}));
  EXPECT_EQ(Readout(0), L"3000");

  // Paused for two seconds: no samples, and the next one follows on without a gap.
  Pass(500);
  Sample();
  ASSERT_TRUE(Click(IDC_PAUSE));
  Pass(500);
  Sample();
  Pass(1500);
  ASSERT_TRUE(Click(IDC_PAUSE));
  Pass(500);
  Sample();
  EXPECT_EQ(Xs(1), (std::vector<float>{1.0f, 1.5f, 2.0f}));
  EXPECT_EQ(LastY(0), 9000.0f) << "arrived";
  EXPECT_EQ(LastY(1), 0.0f);
  for (int i = 0; i < 20; ++i) {
    Pass(500);
    Sample();
  }
  EXPECT_EQ(LastX(2), 12.0f);
  PumpEvents(100);
  SaveSnapshot(dialog.get(), "main_dialog_three_traces");

  // A trace switched off keeps its points and stops sampling; switched on, it goes on in time.
  ASSERT_TRUE(Click(IDC_TRACE2));
  EXPECT_FALSE(dialog->IsTimerRunning(2));
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 2);
  Pass(1000);
  ASSERT_TRUE(Click(IDC_TRACE2));
  Pass(500);
  Sample();
  EXPECT_EQ(LastX(1), 13.5f);

  // Restart: a new time base from the click, the old points gone.
  ASSERT_TRUE(Click(IDC_PAUSE));
  ASSERT_TRUE(Click(IDC_RESTART));
  EXPECT_FALSE(Get<wxToggleButton>(IDC_PAUSE)->GetValue()) << "Restart ends the pause";
  EXPECT_TRUE(Points(0).empty());
  EXPECT_EQ(Readout(2), L"");
  Pass(500);
  Sample();
  EXPECT_EQ(Xs(0), (std::vector<float>{1.0f}));
}

TEST_F(Traces, PausedBeforeTheStartOrAcrossAConnectionKeepsTheTime)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));
  EXPECT_FALSE(Click(IDC_PAUSE)) << "no servo, no trace to pause";
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  ASSERT_TRUE(Click(IDC_PAUSE)) << "pause may be pressed before any trace runs";
  Pass(5000);
  ASSERT_TRUE(Click(IDC_CONNECT)); // disconnect
  ASSERT_TRUE(Click(IDC_CONNECT)); // and connect again, still paused
  ASSERT_TRUE(Get<wxToggleButton>(IDC_PAUSE)->GetValue());
  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  Pass(1000);
  ASSERT_TRUE(Click(IDC_TRACE1));
  Pass(3000);
  ASSERT_TRUE(Click(IDC_PAUSE));
  Pass(500);
  Sample();
  EXPECT_EQ(Xs(0), (std::vector<float>{1.0f}));
}

TEST_F(Traces, NoServoOrNoAnswerPlotsNothing)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ChoosePort();
  ASSERT_TRUE(Click(IDC_CONNECT));
  ASSERT_TRUE(Click(IDC_TRACE1)) << "the trace boxes can be clicked without a servo";
  EXPECT_FALSE(Get<wxToggleButton>(IDC_TRACE1)->GetValue()) << "unchecked again";
  EXPECT_FALSE(dialog->IsTimerRunning(1));
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 0);

  ASSERT_TRUE(Choose(IDC_ID_COMBO, L"1 - "));
  ASSERT_TRUE(Click(IDC_TRACE1));
  ASSERT_TRUE(Click(IDC_TRACE3));
  // A query without an answer.
  chain.InjectFault({SSimFault::Silence, "#1QT"});
  Pass(500);
  Sample();
  EXPECT_EQ(Readout(2), L"Error");
  EXPECT_TRUE(Points(2).empty());

  // The servo stops answering the poll and is dropped: its traces end, their points kept.
  chain.InjectFault({SSimFault::Silence, "#1QD"});
  ASSERT_TRUE(dialog->FireTimer(0));
  ASSERT_EQ(dialog->CurrentId(), -1);
  EXPECT_FALSE(dialog->IsTimerRunning(1));
  EXPECT_FALSE(Get<wxToggleButton>(IDC_TRACE1)->GetValue());
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 0);
  EXPECT_EQ(Readout(0), L"");
  EXPECT_EQ(Points(0).size(), 1u);
  // Clicked without a servo, it stays off.
  ASSERT_TRUE(Click(IDC_TRACE1));
  EXPECT_FALSE(Get<wxToggleButton>(IDC_TRACE1)->GetValue());
  EXPECT_FALSE(dialog->IsTimerRunning(1));
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 0);
}

TEST_F(Traces, ATraceWhoseExpressionTakesTooLongIsSwitchedOffByName)
{
  app->WriteProfileString(L"Trace 1", L"Title", L"Slow one");
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Click(IDC_TRACE1));
  ASSERT_TRUE(Click(IDC_TRACE3));
  Pass(500);
  Sample();
  ASSERT_EQ(Points(0).size(), 1u);

  // Each reading of the tick count now comes 300 ms after the one before: so does the end of an
  // evaluation after its start.
  SetTickCountSource([this] { return DWORD(kStartTick + (now += 300)); });
  ASSERT_TRUE(dialog->FireTimer(1));
  EXPECT_FALSE(dialog->IsTimerRunning(1));
  EXPECT_FALSE(Get<wxToggleButton>(IDC_TRACE1)->GetValue());
  EXPECT_EQ(dialog->PlotWindow()->GetTraceCount(), 1);
  EXPECT_EQ(Points(0).size(), 1u);
  EXPECT_EQ(Readout(0), L"Error");
  EXPECT_EQ(Log().back(),
            L"The trace \"Slow one\" was stopped: its expression took 300 ms to evaluate, more than 250 ms.");
  EXPECT_TRUE(dialog->IsTimerRunning(3)) << "the others go on";

  // Switched on again, it samples again.
  SetTickCountSource([this] { return DWORD(kStartTick + now.load()); });
  ASSERT_TRUE(Click(IDC_TRACE1));
  Pass(500);
  Sample();
  EXPECT_EQ(Points(0).size(), 2u);
}

TEST_F(Traces, TheXAxisHoldsTheFirst30SecondsThenFollowsTheNewestSample)
{
  chain.AddServos(1, 1);
  OpenDialog();
  ConnectAndSelect(1);
  ASSERT_TRUE(Click(IDC_TRACE1));
  CZSpectrumWnd* plot = dialog->PlotWindow();
  for (int i = 0; i < 100 && Xs(0).size() < 59; ++i) {
    Pass(500);
    Sample();
  }
  ASSERT_EQ(LastX(0), 30.0f);
  EXPECT_TRUE(plot->IsXMaxFixed());
  EXPECT_EQ(plot->GetXMax(), 30.0f);

  Pass(500);
  Sample();
  ASSERT_EQ(LastX(0), 30.5f);
  EXPECT_FALSE(plot->IsXMaxFixed()) << "the axis now ends at the newest sample";
}
