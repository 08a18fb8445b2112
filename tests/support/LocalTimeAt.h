#pragma once
#include "WinTime.h"

// A local date and time for the time seam (SetLocalTimeSource), so that nothing a test checks
// depends on when it runs.
inline SYSTEMTIME LocalTimeAt(int year, int month, int day, int hour, int minute, int second,
                              int milliseconds)
{
  SYSTEMTIME t;
  t.wYear = WORD(year);
  t.wMonth = WORD(month);
  t.wDay = WORD(day);
  t.wHour = WORD(hour);
  t.wMinute = WORD(minute);
  t.wSecond = WORD(second);
  t.wMilliseconds = WORD(milliseconds);
  return t;
}
