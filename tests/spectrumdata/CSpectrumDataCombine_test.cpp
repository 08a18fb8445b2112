// Adding, dividing, merging, averaging and cleaning data sets.
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <algorithm>
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

// The merged points rise in x and lie on f.
template <typename F> void ExpectRisingAlong(const CSpectrumData& merged, F f)
{
  const std::vector<float> x = XValues(merged);
  for (size_t i = 0; i < x.size(); ++i) {
    if (i > 0) {
      EXPECT_GT(x[i], x[i - 1]) << i;
    }
    EXPECT_NEAR(merged.GetY(int(i)), f(x[i]), 1e-3) << x[i];
  }
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
  // Every trace is subtracted, not only the current one.
  CSpectrumData two(L"Two", 4, 2);
  FillGrid(two);
  EXPECT_EQ(two.SubtractSpectrum(&two), 1);
  for (int t = 0; t < 2; ++t)
    EXPECT_EQ(TraceValues(two, t), std::vector<float>(4, 0.0f)) << t;
}

// The output is the set that is interpolated: its points are read as they were before any was
// written. a has x = 0, 1, 2 and the other set x = 0, 2, 4, so that a lookup falls between two
// points of which the lower one is already written.
TEST(CSpectrumDataCombine, AnOutputThatIsAlsoAnInputIsReadAsItWas)
{
  CSpectrumData a = Curve(0, 1, 3, [](float x) { return 100 + 6 * x; }); // 100 106 112
  CSpectrumData b = Curve(0, 2, 3, [](float x) { return 10 * x; });      // 10 x at x = 0, 1, 2
  ASSERT_EQ(CSpectrumData::AddSpectra(&a, &b, &b), 1);
  EXPECT_EQ(TraceValues(b, 0), (std::vector<float>{100, 116, 132}));
  EXPECT_EQ(XValues(b), XValues(a));

  CSpectrumData ref = Curve(0, 2, 3, [](float x) { return 1 + x; }); // 1 2 3 at x = 0, 1, 2
  ASSERT_EQ(CSpectrumData::DivideByReference(&a, &ref, &ref), 1);
  EXPECT_EQ(TraceValues(ref, 0), (std::vector<float>{100, 53, 112.0f / 3}));

  CSpectrumData calib = Curve(0, 2, 3, [](float x) { return 1 + x; });
  ASSERT_EQ(CSpectrumData::Calibrate(&a, &calib, &calib), 1);
  EXPECT_EQ(TraceValues(calib, 0), (std::vector<float>{100, 212, 336}));
}

TEST(CSpectrumDataCombine, CalibrationMultipliesByTheCurveAtEachX)
{
  CSpectrumData src = Curve(400, 10, 4, [](float x) { return x / 100; }); // 4 4.1 4.2 4.3
  src.SetXUnits(L"nm");
  src.SetYUnits(L"counts");
  // The curve is interpolated at src's x: 2.5, 3, 3.5, 4.
  CSpectrumData calib = Curve(390, 20, 4, [](float x) { return (x - 350) / 20; });
  CSpectrumData dst(L"Dst", 6, 1);
  dst.SetFirstIndex(2);
  ASSERT_EQ(CSpectrumData::Calibrate(&src, &calib, &dst), 1);
  const std::vector<float> y = TraceValues(dst, 0);
  const float expected[] = {10, 12.3f, 14.7f, 17.2f};
  for (int k = 0; k < 4; ++k)
    EXPECT_NEAR(y[size_t(2 + k)], expected[k], 1e-5) << k;
  EXPECT_EQ(XValues(dst), XValues(src));
  EXPECT_EQ(dst.GetXUnits(), CString(L"nm"));
  EXPECT_EQ(dst.GetYUnits(), CString(L"counts"));

  CSpectrumData five(L"Five", 5, 1);
  EXPECT_EQ(CSpectrumData::Calibrate(&src, &calib, &five), 0);
  EXPECT_EQ(TraceValues(five, 0), std::vector<float>(5, 0.0f));
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
  ExpectRisingAlong(out, line);

  // Resampled on the finer step: 0, 0.5, ... 80, the upper set's last point included.
  CSpectrumData even;
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &up, &even, scale, false, true), 161);
  EXPECT_EQ(even.GetIndexRange(), 161);
  EXPECT_EQ(even.GetX(160), 80.0f);
  EXPECT_NEAR(even.GetY(160), line(80), 1e-3);
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &up, nullptr, scale, false, true), 161);
}

