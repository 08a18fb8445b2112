#pragma once
// How long the expressions of one trace sample or one custom action may take to evaluate. The
// evaluator bounds what a text may ask so that any text takes about 50 ms at most; this is the
// backstop should that bound ever fail for some operation: a trace sampled every 500 ms would
// otherwise hold the window at every tick. Measured on the tick count, the program's steady clock.
#include "WinTime.h"
#include "WinTypes.h"

inline constexpr DWORD kMaxEvaluationMs = 250;

// The milliseconds since it was made, on the tick count.
class CEvaluationStopwatch {
public:
  DWORD ElapsedMs() const { return GetTickCount() - m_start; }

private:
  DWORD m_start = GetTickCount();
};
