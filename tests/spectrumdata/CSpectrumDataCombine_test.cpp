// Adding, dividing, merging, averaging and cleaning data sets.
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// y = f(x) on x = from, from + step, ... (points of them).
template <typename F> CSpectrumData Curve(float from, float step, int points, F f)
{
  CSpectrumData data(L"Curve", points, 1);
  for (int i = 0; i < points; ++i) {
    const float x = from + step * float(i);
    data.SetX(i, x);
    data.SetY(i, float(f(x)));
  }
  return data;
}

} // namespace

TEST(CSpectrumDataCombine, AddingAndSubtractingFollowTheTraces)
{
  CSpectrumData a(L"A", 5, 3);
  FillGrid(a);
  CSpectrumData one = Curve(0, 1, 5, [](float x) { return 1000 + x; });
  ASSERT_EQ(a.AddSpectrum(&one), 1);
  for (int t = 0; t < 3; ++t)
    EXPECT_EQ(TraceValues(a, t)[2], 100.0f * float(t) + 2 + 1002) << t;

  CSpectrumData shorter(L"Short", 4, 3);
  EXPECT_EQ(CSpectrumData::AddSpectra(&a, &one, &shorter), 0);
  EXPECT_EQ(TraceValues(shorter, 0), std::vector<float>(4, 0.0f));

  // Interpolation is exact on the same grid; the subtracted set is not changed.
  CSpectrumData line = Curve(0, 0.5f, 9, [](float x) { return 3 * x - 1; });
  EXPECT_EQ(line.SubtractSpectrum(&line), 1);
  EXPECT_EQ(TraceValues(line, 0), std::vector<float>(9, 0.0f));
}

TEST(CSpectrumDataCombine, DivisionMeetsTheReferencesOwnPointsAndAZeroGivesZero)
{
  CSpectrumData a = Curve(10, 1, 4, [](float x) { return 2 * x; });
  // The same grid, held in points 2..5 of a longer reference.
  CSpectrumData ref = Curve(8, 1, 8, [](float x) { return x == 12 ? 0.0f : x; });
  ref.SetFirstIndex(2);
  ref.SetLastIndex(5);
  CSpectrumData out(L"Out", 4, 1);
  ASSERT_EQ(CSpectrumData::DivideByReference(&a, &ref, &out), 1);
  EXPECT_EQ(TraceValues(out, 0), (std::vector<float>{2, 2, 0, 2}));
  EXPECT_EQ(XValues(out), XValues(a));

  // Another grid: the reference is interpolated at a's x.
  CSpectrumData coarse = Curve(0, 10, 3, [](float x) { return x; });
  ASSERT_EQ(a.DivideByReference(&coarse), 1);
  EXPECT_EQ(TraceValues(a, 0), (std::vector<float>{2, 2, 2, 2}));

  // An output shorter than a is refused, even when the reference is shorter still.
  CSpectrumData three(L"Three", 3, 1);
  CSpectrumData two = Curve(10, 1, 2, [](float x) { return x; });
  EXPECT_EQ(CSpectrumData::DivideByReference(&a, &two, &three), 0);
}

TEST(CSpectrumDataCombine, MergingJoinsAStraightLineWithoutASeam)
{
  auto line = [](float x) { return 2 * x + 1; };
  CSpectrumData low = Curve(0, 1, 61, line);    // 0..60
  CSpectrumData up = Curve(40, 0.5f, 81, line); // 40..80
  CSpectrumData out;
  float scale = 0;
  const int merged = CSpectrumData::MergeSpectra(&up, &low, &out, scale, false, false);
  ASSERT_GT(merged, 0);
  EXPECT_EQ(out.GetIndexRange(), merged);
  EXPECT_EQ(out.GetName(), CString(L"Merge Result"));
  const std::vector<float> x = XValues(out);
  EXPECT_EQ(x.front(), 0);
  EXPECT_EQ(x.back(), 80) << "the upper set's last point";
  for (size_t i = 0; i < x.size(); ++i) {
    if (i > 0) {
      EXPECT_GT(x[i], x[i - 1]) << i;
    }
    EXPECT_NEAR(out.GetY(int(i)), line(x[i]), 1e-3) << x[i];
  }

  // Resampled on the finer step: 0, 0.5, ... 80.
  CSpectrumData even;
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &up, &even, scale, false, true), 161);
  EXPECT_EQ(even.GetX(160), 80);
  EXPECT_NEAR(even.GetY(160), line(80), 1e-3);
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &up, nullptr, scale, false, true), 161);
}

