// Element access, bulk copies, the index and trace windows, searching, interpolating, limits and
// the simple transforms.
#include "CStringPrinting.h"
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

CSpectrumData Line(std::vector<float> xs, std::vector<float> ys)
{
  CSpectrumData data(L"Line", int(xs.size()), 1);
  for (int i = 0; i < int(xs.size()); ++i) {
    data.SetX(i, xs[size_t(i)]);
    data.SetY(i, ys[size_t(i)]);
  }
  return data;
}

} // namespace

TEST(CSpectrumDataAccess, GuardedAccessorsReadZeroAndWriteNothingOutsideTheWindows)
{
  CSpectrumData data(L"G", 5, 2);
  FillGrid(data);
  data.SetFirstIndex(1);
  data.SetLastIndex(3);

  EXPECT_EQ(data.GetX(0), 0.0f); // below first: the stored value, which is 0 here
  data.SetFirstIndex(0);
  data.SetX(0, 7.0f);
  data.SetFirstIndex(1);
  EXPECT_EQ(data.GetX(0), 7.0f);
  EXPECT_EQ(data.GetX(4), 0.0f);
  EXPECT_EQ(data.GetX(-1), 0.0f);
  EXPECT_EQ(data.GetX(INT_MIN), 0.0f);

  EXPECT_EQ(data.GetY(-5), 1.0f); // clamped to first
  EXPECT_EQ(data.GetY(4), 3.0f);  // clamped to last
  EXPECT_EQ(data.GetY(5), 0.0f);  // beyond the vector
  EXPECT_EQ(data.GetY(1, INT_MIN), 101.0f);
  EXPECT_EQ(data.GetY(2, 2), 0.0f);
  EXPECT_EQ(data.GetY(-1, 2), 0.0f);
  EXPECT_EQ(data.GetY(INT_MAX, INT_MAX), 0.0f);
  EXPECT_FLOAT_EQ(data.GetLogY(1, 2), 2.0086002f);
  EXPECT_EQ(data.GetLogY(-1, 2), 0.0f);

  data.SetX(4, 9.0f);
  data.SetY(0, 9.0f);
  data.SetY(-1, 2, 9.0f);
  data.SetY(2, 2, 9.0f);
  data.SetY(INT_MIN, 2, 9.0f);
  data.Mask(4, true);
  data.Mask(-1, true);
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 1, 2, 3, 4}));
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{100, 101, 102, 103, 104}));
  EXPECT_FALSE(data.IsMasked(-1));
  EXPECT_FALSE(data.IsMasked(INT_MIN));
  EXPECT_FALSE(data.IsMasked(4));
  data.Mask(2, true);
  EXPECT_TRUE(data.IsMasked(2));

  // z: a trace outside the trace window reads the current trace's z.
  data.SetArrayIndex(0);
  data.SetLastArrayIndex(0);
  EXPECT_EQ(data.GetZ(1), 0.0f);
  data.SetLastArrayIndex(1);
  data.SetArrayIndex(1);
  EXPECT_EQ(data.GetZ(1), 10.0f);
  EXPECT_EQ(data.GetZ(-3), 10.0f);
  data.SetZ(-1, 5.0f);
  data.SetZ(2, 5.0f);
  EXPECT_EQ(data.GetZ(0), 0.0f);

  CSpectrumData invalid;
  invalid.SetZ(0, 3.0f);
  EXPECT_EQ(invalid.GetZ(0), 0.0f);
  EXPECT_EQ(invalid.GetLogY(0), 0.0f);
  EXPECT_FALSE(invalid.IsMasked(0));
}

