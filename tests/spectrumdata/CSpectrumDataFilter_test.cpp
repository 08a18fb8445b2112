// Savitzky-Golay smoothing, filtering and differentiation of data sets.
#include "CStringPrinting.h"
#include "NumericalRecipes.h"
#include "SavitzkyGolay.h"
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kBadArgs =
    "Numerical Recipes run-time error...\nbad args in savgol\n...now exiting to system...\n";

CSpectrumData Noisy(int points, int traces, unsigned seed)
{
  CSpectrumData data(L"Noisy", points, traces);
  std::mt19937 random(seed);
  std::normal_distribution<float> noise(0.0f, 1.0f);
  for (int i = 0; i < points; ++i) {
    data.SetX(i, float(i));
    for (int t = 0; t < traces; ++t)
      data.SetY(t, i, std::sin(float(i) * 0.05f) * 10.0f + noise(random));
  }
  return data;
}

CSpectrumData Polynomial(int points, double (*f)(double))
{
  CSpectrumData data(L"Line", points, 1);
  for (int i = 0; i < points; ++i) {
    data.SetX(i, float(i));
    data.SetY(i, float(f(i)));
  }
  return data;
}

bool AllFinite(const std::vector<float>& values)
{
  for (float v : values)
    if (!std::isfinite(v))
      return false;
  return true;
}

} // namespace

TEST(CSpectrumDataFilter, SmoothingWindowsTooSmallForTheFitLeaveTheDataAlone)
{
  CSpectrumData data = Noisy(50, 1, 1);
  const std::vector<float> before = TraceValues(data, 0);
  data.Smooth(1);
  data.Smooth(0);
  data.Smooth(INT_MIN);
  EXPECT_EQ(TraceValues(data, 0), before);

  for (int width : {2, 3}) {
    testing::internal::CaptureStderr();
    data.Smooth(width);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), kBadArgs) << width;
    EXPECT_EQ(TraceValues(data, 0), before) << width;
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(data.SGFilter(-1, -1, 0, 4), 0);
  EXPECT_EQ(data.SGFilter(4, 4, 5, 4), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(kBadArgs) + kBadArgs);
  EXPECT_EQ(TraceValues(data, 0), before);
}

TEST(CSpectrumDataFilter, SmoothingReproducesPolynomialsAwayFromTheEnds)
{
  // Order 4 fits reproduce a quartic exactly; near the ends the held end values take part.
  CSpectrumData quartic = Polynomial(40, [](double x) { return 2.0 - 0.5 * x + 1e-3 * x * x * x * x; });
  const std::vector<float> before = TraceValues(quartic, 0);
  quartic.Smooth(8);
  const std::vector<float> after = TraceValues(quartic, 0);
  for (int i = 4; i < 36; ++i)
    EXPECT_NEAR(after[size_t(i)], before[size_t(i)], 1e-5 * std::fabs(before[size_t(i)]) + 1e-5) << i;
  EXPECT_NE(after[0], before[0]);
}

TEST(CSpectrumDataFilter, CoefficientsAreTheBooksSavitzkyGolayTable)
{
  // An impulse comes out as the coefficients.
  CSpectrumData impulse(L"Impulse", 11, 1);
  impulse.SetY(5, 1.0f);
  EXPECT_EQ(impulse.SGFilter(2, 2, 0, 2), 1);
  const float c2[] = {-3 / 35.f, 12 / 35.f, 17 / 35.f, 12 / 35.f, -3 / 35.f};
  for (int j = -2; j <= 2; ++j)
    EXPECT_NEAR(impulse.GetY(5 + j), c2[j + 2], 1e-6) << j;
  EXPECT_EQ(impulse.GetY(2), 0.0f);

  CSpectrumData quartic(L"Impulse", 21, 1);
  quartic.SetY(10, 1.0f);
  quartic.Smooth(8);
  const float c4[] = {15 / 429.f, -55 / 429.f, 30 / 429.f, 135 / 429.f, 179 / 429.f};
  for (int j = -4; j <= 4; ++j)
    EXPECT_NEAR(quartic.GetY(10 + j), c4[4 - std::abs(j)], 1e-6) << j;
}