TEST(CSpectrumDataCombine, ResampledMergesEndOnTheLastGridPointWithinTheData)
{
  auto line = [](float x) { return 5 - x; };
  float scale = 0;
  CSpectrumData out;
  // A span of 15 whole steps: 16 points, x = 15 the last.
  CSpectrumData low = Curve(0, 1, 11, line);
  CSpectrumData up = Curve(5, 1, 11, line);
  ASSERT_EQ(CSpectrumData::MergeSpectra(&low, &up, &out, scale, false, true), 16);
  EXPECT_EQ(out.GetX(15), 15.0f);
  EXPECT_NEAR(out.GetY(15), line(15), 1e-4);
  // 20 / 0.3 = 66.7 steps: 67 points, the last at 19.8, none past 20.
  CSpectrumData low3 = Curve(0, 0.3f, 41, line); // 0..12
  CSpectrumData up3 = Curve(8, 0.3f, 41, line);  // 8..20
  ASSERT_EQ(CSpectrumData::MergeSpectra(&up3, &low3, &out, scale, false, true), 67);
  EXPECT_NEAR(out.GetX(66), 19.8f, 1e-4);
  ExpectRisingAlong(out, line);

  // 1,000,000 steps of a thousandth from two sets of 1001 points each.
  CSpectrumData survey = Curve(0, 1, 1001, line);
  CSpectrumData fine = Curve(999, 0.001f, 1001, line);
  ASSERT_EQ(CSpectrumData::MergeSpectra(&survey, &fine, &out, scale, false, true), 1000001);
  EXPECT_EQ(out.GetX(1000000), 1000.0f);
  EXPECT_NEAR(out.GetY(500000), line(500), 1e-3);
}