TEST(CSpectrumDataAccess, BulkCopiesCoverTheWindowAndCheckTheTrace)
{
  CSpectrumData data(L"B", 5, 2);
  data.SetFirstIndex(1);
  data.SetLastIndex(3);
  const float values[] = {1, 2, 3};
  const double doubles[] = {0.5, 1.5, 2.5};
  data.SetYData(values, -1);
  data.SetYData(values, 2);
  data.SetYData(values, INT_MIN);
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>(5, 0.0f)));
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>(5, 0.0f)));

  data.SetYData(doubles, 1);
  data.SetXData(values);
  data.SetYData(static_cast<const float*>(nullptr), 0);
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{0, 0.5f, 1.5f, 2.5f, 0}));
  double x[3] = {};
  data.GetXData(x);
  EXPECT_EQ(x[2], 3.0);
  float y[3] = {9, 9, 9};
  data.GetYData(y, 5);
  EXPECT_EQ(y[0], 0.0f);
  data.GetYData(y, 1);
  EXPECT_EQ(y[1], 1.5f);

  const double z[] = {4, 8};
  data.SetZData(z);
  float zBack[2] = {};
  data.GetZData(zBack);
  EXPECT_EQ(zBack[1], 8.0f);
}

// The bulk copies read the arrays directly; every value must be what GetX and GetY read.
TEST(CSpectrumDataAccess, BulkCopiesReadWhatTheAccessorsRead)
{
  std::mt19937 random(20261210);
  for (int round = 0; round < 200; ++round) {
    const int points = int(random() % 40), traces = 1 + int(random() % 3);
    CSpectrumData data(L"Bulk", points, traces);
    for (int i = 0; i < points; ++i) {
      data.SetX(i, float(random() % 1000) - 500);
      for (int t = 0; t < traces; ++t)
        data.SetY(t, i, float(random() % 1000) / 7);
    }
    if (points > 0) {
      const int first = int(random() % unsigned(points));
      data.SetFirstIndex(first);
      data.SetLastIndex(first + int(random() % unsigned(points - first)));
    }
    if (round % 7 == 0)
      data.AddPoint(1, 2); // arrays grown ahead of the points
    const int n = std::max(data.GetIndexRange(), 0);
    std::vector<float> xs(size_t(n) + 1, -1), ys(size_t(n) + 1, -1);
    std::vector<double> xd(size_t(n) + 1, -1), yd(size_t(n) + 1, -1);
    data.GetXData(xs.data());
    data.GetXData(xd.data());
    for (int k = 0; k < n; ++k) {
      ASSERT_EQ(xs[size_t(k)], data.GetX(data.GetFirstIndex() + k)) << round;
      ASSERT_EQ(xd[size_t(k)], double(data.GetX(data.GetFirstIndex() + k))) << round;
    }
    if (n > 0) { // (an empty data set's window still spans point 0)
      EXPECT_EQ(xs[size_t(n)], -1) << "nothing past the window is written";
    }
    for (int t : {-1, 0, traces - 1, traces, INT_MAX}) {
      data.GetYData(ys.data(), t);
      data.GetYData(yd.data(), t);
      for (int k = 0; k < n; ++k) {
        ASSERT_EQ(ys[size_t(k)], data.GetY(t, data.GetFirstIndex() + k)) << round << " trace " << t;
        ASSERT_EQ(yd[size_t(k)], double(data.GetY(t, data.GetFirstIndex() + k))) << round << " trace " << t;
      }
      if (n > 0) {
        EXPECT_EQ(ys[size_t(n)], -1);
      }
    }
  }
}

