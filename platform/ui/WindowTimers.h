#pragma once
// Window timers as SetTimer/KillTimer have them: numbered timers of one window, a new SetTimer
// on a running number restarting it. Each tick arrives as wxEVT_TIMER at the owner with the
// timer's number as the event id.
//
// Ticks keep the window system's rule for timer messages: a tick is delivered only when the event
// loop has no input or paint waiting, one tick of any window's timers at a time, and a tick that
// comes due again before the last one was delivered (its handler still running, say) is delivered
// once, not queued up.
#include "WinTypes.h"

#include <map>
#include <memory>

class wxEvtHandler;
class wxIdleEvent;

class CWindowTimers {
public:
  explicit CWindowTimers(wxEvtHandler* owner);
  ~CWindowTimers();
  CWindowTimers(const CWindowTimers&) = delete;
  CWindowTimers& operator=(const CWindowTimers&) = delete;

  void SetTimer(UINT_PTR id, UINT elapse);
  void KillTimer(UINT_PTR id);
  void KillAll();
  bool IsRunning(UINT_PTR id) const;
  // The period of a running timer in ms, 0 when it is not running.
  UINT GetElapse(UINT_PTR id) const;
  // Delivers one tick of a running timer now, whatever else waits; false when it is not running.
  // Tests step timers with it instead of waiting.
  bool Fire(UINT_PTR id);
  // What a timer does when it comes due: its tick waits for the application's next idle pass,
  // once however often it comes due meanwhile. Tests bring ticks due with it instead of waiting.
  void MarkDue(UINT_PTR id);

private:
  class CTimer;

  void Deliver(UINT_PTR id);
  static void DeliverOneDueTick(wxIdleEvent& event);

  wxEvtHandler* m_owner;
  std::map<UINT_PTR, std::unique_ptr<CTimer>> m_timers;
};
