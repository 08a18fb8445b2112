#pragma once
// Window timers as SetTimer/KillTimer have them: numbered timers of one window, a new SetTimer
// on a running number restarting it. Each tick arrives as wxEVT_TIMER at the owner with the
// timer's number as the event id.
#include "WinTypes.h"

#include <map>
#include <memory>

class wxEvtHandler;
class wxTimer;

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
  // Delivers one tick of a running timer now, as the timer itself would; false when it is not
  // running. Tests step timers with it instead of waiting.
  bool Fire(UINT_PTR id);

private:
  wxEvtHandler* m_owner;
  std::map<UINT_PTR, std::unique_ptr<wxTimer>> m_timers;
};
