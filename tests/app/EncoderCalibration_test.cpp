#include "EncoderCalibration.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(EncoderCalibration, SampleFromStepCountsAndReportedPosition)
{
  const SCalibrationSample sample = CalibrationSampleFromReplies(1280000, 9050, 1280000);
  EXPECT_FLOAT_EQ(sample.angle, 90.0f);
  EXPECT_NEAR(sample.error, 0.5f, 1e-5);
  // The clockwise sweep files it by the reported 90.5 degrees, the counter-clockwise one by the
  // motor's 90.
  EXPECT_EQ(CalibrationBucket(sample, ESweep::Clockwise), 91);
  EXPECT_EQ(CalibrationBucket(sample, ESweep::CounterClockwise), 90);
}

TEST(EncoderCalibration, BucketsTruncateTowardZeroAndStayInTheTable)
{
  EXPECT_EQ(CalibrationBucket(-1.49f), 0);
  EXPECT_EQ(CalibrationBucket(0.49f), 0);
  EXPECT_EQ(CalibrationBucket(-1.5f), 359);
  EXPECT_EQ(CalibrationBucket(-2.49f), 359);
  EXPECT_EQ(CalibrationBucket(179.6f), 180);
  EXPECT_EQ(CalibrationBucket(-179.6f), 181);
  // An angle far off the sweep (a wild step count) has no bucket at all.
  for (float wild : {359.5f, 400.0f, -400.0f, 1e30f, -1e30f, NAN, INFINITY})
    EXPECT_EQ(CalibrationBucket(wild), -1) << wild;
}

TEST(EncoderCalibration, OnlyPositionsStrictlyInsideTheHalfTurnsAreCounted)
{
  SCalibrationTables tables;
  EXPECT_FALSE(RecordCalibrationSample(tables, {179.5f, 0.5f}, ESweep::Clockwise));
  EXPECT_FALSE(RecordCalibrationSample(tables, {-179.5f, -0.5f}, ESweep::CounterClockwise));
  // A counter-clockwise angle beyond the table with an error that brings the position back in.
  EXPECT_FALSE(RecordCalibrationSample(tables, {400.0f, -300.0f}, ESweep::CounterClockwise));
  EXPECT_EQ(tables.cwCount, SCalibrationTables().cwCount);
  EXPECT_EQ(tables.ccwCount, SCalibrationTables().ccwCount);

  EXPECT_TRUE(RecordCalibrationSample(tables, {90.0f, 0.5f}, ESweep::Clockwise));
  EXPECT_TRUE(RecordCalibrationSample(tables, {90.3f, 0.25f}, ESweep::Clockwise));
  EXPECT_EQ(tables.cwCount[91], 2);
  EXPECT_FLOAT_EQ(tables.cwSum[91], 0.75f);
}

TEST(EncoderCalibration, CurvesFromTheSweepsMeans)
{
  SCalibrationTables tables;
  tables.cwCount[10] = 2;
  tables.cwSum[10] = 1.0f;
  tables.ccwCount[10] = 1;
  tables.ccwSum[10] = 0.7f;
  tables.cwCount[20] = 4;
  tables.cwSum[20] = 0.8f;
  const SCalibrationCurves curves = FinishCalibrationCurves(tables);
  EXPECT_FLOAT_EQ(curves.cw[10], 0.5f);
  EXPECT_FLOAT_EQ(curves.error[10], 0.6f);
  EXPECT_FLOAT_EQ(curves.lag[10], 0.2f);
  // Reached by the clockwise sweep only.
  EXPECT_FLOAT_EQ(curves.error[20], 0.1f);
  EXPECT_FLOAT_EQ(curves.lag[20], -0.2f);
  // Reached by neither.
  EXPECT_EQ(curves.cw[30], 0.0f);
  EXPECT_EQ(curves.error[30], 0.0f);
  EXPECT_EQ(curves.lag[30], 0.0f);
  EXPECT_FLOAT_EQ(tables.error[10], 0.6f);
}

TEST(EncoderCalibration, UploadNegatesAndRoundsHalvesAwayFromZero)
{
  EXPECT_EQ(CalibrationUploadValue(0.123f), -12);
  EXPECT_EQ(CalibrationUploadValue(-0.125f), 13);
  EXPECT_EQ(CalibrationUploadValue(0.0f), 0);
  EXPECT_EQ(CalibrationUploadValue(0.005f), -1);
  // Beyond a 16-bit number the value is held at its end instead of wrapping to the other sign.
  EXPECT_EQ(CalibrationUploadValue(400.0f), -32767);
  EXPECT_EQ(CalibrationUploadValue(-400.0f), 32767);
  // Which values the upload carries without holding them.
  for (float fits : {0.0f, 327.67f, -327.67f, 327.674f})
    EXPECT_TRUE(CalibrationUploadFits(fits)) << fits;
  for (float held : {327.68f, -327.68f, 500.0f, 1e30f, -INFINITY, NAN})
    EXPECT_FALSE(CalibrationUploadFits(held)) << held;
}
