// The histogram: AddCount takes the nearest bin position, GetCount the interval that starts there.
#include <ZSpectrumData/CHistogram.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(CHistogram, AddCountTakesTheNearestBinAndGetCountTheIntervalBelow)
{
  CHistogram histogram(L"Counts", 5);
  EXPECT_EQ(histogram.SetLimitsFromFirstBin(0, 1), 1);
  EXPECT_EQ(histogram.GetBinSize(), 1.0f);
  EXPECT_EQ(histogram.AddCount(2.4f, 1), 0);
  histogram.AddCount(2.6f, 2);
  EXPECT_EQ(histogram.GetY(2), 1.0f);
  EXPECT_EQ(histogram.GetY(3), 2.0f);
  EXPECT_EQ(histogram.GetCount(2.6f), 1);
  EXPECT_EQ(histogram.GetCount(3.0f), 2);
  EXPECT_EQ(histogram.GetMaxCount(), 2);

  // With resolution 0 nothing beyond the last position counts; GetCount reads 0 past the last bin.
  histogram.AddCount(4.01f, 5);
  histogram.AddCount(-0.01f, 5);
  EXPECT_EQ(histogram.GetMaxCount(), 2);
  EXPECT_EQ(histogram.GetCount(5.0f), 0);
  EXPECT_EQ(histogram.GetCount(-0.5f), 0);
  // Half the resolution widens the accepted range; the value still needs a bin inside the window.
  histogram.SetResolution(1);
  histogram.AddCount(-0.4f, 3);
  histogram.AddCount(4.5f, 7);
  EXPECT_EQ(histogram.GetY(0), 3.0f);
  EXPECT_EQ(histogram.GetMaxCount(), 3);

  EXPECT_EQ(histogram.GetRangeMax(), 5.0f);
  EXPECT_EQ(histogram.GetFullRange(), 5.0f);
  // Setting the bins again clears the counts.
  histogram.SetLimitsFromFirstBin(10, 0.5f);
  EXPECT_EQ(histogram.GetMaxCount(), 0);
  EXPECT_EQ(histogram.GetX(4), 12.0f);
}

TEST(CHistogram, ValuesWithoutAFiniteBinCountNowhere)
{
  // Bins of width 0: every quotient is 0 / 0.
  CHistogram flat(L"Flat", 3);
  flat.SetLimitsFromFirstBin(5, 0);
  flat.AddCount(5, 1);
  EXPECT_EQ(flat.GetMaxCount(), 0);
  EXPECT_EQ(flat.GetCount(5), 0);

  // A huge tolerance lets in values whose bin number no int holds.
  CHistogram tiny(L"Tiny", 3);
  tiny.SetLimitsFromFirstBin(0, 1e-30f);
  tiny.SetResolution(std::numeric_limits<float>::max());
  tiny.AddCount(1e30f, 1);
  tiny.AddCount(-1e30f, 1);
  tiny.AddCount(std::numeric_limits<float>::quiet_NaN(), 1);
  EXPECT_EQ(tiny.GetMaxCount(), 0);

  CHistogram one(L"One", 1);
  one.SetLimitsFromFirstBin(2, 1);
  EXPECT_EQ(one.GetRangeMax(), 0.0f); // x[1] reads as 0: 2 + (0 - 2)
  EXPECT_EQ(one.GetFullRange(), -2.0f);
  CHistogram none(L"None", 0);
  EXPECT_EQ(none.GetMaxCount(), 0);
  EXPECT_EQ(none.AddCount(0, 1), 0);
}
