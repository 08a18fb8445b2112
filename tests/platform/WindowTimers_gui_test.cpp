// Window timers under the real event loop and real timers: a handler that takes longer than its
// timer's period does not keep the window from painting or from taking a click.
#include "GuiTestSupport.h"
#include "WindowTimers.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d)
{
  return std::chrono::duration<double, std::milli>(d).count();
}

// Counts the ticks that reach it, by timer number.
struct CTickCounter : wxEvtHandler {
  CTickCounter()
  {
    Bind(wxEVT_TIMER, [this](wxTimerEvent& event) { ticks.push_back(event.GetId()); });
  }
  std::vector<int> ticks;
};
// An hour: only MarkDue brings these timers due within a test.
constexpr UINT kNever = 3'600'000;

// Calls f once after ms, from a plain timer that is not held to the rule under test.
void After(wxTimer& timer, int ms, std::function<void()> f)
{
  timer.Bind(wxEVT_TIMER, [f = std::move(f)](wxTimerEvent&) { f(); });
  timer.StartOnce(ms);
}
} // namespace

TEST(WindowTimers, SlowHandlerLeavesPaintAndClicksThrough)
{
  auto* frame = new wxFrame(nullptr, wxID_ANY, "timers", wxPoint(40, 40), wxSize(300, 200));
  auto* panel = new wxWindow(frame, wxID_ANY, wxPoint(0, 0), wxSize(300, 120));
  auto* button = new wxButton(frame, wxID_ANY, "Click", wxPoint(10, 130), wxSize(120, 40));
  std::vector<Clock::time_point> paints;
  panel->Bind(wxEVT_PAINT, [&](wxPaintEvent&) {
    wxPaintDC dc(panel);
    paints.push_back(Clock::now());
  });
  Clock::time_point clickHandled{};
  button->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { clickHandled = Clock::now(); });
  frame->Show();
  PumpEvents(200);

  // Each tick asks for a repaint and then keeps the loop for three periods. The run ends at a
  // tick too: a timer that starves everything else might starve the stop timer as well.
  constexpr auto kHandler = 60ms;
  constexpr auto kRun = 1500ms;
  wxGUIEventLoop loop;
  auto finish = [&] {
    if (loop.IsRunning())
      loop.Exit();
  };
  int ticks = 0;
  CWindowTimers timers(frame);
  const Clock::time_point start = Clock::now();
  frame->Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (Clock::now() - start >= kRun) {
      timers.KillAll();
      finish();
      return;
    }
    ++ticks;
    panel->Refresh();
    std::this_thread::sleep_for(kHandler);
  });
  paints.clear();
  timers.SetTimer(7, 20);

  wxUIActionSimulator simulator;
  Clock::time_point clickSent{};
  wxTimer click, stop;
  After(click, 600, [&] {
    simulator.MouseMove(button->ClientToScreen(wxPoint(60, 20)));
    clickSent = Clock::now();
    simulator.MouseClick();
  });
  After(stop, int(kRun.count()) + 500, finish);
  loop.Run();
  const Clock::time_point end = Clock::now();
  timers.KillAll();

  ASSERT_GE(paints.size(), 2u) << ticks << " ticks ran and the window was never painted";
  double longestGap = Ms(paints.front() - start);
  for (size_t i = 1; i < paints.size(); ++i)
    longestGap = std::max(longestGap, Ms(paints[i] - paints[i - 1]));
  longestGap = std::max(longestGap, Ms(end - paints.back()));
  RecordProperty("longest_paint_gap_ms", int(longestGap));
  // A paint waits for the tick under way, never for the next one; generous for a loaded machine.
  EXPECT_LT(longestGap, 4 * Ms(kHandler)) << paints.size() << " paints, " << ticks << " ticks";
  EXPECT_GE(paints.size() * 2, size_t(ticks)) << "a paint between most ticks";
  // Ticks that came due while a handler ran were delivered once each, not caught up on.
  EXPECT_LE(ticks, int(Ms(end - start) / Ms(kHandler)) + 2);
  EXPECT_GE(ticks, 10);

  ASSERT_NE(clickHandled, Clock::time_point{}) << "the click was not handled";
  EXPECT_LT(Ms(clickHandled - clickSent), 4 * Ms(kHandler));
  frame->Destroy();
  PumpEvents(20);
}

TEST(WindowTimers, DueTicksComeOnePerIdlePassAndOnceHoweverOftenDue)
{
  CTickCounter owner;
  CWindowTimers timers(&owner);
  timers.SetTimer(1, kNever);
  timers.SetTimer(2, kNever);
  timers.MarkDue(1);
  timers.MarkDue(2);
  timers.MarkDue(1); // due again before its tick was delivered
  EXPECT_TRUE(owner.ticks.empty()) << "not before idle time";
  wxTheApp->ProcessIdle();
  EXPECT_EQ(owner.ticks, (std::vector<int>{1})) << "input and paint get a look between two ticks";
  wxTheApp->ProcessIdle();
  wxTheApp->ProcessIdle();
  EXPECT_EQ(owner.ticks, (std::vector<int>{1, 2}));
}

TEST(WindowTimers, TickOfDestroyedTimersIsNeverDelivered)
{
  CTickCounter gone, other;
  auto timers = std::make_unique<CWindowTimers>(&gone);
  CWindowTimers otherTimers(&other);
  timers->SetTimer(1, kNever);
  otherTimers.SetTimer(5, kNever);
  timers->MarkDue(1);
  otherTimers.MarkDue(5);
  timers.reset(); // its window closed with the tick waiting
  wxTheApp->ProcessIdle();
  EXPECT_EQ(other.ticks, (std::vector<int>{5})) << "the first pass has the next live tick";
  EXPECT_TRUE(gone.ticks.empty());
}
