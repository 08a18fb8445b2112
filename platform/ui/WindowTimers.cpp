#include "WindowTimers.h"

#include <wx/app.h>
#include <wx/timer.h>

#include <algorithm>
#include <deque>
#include <optional>

// Why ticks wait for idle time: a wxTimer on GTK runs its handler from a main-loop source of
// default priority, ahead of GTK's redraw and of wx's idle work. A handler that takes longer than
// its period (a calibration sample of three 20 ms-paced queries against a 50 ms timer) leaves the
// timer due whenever the loop looks, so nothing is painted until the timer stops. The wxTimer
// therefore only marks its tick due, and the tick is delivered from the application's idle event,
// which the loop sends only when no input, paint or posted event waits.
class CWindowTimers::CTimer : public wxTimer {
public:
  CTimer(CWindowTimers& timers, UINT_PTR id) : wxTimer(timers.m_owner, int(id)), m_timers(timers), m_id(id) {}
  void Notify() override { m_timers.MarkDue(m_id); }

private:
  CWindowTimers& m_timers;
  UINT_PTR m_id;
};

namespace {
struct SDueTick {
  CWindowTimers* timers;
  UINT_PTR id;
};

// Ticks waiting for idle time, of every window, in the order they came due; UI thread only.
std::deque<SDueTick>& DueTicks()
{
  static std::deque<SDueTick> due;
  return due;
}

// Every due tick of these timers, or only of timer id.
void ForgetDue(const CWindowTimers* timers, std::optional<UINT_PTR> id = std::nullopt)
{
  std::erase_if(DueTicks(),
                [&](const SDueTick& tick) { return tick.timers == timers && (!id || tick.id == *id); });
}
} // namespace

CWindowTimers::CWindowTimers(wxEvtHandler* owner) : m_owner(owner) {}

CWindowTimers::~CWindowTimers()
{
  KillAll();
  ForgetDue(this);
}

void CWindowTimers::SetTimer(UINT_PTR id, UINT elapse)
{
  auto& timer = m_timers[id];
  if (!timer)
    timer = std::make_unique<CTimer>(*this, id);
  ForgetDue(this, id);
  timer->Start(int(elapse > 0 ? elapse : 1));
}

void CWindowTimers::KillTimer(UINT_PTR id)
{
  auto it = m_timers.find(id);
  if (it != m_timers.end() && it->second)
    it->second->Stop();
  ForgetDue(this, id);
}

void CWindowTimers::KillAll()
{
  for (auto& entry : m_timers)
    entry.second->Stop();
  ForgetDue(this);
}

bool CWindowTimers::IsRunning(UINT_PTR id) const
{
  auto it = m_timers.find(id);
  return it != m_timers.end() && it->second->IsRunning();
}

UINT CWindowTimers::GetElapse(UINT_PTR id) const
{
  return IsRunning(id) ? UINT(m_timers.at(id)->GetInterval()) : 0;
}

bool CWindowTimers::Fire(UINT_PTR id)
{
  if (!IsRunning(id))
    return false;
  Deliver(id);
  return true;
}

void CWindowTimers::MarkDue(UINT_PTR id)
{
  wxAppConsole* app = wxAppConsole::GetInstance();
  if (!app) {
    Deliver(id);
    return;
  }
  static wxAppConsole* boundTo = nullptr;
  if (boundTo != app) {
    app->Bind(wxEVT_IDLE, &CWindowTimers::DeliverOneDueTick);
    boundTo = app;
  }
  std::deque<SDueTick>& due = DueTicks();
  if (std::none_of(due.begin(), due.end(),
                   [&](const SDueTick& tick) { return tick.timers == this && tick.id == id; }))
    due.push_back({this, id});
  app->WakeUpIdle();
}

void CWindowTimers::Deliver(UINT_PTR id)
{
  if (!IsRunning(id))
    return;
  wxTimerEvent event(*m_timers.at(id));
  m_owner->SafelyProcessEvent(event);
}

// One tick per pass, so that the loop looks for input and paint again before the next one.
void CWindowTimers::DeliverOneDueTick(wxIdleEvent& event)
{
  event.Skip();
  std::deque<SDueTick>& due = DueTicks();
  if (due.empty())
    return;
  const SDueTick tick = due.front();
  due.pop_front();
  tick.timers->Deliver(tick.id);
  if (!due.empty())
    event.RequestMore();
}
