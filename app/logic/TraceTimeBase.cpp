#include "TraceTimeBase.h"

namespace {
// 0 means "not started", and the clock passes through 0 once in 49 days.
DWORD NonZero(DWORD tick)
{
  return tick == 0 ? 1 : tick;
}
} // namespace

void CTraceTimeBase::Start(DWORD now)
{
  if (IsStarted())
    return;
  m_startTick = NonZero(now);
  m_pausedTime = 0;
  // A pause taken before the start ends with time before the start, which is no tracing time.
  m_pauseStartTick = m_startTick;
}

void CTraceTimeBase::Restart(DWORD now)
{
  m_startTick = NonZero(now);
  m_pausedTime = 0;
  m_pauseStartTick = m_startTick;
  m_paused = false;
}

void CTraceTimeBase::Reset(DWORD now)
{
  m_startTick = 0;
  m_pausedTime = 0;
  m_pauseStartTick = now;
}

void CTraceTimeBase::Pause(DWORD now)
{
  m_paused = true;
  m_pauseStartTick = now;
}

void CTraceTimeBase::Resume(DWORD now)
{
  if (m_paused && IsStarted())
    m_pausedTime += now - m_pauseStartTick;
  m_paused = false;
}

double CTraceTimeBase::SampleX(DWORD now) const
{
  const DWORD running = now - m_startTick;
  const DWORD elapsed = m_pausedTime < running ? running - m_pausedTime : 0;
  return double(elapsed) / 1000.0 + 0.5;
}
