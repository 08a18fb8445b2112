#include "ScopedEnvironment.h"
#include "WinTime.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

TEST(WinTime, SeamsReplaceAndRestoreTheClockAndSleep)
{
  DWORD fake = 0xFFFFFFF0u;
  SetTickCountSource([&] { return fake; });
  DWORD start = GetTickCount();
  fake += 0x20; // wraps past zero
  EXPECT_EQ(GetTickCount() - start, 0x20u) << "unsigned differences survive the wrap";

  std::vector<DWORD> slept;
  SetSleeper([&](DWORD ms) { slept.push_back(ms); });
  Sleep(5000);
  Sleep(0);
  EXPECT_EQ(slept, (std::vector<DWORD>{5000, 0}));

  SYSTEMTIME fixed;
  fixed.wYear = 2024;
  fixed.wMonth = 2;
  fixed.wDay = 29;
  fixed.wHour = 23;
  SetLocalTimeSource([&] { return fixed; });
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 2024);
  EXPECT_EQ(now.wDay, 29);
  GetLocalTime(nullptr);

  SetTickCountSource({});
  SetSleeper({});
  SetLocalTimeSource({});
  DWORD a = GetTickCount();
  Sleep(2);
  EXPECT_GE(GetTickCount() - a, 2u) << "the real sleep and clock are back";
  EXPECT_NE(GetTickCount(), fake);
}

namespace {
// The real clock's local time, and the calendar of the seconds read just before and after it.
struct SLocalTimeReading {
  SYSTEMTIME local;
  std::tm before, after;
};

SLocalTimeReading ReadLocalTime()
{
  SLocalTimeReading r{};
  const std::time_t before = std::time(nullptr);
  GetLocalTime(&r.local);
  const std::time_t after = std::time(nullptr);
  localtime_r(&before, &r.before);
  localtime_r(&after, &r.after);
  return r;
}
} // namespace

TEST(WinTime, LocalTimeFieldsMatchTheCalendar)
{
  // The real clock: the year may turn between the two readings.
  const SLocalTimeReading reading = ReadLocalTime();
  const SYSTEMTIME& t = reading.local;
  const std::tm &first = reading.before, &last = reading.after;
  EXPECT_GE(t.wYear, first.tm_year + 1900);
  EXPECT_LE(t.wYear, last.tm_year + 1900);
  EXPECT_GE(t.wMonth, 1);
  EXPECT_LE(t.wMonth, 12);
  EXPECT_GE(t.wDay, 1);
  EXPECT_LE(t.wDay, 31);
  EXPECT_LE(t.wDayOfWeek, 6);
  EXPECT_LE(t.wHour, 23);
  EXPECT_LE(t.wMilliseconds, 999);
}

// In a zone five and a half hours east of UTC no hour and minute of the day is the same in both,
// so a clock read as UTC shows.
TEST(WinTime, LocalTimeIsTheZonesTimeNotUtc)
{
  ScopedEnvironment zone("TZ", "<+0530>-5:30");
  tzset();
  auto minuteOf = [](const std::tm& t) {
    return ((t.tm_year * 13 + t.tm_mon) * 32 + t.tm_mday) * 1440 + t.tm_hour * 60 + t.tm_min;
  };
  const SLocalTimeReading reading = ReadLocalTime();
  const SYSTEMTIME& t = reading.local;
  const std::tm &first = reading.before, &last = reading.after;
  std::tm got{};
  got.tm_year = t.wYear - 1900;
  got.tm_mon = t.wMonth - 1;
  got.tm_mday = t.wDay;
  got.tm_hour = t.wHour;
  got.tm_min = t.wMinute;
  EXPECT_GE(minuteOf(got), minuteOf(first));
  EXPECT_LE(minuteOf(got), minuteOf(last));
  EXPECT_EQ(t.wDayOfWeek, got.tm_mday == first.tm_mday ? first.tm_wday : last.tm_wday);
  zone.Set(zone.Previous() ? zone.Previous()->c_str() : nullptr);
  tzset();
}
