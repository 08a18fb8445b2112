#include "WinTime.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

namespace {
struct Seams {
  std::mutex lock;
  std::function<DWORD()> tick;
  std::function<SYSTEMTIME()> localTime;
  std::function<void(DWORD)> sleeper;
};

Seams& TheSeams()
{
  static Seams seams;
  return seams;
}

template <typename F> F Copy(F& f)
{
  std::lock_guard guard(TheSeams().lock);
  return f;
}
} // namespace

DWORD GetTickCount()
{
  if (auto source = Copy(TheSeams().tick))
    return source();
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return DWORD(uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

void GetLocalTime(SYSTEMTIME* time)
{
  if (!time)
    return;
  if (auto source = Copy(TheSeams().localTime)) {
    *time = source();
    return;
  }
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  time->wYear = WORD(local.tm_year + 1900);
  time->wMonth = WORD(local.tm_mon + 1);
  time->wDayOfWeek = WORD(local.tm_wday);
  time->wDay = WORD(local.tm_mday);
  time->wHour = WORD(local.tm_hour);
  time->wMinute = WORD(local.tm_min);
  time->wSecond = WORD(local.tm_sec);
  time->wMilliseconds = WORD(ms);
}

void Sleep(DWORD milliseconds)
{
  if (auto sleeper = Copy(TheSeams().sleeper)) {
    sleeper(milliseconds);
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SetTickCountSource(std::function<DWORD()> source)
{
  std::lock_guard guard(TheSeams().lock);
  TheSeams().tick = std::move(source);
}

void SetLocalTimeSource(std::function<SYSTEMTIME()> source)
{
  std::lock_guard guard(TheSeams().lock);
  TheSeams().localTime = std::move(source);
}

void SetSleeper(std::function<void(DWORD)> sleeper)
{
  std::lock_guard guard(TheSeams().lock);
  TheSeams().sleeper = std::move(sleeper);
}
