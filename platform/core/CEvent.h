#pragma once
// A kernel-style event: manual reset (stays set until ResetEvent) or auto reset (one waiter
// takes it). Used where one thread waits, with a time limit, for another to finish a job.
#include "WinTypes.h"

#include <condition_variable>
#include <mutex>

constexpr DWORD INFINITE = 0xFFFFFFFF;

class CEvent {
public:
  explicit CEvent(bool initiallyOwn = false, bool manualReset = false);
  CEvent(const CEvent&) = delete;
  CEvent& operator=(const CEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  // True when the event was set within the time (INFINITE waits for ever).
  bool Lock(DWORD timeoutMs = INFINITE);

private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  bool m_set;
  bool m_manualReset;
};