TEST(CSpectrumDataAccess, WindowSettersKeepTheirBounds)
{
  CSpectrumData data(L"W", 10, 3);
  FillGrid(data);
  data.SetFirstIndex(-1);
  data.SetFirstIndex(10);
  data.SetLastIndex(10);
  EXPECT_EQ(data.GetFirstIndex(), 0);
  EXPECT_EQ(data.GetLastIndex(), 9);
  data.SetFirstIndex(2.2f);
  data.SetLastIndex(6.6f);
  EXPECT_EQ(data.GetFirstIndex(), 2);
  EXPECT_EQ(data.GetLastIndex(), 7);
  EXPECT_EQ(data.GetIndexRange(), 6);

  data.SetFirstArrayIndex(-4);
  data.SetLastArrayIndex(99);
  EXPECT_EQ(data.GetFirstArrayIndex(), 0);
  EXPECT_EQ(data.GetLastArrayIndex(), 2);
  data.SetFirstArrayIndex(1);
  data.SetArrayIndex(0);
  EXPECT_EQ(data.GetArrayIndex(), 1);
  data.SetArrayIndex(INT_MAX);
  EXPECT_EQ(data.GetArrayIndex(), 2);
  EXPECT_EQ(data.GetArrayIndex(12.0f), 1);

  CSpectrumData empty;
  empty.SetFirstIndex(0);
  empty.SetLastIndex(0);
  EXPECT_EQ(empty.GetIndexRange(), 0);
  EXPECT_EQ(empty.GetIndex(3.0f), 0);
}

TEST(CSpectrumDataAccess, GetIndexFindsTheNearestPointWithTiesToTheLowerOne)
{
  CSpectrumData data = Line({1, 2, 3}, {0, 0, 0});
  EXPECT_EQ(data.GetIndex(1.5f), 0);
  EXPECT_EQ(data.GetIndex(1.6f), 1);
  EXPECT_EQ(data.GetIndex(10.0f), 2);
  EXPECT_EQ(data.GetIndex(-5.0f), 0);
  EXPECT_EQ(data.GetIndex(NAN), 0);

  data.Mask(1, true);
  EXPECT_EQ(data.GetIndex(1.9f), 1);
  data.EnableMask(true);
  EXPECT_EQ(data.GetIndex(1.9f), 0);
  EXPECT_EQ(data.GetIndex(2.1f), 2);
  data.Mask(0, true);
  data.Mask(2, true);
  EXPECT_EQ(data.GetIndex(0.0f), 2);
}

TEST(CSpectrumDataAccess, InterpolationIsZeroOutsideUnlessTheEndsAreAskedFor)
{
  CSpectrumData data = Line({0, 1, 2}, {10, 20, 40});
  EXPECT_FLOAT_EQ(data.GetY(1.5f, false), 30.0f);
  EXPECT_EQ(data.GetY(-1.0f, false), 0.0f);
  EXPECT_EQ(data.GetY(3.0f, false), 0.0f);
  EXPECT_EQ(data.GetY(-1.0f, true), 10.0f);
  EXPECT_EQ(data.GetY(3.0f, true), 40.0f);
  EXPECT_EQ(Line({0, 2, 1}, {1, 2, 3}).GetY(2.5f, true), 0.0f);

  CSpectrumData empty;
  EXPECT_EQ(empty.GetY(1.0f, true), 0.0f);
  EXPECT_EQ(empty.GetY(1.0f, false), 0.0f);
  int pos = 0;
  EXPECT_EQ(empty.GetY(1.0f, pos), 0.0f);

  CSpectrumData two(L"Two", 3, 2);
  FillGrid(two);
  EXPECT_FLOAT_EQ(two.GetY(1, 0.5f), 100.5f);
  EXPECT_EQ(two.GetY(2, 0.5f), 0.0f);
  EXPECT_EQ(two.GetY(-1, 0.5f), 0.0f);

  // Sequential lookups carry the upper point of the pair in pos.
  pos = -5;
  EXPECT_FLOAT_EQ(two.GetY(1, 0.25f, pos), 100.25f);
  EXPECT_EQ(pos, 1);
  EXPECT_FLOAT_EQ(two.GetY(1.75f, pos), 1.75f);
  EXPECT_EQ(pos, 2);
  pos = 100;
  EXPECT_EQ(two.GetY(1.75f, pos), 0.0f);
  pos = 0;
  EXPECT_EQ(two.GetY(-1, 0.5f, pos), 0.0f);
  EXPECT_EQ(two.GetY(INT_MAX, 0.5f, pos), 0.0f);
  EXPECT_EQ(two.GetY(0.0f, 0.0f, pos, pos), 0.0f);
}

