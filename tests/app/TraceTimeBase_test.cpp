#include "TraceTimeBase.h"

#include <gtest/gtest.h>

TEST(TraceTimeBase, PausedTimeIsLeftOutOfX)
{
  CTraceTimeBase clock;
  clock.Start(10000);
  EXPECT_TRUE(clock.IsStarted());
  EXPECT_DOUBLE_EQ(clock.SampleX(10500), 1.0);
  clock.Start(20000);
  EXPECT_DOUBLE_EQ(clock.SampleX(12000), 2.5) << "a second trace runs on the same clock";
  clock.Pause(12000);
  clock.Resume(15000);
  EXPECT_DOUBLE_EQ(clock.SampleX(16000), 3.5);
  clock.Restart(30000);
  EXPECT_DOUBLE_EQ(clock.SampleX(31000), 1.5);
  // The clock's wrap does not show.
  clock.Restart(0xFFFFFF00u);
  EXPECT_DOUBLE_EQ(clock.SampleX(0x100u), 0.512 + 0.5);
}

TEST(TraceTimeBase, PausesOutsideTracingTimeDoNotWrap)
{
  // Paused before the first trace starts: only the paused time after the start counts.
  CTraceTimeBase clock;
  clock.Pause(1000);
  clock.Start(5000);
  clock.Resume(6000);
  EXPECT_DOUBLE_EQ(clock.SampleX(8000), 2.5);

  // Connected while paused: the pause goes on from the connection, no start yet.
  clock.Pause(9000);
  clock.Reset(20000);
  EXPECT_FALSE(clock.IsStarted());
  clock.Resume(21000);
  clock.Start(22000);
  EXPECT_DOUBLE_EQ(clock.SampleX(23000), 1.5);
  clock.Pause(24000);
  clock.Reset(25000);
  clock.Start(26000);
  clock.Resume(27000);
  EXPECT_DOUBLE_EQ(clock.SampleX(28000), 1.5);
}
