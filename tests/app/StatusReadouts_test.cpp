#include "StatusReadouts.h"

#include <gtest/gtest.h>

TEST(StatusReadouts, PositionInDegreesWithItsSign)
{
  EXPECT_EQ(PositionReadoutText(L"-1234"), L"- 12.34");
  EXPECT_EQ(PositionReadoutText(L"4500"), L"+ 45.00");
  EXPECT_EQ(PositionReadoutText(L"0"), L"-  0.00");
  EXPECT_EQ(PositionReadoutText(L"-36000"), L"-360.00");
  // A failed query stands the sent line in for the value.
  EXPECT_EQ(PositionReadoutText(L"#5QD"), L"-  0.00");
}

TEST(StatusReadouts, MotionStatusTextsAndColours)
{
  EXPECT_EQ(MotionStatusReadout(1).text, L"Limp");
  EXPECT_EQ(MotionStatusReadout(3).text, L"Traveling");
  EXPECT_EQ(MotionStatusReadout(5).colour, kStatusColour);
  EXPECT_EQ(MotionStatusReadout(7).text, L"Safe Mode");
  EXPECT_EQ(MotionStatusReadout(7).colour, 0x00C8C8u);
  EXPECT_EQ(MotionStatusReadout(8).colour, 0x0000C8u);
  for (int v : {0, 6, 9, -1}) {
    EXPECT_EQ(MotionStatusReadout(v).text, L"") << v;
    EXPECT_EQ(MotionStatusReadout(v).colour, 0x969600u) << v;
  }
  EXPECT_EQ(MotionStatusReadout(2).stepPeriod, 0u) << "\"Accelerating\" fits the 12 cells";
}

TEST(StatusReadouts, ErrorFlagsInTheirFixedOrder)
{
  SErrorReadout r = ErrorFlagsReadout(0);
  EXPECT_EQ(r.text, L"No Error");
  EXPECT_EQ(r.colour, 0x00C800u);
  EXPECT_FALSE(r.eepromError);

  r = ErrorFlagsReadout(0x0C00);
  EXPECT_EQ(r.text, L"EEPROM Check Sum - EEPROM Header Data");
  EXPECT_TRUE(r.eepromError);
  EXPECT_EQ(r.colour, 0x0000C8u);
  EXPECT_EQ(r.stepPeriod, 250u);

  r = ErrorFlagsReadout(0x0010);
  EXPECT_EQ(r.text, L"Blocked");
  EXPECT_EQ(r.stepPeriod, 0u);
  EXPECT_FALSE(r.eepromError);

  r = ErrorFlagsReadout(0x0001 | 0x0010 | 0x0200);
  EXPECT_EQ(r.text, L"Blocked - Negative Out Of Range - PCB Temperature Too High");

  r = ErrorFlagsReadout(0x2000);
  EXPECT_EQ(r.text, L"") << "bits outside the table add nothing";
  EXPECT_FALSE(r.eepromError);
}

TEST(StatusReadouts, BlinkingCaptionsAndBusyTexts)
{
  EXPECT_EQ(NextBlinkCaption(L"RESET", L"RESET", true), L"");
  EXPECT_EQ(NextBlinkCaption(L"", L"RESET", true), L"RESET");
  EXPECT_EQ(NextBlinkCaption(L"", L"DEFAULT", false), L"DEFAULT");
  EXPECT_EQ(NextBlinkCaption(L"DEFAULT", L"DEFAULT", false), L"DEFAULT");

  EXPECT_EQ(BusyStatusText(true, true, true), L"Firmware Update");
  EXPECT_EQ(BusyStatusText(false, true, true), L"Verifying Calibration");
  EXPECT_EQ(BusyStatusText(false, true, false), L"Calibrating");
  EXPECT_EQ(BusyStatusText(false, false, false), L"");
}

TEST(StatusReadouts, OnlyTheDialogsTimerNumbersHaveARole)
{
  EXPECT_EQ(TimerRole(0), ETimerRole::StatusPoll);
  EXPECT_EQ(TimerRole(1), ETimerRole::Trace);
  EXPECT_EQ(TimerRole(8), ETimerRole::Trace);
  EXPECT_EQ(TimerRole(10), ETimerRole::FirmwareWriter);
  EXPECT_EQ(TimerRole(11), ETimerRole::CalibrationSweep);
  for (UINT_PTR other : {UINT_PTR(9), UINT_PTR(12), UINT_PTR(99), UINT_PTR(-1)})
    EXPECT_EQ(TimerRole(other), ETimerRole::None) << other;
}