TEST(CSpectrumDataFilter, LargeWindowsGoThroughTheFftWithTheSameResult)
{
  const int half = 2000;
  SavitzkyGolayFilter filter;
  ASSERT_TRUE(filter.Prepare(half, half, 0, 4));
  ASSERT_EQ(filter.MethodFor(20000), SavitzkyGolayFilter::Method::Fft);
  ASSERT_EQ(filter.MethodFor(100), SavitzkyGolayFilter::Method::Direct);

  CSpectrumData data = Noisy(20000, 2, 2);
  CSpectrumData direct(data);
  ASSERT_EQ(data.SGFilter(half, half, 0, 4), 1);
  for (int t = 0; t < 2; ++t) {
    std::vector<float> expected = TraceValues(direct, t);
    ASSERT_TRUE(filter.ApplyDirect(expected.data(), int(expected.size())));
    const std::vector<float> got = TraceValues(data, t);
    for (size_t i = 0; i < got.size(); ++i)
      ASSERT_NEAR(got[i], expected[i], 1e-5) << t << " " << i;
  }

  // A trace shorter than the window is extended by its end values on both sides.
  CSpectrumData shortTrace = Noisy(10, 1, 3);
  std::vector<float> expected = TraceValues(shortTrace, 0);
  std::vector<float> throughFft = expected;
  ASSERT_TRUE(filter.ApplyDirect(expected.data(), 10));
  ASSERT_TRUE(filter.ApplyFft(throughFft.data(), 10));
  EXPECT_EQ(shortTrace.SGFilter(half, half, 0, 4), 1);
  const std::vector<float> got = TraceValues(shortTrace, 0);
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i], expected[i], 1e-5) << i;
    EXPECT_NEAR(throughFft[i], expected[i], 1e-5) << i;
  }
  EXPECT_EQ(SavitzkyGolayFilter::BufferLength(4, 10, 4), 32u);
  EXPECT_EQ(SavitzkyGolayFilter::BufferLength(1 << 23, 10, 1 << 23), 0u);
}

TEST(CSpectrumDataFilter, WindowsTheFilterCannotPlaceAreRefused)
{
  CSpectrumData data = Noisy(300, 1, 4);
  const std::vector<float> before = TraceValues(data, 0);
  EXPECT_EQ(data.SGFilter(2, 4, 0, 4), 0); // uneven: the convolution would misplace a side
  EXPECT_EQ(data.SGFilter(40, 41, 0, 4), 0);
  EXPECT_EQ(data.SGFilter(INT_MAX / 2, INT_MAX / 2, 0, 4), 0);
  EXPECT_EQ(data.SGFilter(10, 10, 0, 19), 0); // too ill-conditioned to fit its own polynomials
  EXPECT_EQ(TraceValues(data, 0), before);

  for (int m = 0; m <= 12; ++m) {
    CSpectrumData copy(data);
    copy.SGFilter(m + 2, m + 2, 0, m);
    EXPECT_TRUE(AllFinite(TraceValues(copy, 0))) << m;
  }
}

// A polynomial with as many terms as the window has points passes through every point: smoothing
// gives the data back, and the derivative weights agree with the book's fit where that is sound.
TEST(CSpectrumDataFilter, InterpolatingWindowsGiveTheDataBack)
{
  CSpectrumData data = Noisy(300, 1, 4);
  for (int half : {5, 8}) {
    CSpectrumData copy(data);
    EXPECT_EQ(copy.SGFilter(half, half, 0, 2 * half), 1) << half;
    EXPECT_EQ(TraceValues(copy, 0), TraceValues(data, 0)) << half;
  }
  std::vector<double> book;
  ASSERT_TRUE(nr::savgol(book, 7, 3, 3, 1, 6));
  const std::vector<double> closed = SavitzkyGolayFilter::InterpolationWeights(3, 3, 1);
  for (int k = -3; k <= 3; ++k)
    EXPECT_NEAR(closed[size_t(k + 3)], book[size_t((7 - k) % 7)], 1e-9) << k;
}