TEST(CSpectrumDataCombine, MergingMatchesLevelsAndRefusesSetsThatDoNotOverlap)
{
  CSpectrumData low = Curve(0, 1, 61, [](float) { return 3.0f; });
  CSpectrumData up = Curve(40, 1, 41, [](float) { return 6.0f; });
  CSpectrumData out;
  float scale = 0;
  ASSERT_GT(CSpectrumData::MergeSpectra(&up, &low, &out, scale, true, false), 0);
  EXPECT_FLOAT_EQ(scale, 0.5f); // what a, the upper set, was scaled by
  for (int i = out.GetFirstIndex(); i <= out.GetLastIndex(); ++i)
    EXPECT_FLOAT_EQ(out.GetY(i), 3.0f) << out.GetX(i);
  CSpectrumData::MergeSpectra(&low, &up, &out, scale, true, false);
  EXPECT_FLOAT_EQ(scale, 2.0f);

  CSpectrumData apart = Curve(100, 1, 10, [](float) { return 1.0f; });
  CSpectrumData untouched(L"Untouched", 3, 1);
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &apart, &untouched, scale, false, false), 0);
  EXPECT_EQ(untouched.GetName(), CString(L"Untouched"));
  EXPECT_EQ(untouched.GetIndexRange(), 3);
}

TEST(CSpectrumDataCombine, RemovingZerosCompactsEveryTraceOfTheWindow)
{
  CSpectrumData data(L"Zeros", 6, 2);
  const float y0[] = {5, 0, 1, 0, 2, 7};
  for (int i = 0; i < 6; ++i) {
    data.SetX(i, float(i));
    data.SetY(0, i, y0[i]);
    data.SetY(1, i, 10.0f + float(i));
  }
  data.SetFirstIndex(1);
  data.SetLastIndex(4);
  EXPECT_EQ(data.RemoveZeros(), 2);
  EXPECT_EQ(data.GetIndexRange(), 2);
  EXPECT_EQ(XValues(data), (std::vector<float>{2, 4}));
  EXPECT_EQ(data.GetY(0, 0), 1);
  EXPECT_EQ(data.GetY(0, 1), 2);
  EXPECT_EQ(data.GetY(1, 0), 12) << "the other trace moves with x";
  EXPECT_EQ(data.GetY(1, 1), 14);
}

TEST(CSpectrumDataCombine, NoiseIsTheSpreadOfTheTracesAboutTheirMean)
{
  CSpectrumData one = Curve(0, 1, 4, [](float x) { return x; });
  EXPECT_EQ(one.GetRMSNoiseLevel(nullptr), 0);

  // Traces 1 and 3 at every point: mean 2, RMS deviation 1.
  CSpectrumData two(L"Two", 4, 2);
  for (int i = 0; i < 4; ++i) {
    two.SetY(0, i, 1);
    two.SetY(1, i, 3);
  }
  std::vector<float> perPoint(4);
  EXPECT_FLOAT_EQ(two.GetRMSNoiseLevel(perPoint.data()), 1.0f);
  EXPECT_EQ(perPoint, std::vector<float>(4, 1.0f));
  EXPECT_FLOAT_EQ(two.GetYAverage(1, 0, 3), 3.0f);
}
