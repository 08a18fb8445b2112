#pragma once
// Tick count, local time and sleep as the program's code expects them, each behind a seam that a
// test can replace (so that waits of seconds cost nothing and the clock can be set).
#include "WinTypes.h"

#include <functional>

struct SYSTEMTIME {
  WORD wYear = 0;
  WORD wMonth = 0; // 1..12
  WORD wDayOfWeek = 0; // 0 = Sunday
  WORD wDay = 0;
  WORD wHour = 0;
  WORD wMinute = 0;
  WORD wSecond = 0;
  WORD wMilliseconds = 0;
};

// Milliseconds of the monotonic clock as 32 bits: differences taken as DWORD survive the wrap.
DWORD GetTickCount();
void GetLocalTime(SYSTEMTIME* time);
void Sleep(DWORD milliseconds);

// Seams. An empty function restores the real clock or sleep.
void SetTickCountSource(std::function<DWORD()> source);
void SetLocalTimeSource(std::function<SYSTEMTIME()> source);
void SetSleeper(std::function<void(DWORD)> sleeper);
