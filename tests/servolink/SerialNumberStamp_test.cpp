// The two halves of the serial number stamped on a new board.
#include "CStringPrinting.h"
#include "LocalTimeAt.h"
#include "SerialNumberStamp.h"

#include <gtest/gtest.h>

TEST(SerialNumberStamp, HundredthsAreRoundedAndStopAt99)
{
  const std::pair<int, const wchar_t*>
      cases[] =
          {
              {0, L"09051200"},   {4, L"09051200"},  {5, L"09051201"},   {44, L"09051204"},
              {45, L"09051205"},  {46, L"09051205"}, {994, L"09051299"}, {995, L"09051299"},
              {999, L"09051299"}, // no 100th hundredth, and no carry into the seconds
          };
  for (const auto& [ms, text] : cases)
    EXPECT_EQ(SerialNumberTimeText(LocalTimeAt(2026, 1, 2, 9, 5, 12, ms)), CString(text)) << ms << " ms";
}

TEST(SerialNumberStamp, DateAndTimeKeepTheirLeadingZeros)
{
  const SYSTEMTIME t = LocalTimeAt(2026, 1, 2, 0, 0, 7, 0);
  EXPECT_EQ(SerialNumberDateText(t), L"20260102");
  EXPECT_EQ(SerialNumberTimeText(t), L"00000700");
}