TEST(CSpectrumDataAccess, InterpolationAcrossTracesUsesTheZValues)
{
  CSpectrumData data(L"Z", 2, 3);
  FillGrid(data);
  data.SetZ(2, 30.0f);
  int pos = 0;
  EXPECT_FLOAT_EQ(data.GetY(5.0f, 1, pos), 51.0f);
  EXPECT_EQ(pos, 0);
  EXPECT_FLOAT_EQ(data.GetY(20.0f, 1, pos), 151.0f);
  EXPECT_EQ(pos, 1);
  EXPECT_FLOAT_EQ(data.GetLogY(10.0f, 1, pos), std::log10(101.0f));
  EXPECT_EQ(data.GetY(31.0f, 1, pos), 0.0f);
  EXPECT_EQ(data.GetY(5.0f, -1, pos), 0.0f);
  EXPECT_EQ(data.GetY(5.0f, 2, pos), 0.0f);
  pos = INT_MIN;
  EXPECT_FLOAT_EQ(data.GetY(25.0f, 0, pos), 175.0f);
  data.SetZ(1, 0.0f); // no longer rising
  pos = 0;
  EXPECT_EQ(data.GetY(25.0f, 0, pos), 0.0f);
}

TEST(CSpectrumDataAccess, LimitsScanEveryTraceAndSkipMaskedPoints)
{
  CSpectrumData data(L"L", 5, 2);
  FillGrid(data);
  data.SetY(0, 2, -50.0f);
  data.SetFirstIndex(1);
  data.RecalcLimits();
  EXPECT_EQ(data.GetYMin(), -50.0f);
  EXPECT_EQ(data.GetYMax(), 104.0f);
  EXPECT_EQ(data.GetYRange(), 154.0f);
  EXPECT_EQ(data.GetIndexOfMinY(), 2);
  EXPECT_EQ(data.GetIndexOfMaxY(), 4);
  EXPECT_EQ(data.GetXMin(), 1.0f);
  EXPECT_EQ(data.GetXMax(), 4.0f);
  EXPECT_EQ(data.GetXRange(), 3.0f);
  EXPECT_FLOAT_EQ(data.GetLogYMin(), std::log10(50.0f));
  EXPECT_FLOAT_EQ(data.GetLogYRange(), std::log10(104.0f) - std::log10(50.0f));

  data.EnableMask(true);
  data.Mask(2, true);
  data.Mask(4, true);
  float min = 0, max = 0;
  data.GetYMinMax(min, max);
  EXPECT_EQ(min, 1.0f);
  EXPECT_EQ(max, 103.0f);
  EXPECT_EQ(data.GetYMin(1, 1.0f, 3.0f), 101.0f);
  EXPECT_EQ(data.GetYMax(0, 1.0f, 3.0f), 3.0f);
  EXPECT_EQ(data.GetYMax(2, 1.0f, 3.0f), 0.0f);

  data.SetYMin(200.0f);
  EXPECT_EQ(data.GetYMin(), 1.0f);
  data.SetYMin(-3.0f);
  EXPECT_EQ(data.GetYRange(), 106.0f);

  data.SetYScale(0.0f);
  EXPECT_EQ(data.GetYScale(), 1.0f);
  data.SetYScale(2.0f);
  data.RecalcLimits();
  EXPECT_EQ(data.GetYScale(), 2.0f);

  CSpectrumData empty;
  EXPECT_EQ(empty.GetYRange(true), 0.0f);
  EXPECT_EQ(empty.GetLogYRange(true), 0.0f);
  EXPECT_EQ(empty.GetXMax(true), 0.0f);
}

