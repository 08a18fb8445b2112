#pragma once
// The clock the live traces share: when tracing started, and how much of the time since then was
// spent paused. Ticks are GetTickCount values; differences are taken as 32-bit unsigned numbers,
// so they survive the clock's wrap, and only pauses inside the tracing time count, so the
// difference never goes below zero.
#include "WinTypes.h"

class CTraceTimeBase {
public:
  bool IsStarted() const { return m_startTick != 0; }
  bool IsPaused() const { return m_paused; }

  // The first trace switched on starts the clock; later ones run on the same clock.
  void Start(DWORD now);
  // The Restart button: a fresh start now, no paused time and no pause.
  void Restart(DWORD now);
  // Connecting: tracing has not started and nothing was paused yet. A pause in progress goes on.
  void Reset(DWORD now);

  void Pause(DWORD now);
  void Resume(DWORD now);

  // Seconds of tracing time, less finished pauses, plus half a sampling period: the x of a sample.
  double SampleX(DWORD now) const;

private:
  DWORD m_startTick = 0;      // 0: not started
  DWORD m_pausedTime = 0;     // ms of finished pauses since the start
  DWORD m_pauseStartTick = 0; // when the pause in progress began, or the start if that was later
  bool m_paused = false;
};