TEST(CSpectrumDataFilter, FilteringStaysInsideTheIndexAndTraceWindows)
{
  CSpectrumData data = Noisy(30, 3, 5);
  const CSpectrumData original(data);
  data.SetFirstIndex(5);
  data.SetLastIndex(20);
  data.SetLastArrayIndex(1);
  EXPECT_EQ(data.SGFilter(4, 4, 0, 4), 1);
  for (int t = 0; t < 3; ++t) {
    const std::vector<float> before = TraceValues(original, t);
    const std::vector<float> after = TraceValues(data, t);
    for (int i = 0; i < 30; ++i) {
      const bool inside = t <= 1 && i >= 5 && i <= 20;
      if (!inside) {
        EXPECT_EQ(after[size_t(i)], before[size_t(i)]) << t << " " << i;
      }
    }
    if (t <= 1) {
      EXPECT_NE(after[10], before[10]);
    }
  }

  CSpectrumData empty;
  EXPECT_EQ(empty.SGFilter(4, 4, 0, 4), 1);
  empty.Smooth(3.0f);
  EXPECT_EQ(empty.GetVectorSize(), 0);
}

TEST(CSpectrumDataFilter, SmoothByXWidthCountsPointsInsideTheWindow)
{
  CSpectrumData data = Noisy(100, 1, 6);
  CSpectrumData expected(data);
  expected.SGFilter(3, 3, 0, 4);
  data.Smooth(3.0f); // 6 steps reach 2 x 3.0
  EXPECT_EQ(TraceValues(data, 0), TraceValues(expected, 0));

  const std::vector<float> before = TraceValues(data, 0);
  data.Smooth(NAN);
  data.Smooth(-1.0f);
  data.Smooth(0.25f);
  EXPECT_EQ(TraceValues(data, 0), before);

  // Only the points of the window are counted, not the capacity beyond them.
  CSpectrumData live;
  for (int i = 0; i < 12; ++i)
    live.AddPoint(float(i), float((i * 7) % 5));
  CSpectrumData liveExpected(live);
  liveExpected.SGFilter(6, 6, 0, 4);
  live.Smooth(100.0f);
  EXPECT_EQ(TraceValues(live, 0), TraceValues(liveExpected, 0));
}

TEST(CSpectrumDataFilter, DerivativeIsTakenPerPointIndex)
{
  CSpectrumData line = Polynomial(20, [](double x) { return 1.0 + 3.0 * x; });
  CSpectrumData dst(L"Old", 2, 1);
  ASSERT_TRUE(CSpectrumData::Derivative(&line, &dst, 1, 4, 4));
  EXPECT_EQ(dst.GetName(), CString(L"Line (Derivative)"));
  EXPECT_EQ(dst.GetFirstIndex(), 4);
  EXPECT_EQ(dst.GetLastIndex(), 23);
  EXPECT_EQ(dst.GetIndexRange(), 20);
  for (int i = 0; i < 20; ++i)
    EXPECT_FLOAT_EQ(dst.GetX(4 + i), float(i)) << i;
  for (int i = 8; i < 20; ++i)
    EXPECT_NEAR(dst.GetY(i), 3.0f, 1e-4) << i;

  ASSERT_TRUE(line.Derivative(2, 4, 4));
  EXPECT_EQ(line.GetName(), CString(L"Line"));
  EXPECT_NEAR(line.GetY(12), 0.0f, 1e-4);

  CSpectrumData tooShort = Polynomial(7, [](double x) { return x; });
  EXPECT_FALSE(CSpectrumData::Derivative(&tooShort, &dst, 1, 4, 4));
  EXPECT_FALSE(CSpectrumData::Derivative(&tooShort, &dst, 1, 2, 3));
  EXPECT_FALSE(CSpectrumData::Derivative(&tooShort, &dst, 1, -2, -2));
  EXPECT_FALSE(CSpectrumData::Derivative(nullptr, &dst, 1, 2, 2));
  EXPECT_FALSE(CSpectrumData::Derivative(&tooShort, nullptr, 1, 2, 2));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(CSpectrumData::Derivative(&tooShort, &dst, 5, 3, 3));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), kBadArgs);
  EXPECT_EQ(dst.GetName(), CString(L"Line (Derivative)"));
  EXPECT_EQ(dst.GetVectorSize(), 28);
}