TEST(CSpectrumDataAccess, TransformsWorkOnTheWindowOfTheCurrentTrace)
{
  CSpectrumData data(L"T", 4, 2);
  FillGrid(data);
  data.SetArrayIndex(1);
  data.SetLastIndex(2);
  data.ShiftX(1.0f);
  data.MultX(2.0f);
  data.ShiftY(1.0f);
  data.MultY(-1.0f);
  EXPECT_EQ(XValues(data), (std::vector<float>{2, 4, 6}));
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{-101, -102, -103, 103}));
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 1, 2, 3}));

  data.ReverseXOrder();
  EXPECT_EQ(XValues(data), (std::vector<float>{6, 4, 2}));
  EXPECT_EQ(TraceValues(data, 1), (std::vector<float>{-103, -102, -101, 103}));

  data.SetX(1, 0.0f);
  data.InvertX();
  EXPECT_EQ(XValues(data), (std::vector<float>{0.5f, 0.0f, 1.0f / 6.0f}));

  data.FillXValues(10.0f, 3.0f);
  EXPECT_EQ(XValues(data), (std::vector<float>{10, 11, 12}));
  data.SetFirstIndex(1);
  data.FillXValues(4.0f, true); // counts from point 0
  EXPECT_EQ(XValues(data), (std::vector<float>{2, 4}));
  data.FillXValues(4.0f, false);
  EXPECT_EQ(XValues(data), (std::vector<float>{4, 6}));

  data.RecalcLimits();
  data.ScaleTo(0.0f);
  EXPECT_EQ(data.GetYScale(), 1.0f);
  data.ScaleTo(data.GetYRange() * 4);
  EXPECT_EQ(data.GetYScale(), 4.0f);

  CSpectrumData flat(L"F", 3, 1);
  flat.RecalcLimits();
  flat.ScaleTo(5.0f); // a zero range gives no usable scale
  EXPECT_EQ(flat.GetYScale(), 1.0f);

  CSpectrumData invalid;
  invalid.ShiftX(1);
  invalid.MultY(2);
  invalid.InvertX();
  invalid.FillXValues(1.0f, 2.0f);
  EXPECT_EQ(invalid.GetVectorSize(), 0);
}

TEST(CSpectrumDataAccess, PlainAccessorsStoreWhatTheyAreGiven)
{
  CSpectrumData data;
  data.SetResolution(-2.0f);
  EXPECT_EQ(data.GetResolution(), 0.0f);
  data.SetResolution(NAN);
  EXPECT_EQ(data.GetResolution(), 0.0f);

  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "run scripts/setup.sh to generate de_DE.UTF-8";
  data.SetResolution(L" 2.5 nm");
  wchar_t text[16] = {};
  EXPECT_EQ(data.GetResolution(text), 2.5f);
  EXPECT_EQ(std::wstring(text), L"2.5");
  data.SetResolution(L"-1");
  EXPECT_EQ(data.GetResolution(), 0.0f);
  data.SetResolution(static_cast<const wchar_t*>(nullptr));
  EXPECT_EQ(data.GetResolution(nullptr), 0.0f);
  std::setlocale(LC_ALL, previous.c_str());

  data.SetXLabelValueScaling(0.0f, 3.0f);
  data.SetYLabelValueScaling(2.0f, 1.0f);
  EXPECT_EQ(data.GetXLabelValueScaling(), 1.0f);
  EXPECT_EQ(data.GetYLabelValueScaling(), 2.0f);
  EXPECT_EQ(data.GetXLabelValue(0), 3.0f);
  EXPECT_EQ(data.GetYLabelValue(0), 1.0f);

  data.SetAbsoluteIntensityFlag(0);
  EXPECT_EQ(data.IsAbsoluteIntensity(), 1);
  data.SetName(nullptr);
  EXPECT_EQ(data.GetName(), CString());
  EXPECT_EQ(data.GetFrequencySpectrumNoiseProbability(), 0.0f);
}