// A detail scan inside a survey: 500..510 at a hundredth, 20 high with a narrow line of 100 at 501
// (outside the middle half, which sets the level), in a survey 10 high from 0 to 1000.
TEST(CSpectrumDataCombine, ASetInsideTheOtherKeepsItsOwnPointsAndLines)
{
  auto detailAt = [](float x) { return 20 + 100 * std::exp(-std::pow((x - 501) / 0.02f, 2.0f) / 2); };
  CSpectrumData survey = Curve(0, 1, 1001, [](float) { return 10.0f; });
  CSpectrumData detail = Curve(500, 0.01f, 1001, detailAt);
  const std::vector<float> detailX = XValues(detail);
  for (const bool match : {false, true}) {
    SCOPED_TRACE(match);
    // As the levels are matched, the detail is halved: what a, the inner set, was scaled by.
    const float f = match ? 0.5f : 1.0f;
    float scale = 0;
    CSpectrumData out;
    const int count = CSpectrumData::MergeSpectra(&detail, &survey, &out, scale, match, false);
    ASSERT_EQ(count, 500 + 1001 + 490) << "0..499, the detail, 511..1000";
    if (match) {
      EXPECT_FLOAT_EQ(scale, 0.5f);
    }
    const std::vector<float> x = XValues(out);
    EXPECT_TRUE(std::vector<float>(x.begin() + 500, x.begin() + 1501) == detailX);
    for (int i = 0; i < count; ++i) {
      const bool inside = i >= 500 && i <= 1500;
      ASSERT_FLOAT_EQ(out.GetY(i), inside ? detailAt(x[size_t(i)]) * f : 10.0f) << x[size_t(i)];
    }
    EXPECT_FLOAT_EQ(out.GetY(600), 120 * f) << "the line's top";

    // Resampled on the detail's step from 0 to 1000; the line keeps its top.
    CSpectrumData even;
    ASSERT_EQ(CSpectrumData::MergeSpectra(&survey, &detail, &even, scale, match, true), 100001);
    if (match) {
      EXPECT_FLOAT_EQ(scale, 2.0f) << "a, the outer set, against the inner one";
    }
    EXPECT_EQ(even.GetX(100000), 1000.0f);
    EXPECT_NEAR(even.GetY(50100), 120 * f, 1e-3);
    EXPECT_NEAR(even.GetY(50600), 20 * f, 1e-3);
    EXPECT_EQ(even.GetY(51200), 10.0f);
  }

  // Both starting at 0: the shorter one is the inner set.
  CSpectrumData head = Curve(0, 0.5f, 21, [](float) { return 30.0f; }); // 0..10
  CSpectrumData out;
  float scale = 0;
  ASSERT_EQ(CSpectrumData::MergeSpectra(&survey, &head, &out, scale, false, false), 21 + 990);
  EXPECT_EQ(out.GetY(20), 30.0f);
  EXPECT_EQ(out.GetX(21), 11.0f);
  EXPECT_EQ(out.GetY(21), 10.0f);
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

TEST(CSpectrumDataCombine, MergingRefusesAGridFarFinerThanTheSets)
{
  // Two points a millionth apart set the step over a span of 20: 20 million points from six.
  CSpectrumData low = Curve(0, 1, 3, [](float x) { return x; });
  CSpectrumData up(L"Up", 3, 1);
  const float xs[] = {1.5f, 1.500001f, 20};
  for (int i = 0; i < 3; ++i) {
    up.SetX(i, xs[i]);
    up.SetY(i, 1);
  }
  CSpectrumData out(L"Untouched", 3, 1);
  float scale = 0;
  EXPECT_EQ(CSpectrumData::MergeSpectra(&low, &up, &out, scale, false, true), 0);
  EXPECT_EQ(out.GetVectorSize(), 3);
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

  // Nothing kept: an empty window, last index -1.
  CSpectrumData zeros(L"AllZero", 3, 1);
  EXPECT_EQ(zeros.RemoveZeros(), 3);
  EXPECT_EQ(zeros.GetIndexRange(), 0);
  EXPECT_EQ(zeros.GetFirstIndex(), 0);
  EXPECT_EQ(zeros.GetLastIndex(), -1);
}

TEST(CSpectrumDataCombine, SawToothRemovalAveragesNeighboursAndDropsAPoint)
{
  CSpectrumData data = Curve(0, 1, 5, [](float x) { return x * x; }); // 0 1 4 9 16
  data.SetFirstIndex(1);
  data.RemoveSawTooth();
  EXPECT_EQ(data.GetVectorSize(), 4);
  EXPECT_EQ(data.GetFirstIndex(), 0);
  EXPECT_EQ(data.GetLastIndex(), 3);
  // Points 1..3 averaged with the next; point 0 lay outside the window and stays.
  EXPECT_EQ(XValues(data), (std::vector<float>{0, 1.5f, 2.5f, 3.5f}));
  EXPECT_EQ(TraceValues(data, 0), (std::vector<float>{0, 2.5f, 6.5f, 12.5f}));
}

TEST(CSpectrumDataCombine, InversePseudoWavelengthsConvertXOnly)
{
  CSpectrumData poly = Curve(2, 2, 2, [](float x) { return x; }); // x = 2, 4
  poly.ConvertWavelengthToInversePseudoLambda(1, 2, 3, 4, 5);
  EXPECT_EQ(XValues(poly), (std::vector<float>{64.5f, 398.25f})); // (1 + 2x + 3x^2 + 4x^3 + 5x^4) / x
  EXPECT_EQ(TraceValues(poly, 0), (std::vector<float>{2, 4}));

  // The fixed dispersion model, computed with NumPy in double precision.
  CSpectrumData model = Curve(500, 300, 2, [](float x) { return x; });
  model.ConvertWavelengthToInversePseudoLambda(123.0f);
  EXPECT_NEAR(model.GetX(0), 0.004791747875, 1e-9);
  EXPECT_NEAR(model.GetX(1), 0.002887231476, 1e-9);

  // The other two forms change nothing.
  CSpectrumData other = Curve(500, 300, 2, [](float x) { return x; });
  model.ConvertWavelengthToInversePseudoLambda(other);
  model.ConvertWavelengthToInversePseudoLambda(1.0f, 2.0f, 3.0f);
  other.ConvertWavelengthToInversePseudoLambda(model);
  EXPECT_NEAR(model.GetX(0), 0.004791747875, 1e-9);
  EXPECT_EQ(XValues(other), (std::vector<float>{500, 800}));
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
