// The numerical routines under the filters and the frequency spectrum.
#include "NumericalRecipes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

std::string Report(const char* message)
{
  return std::string("Numerical Recipes run-time error...\n") + message + "\n...now exiting to system...\n";
}

std::vector<double> RandomValues(size_t n, unsigned seed)
{
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::vector<double> values(n);
  for (double& v : values)
    v = value(random);
  return values;
}

} // namespace

TEST(NumericalRecipes, ErrorsAreReportedInThreeLinesAndTheProcessGoesOn)
{
  testing::internal::CaptureStderr();
  nr::nrerror("something odd");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Report("something odd"));
}

TEST(NumericalRecipes, SavgolGivesTheTableInWrapAroundOrder)
{
  std::vector<double> c;
  ASSERT_TRUE(nr::savgol(c, 5, 2, 2, 0, 2));
  ASSERT_EQ(c.size(), 5u);
  EXPECT_NEAR(c[0], 17.0 / 35, 1e-12); // offset 0
  EXPECT_NEAR(c[1], 12.0 / 35, 1e-12); // offset -1
  EXPECT_NEAR(c[2], -3.0 / 35, 1e-12); // offset -2
  EXPECT_NEAR(c[3], -3.0 / 35, 1e-12); // offset +2
  EXPECT_NEAR(c[4], 12.0 / 35, 1e-12); // offset +1

  // A first derivative: antisymmetric, and the slope of a line.
  ASSERT_TRUE(nr::savgol(c, 5, 2, 2, 1, 2));
  EXPECT_NEAR(c[4], 0.1, 1e-12); // offset +1
  EXPECT_NEAR(c[1], -0.1, 1e-12);
  EXPECT_NEAR(c[3], 0.2, 1e-12);

  testing::internal::CaptureStderr();
  EXPECT_FALSE(nr::savgol(c, 3, 1, 1, 0, 4));
  EXPECT_FALSE(nr::savgol(c, 4, 2, 2, 0, 2));
  EXPECT_FALSE(nr::savgol(c, 5, 2, 2, 3, 2));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Report("bad args in savgol") + Report("bad args in savgol") + Report("bad args in savgol"));
}

TEST(NumericalRecipes, LuDecompositionSolvesAndReportsSingularMatrices)
{
  nr::Matrix a(3, 3);
  const double values[3][3] = {{2, 1, 1}, {4, -6, 0}, {-2, 7, 2}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      a[i][j] = values[i][j];
  std::vector<int> indx;
  double d = 0;
  ASSERT_TRUE(nr::ludcmp(a, indx, d));
  std::vector<double> b = {5, -2, 9};
  nr::lubksb(a, indx, b);
  EXPECT_NEAR(b[0], 1, 1e-12);
  EXPECT_NEAR(b[1], 1, 1e-12);
  EXPECT_NEAR(b[2], 2, 1e-12);

  nr::Matrix zeroRow(2, 2);
  zeroRow[0][0] = 1;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(nr::ludcmp(zeroRow, indx, d));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), Report("Singular matrix in routine ludcmp"));
}

TEST(NumericalRecipes, TransformsMatchTheDiscreteFourierSums)
{
  const size_t n = 16;
  const std::vector<double> real = RandomValues(n, 1);
  const std::vector<double> imag = RandomValues(n, 2);
  std::vector<double> data(2 * n);
  for (size_t k = 0; k < n; ++k) {
    data[2 * k] = real[k];
    data[2 * k + 1] = imag[k];
  }
  nr::four1(data.data(), n, 1);
  for (size_t f = 0; f < n; ++f) {
    std::complex<double> sum;
    for (size_t k = 0; k < n; ++k)
      sum += std::complex<double>(real[k], imag[k]) * std::polar(1.0, 2 * Pi * double(f * k) / double(n));
    EXPECT_NEAR(data[2 * f], sum.real(), 1e-12) << f;
    EXPECT_NEAR(data[2 * f + 1], sum.imag(), 1e-12) << f;
  }

  // realft and its inverse give back n / 2 times the data.
  std::vector<double> values = real;
  nr::realft(values.data(), n, 1);
  nr::realft(values.data(), n, -1);
  for (size_t k = 0; k < n; ++k)
    EXPECT_NEAR(values[k], real[k] * double(n / 2), 1e-12);

  // twofft: both transforms, in four1's convention, from one complex transform.
  std::vector<double> fft1(2 * n), fft2(2 * n);
  nr::twofft(real.data(), imag.data(), fft1.data(), fft2.data(), n);
  for (size_t f = 0; f < n; ++f) {
    std::complex<double> sum1, sum2;
    for (size_t k = 0; k < n; ++k) {
      sum1 += real[k] * std::polar(1.0, 2 * Pi * double(f * k) / double(n));
      sum2 += imag[k] * std::polar(1.0, 2 * Pi * double(f * k) / double(n));
    }
    EXPECT_NEAR(fft1[2 * f], sum1.real(), 1e-12) << f;
    EXPECT_NEAR(fft1[2 * f + 1], sum1.imag(), 1e-12) << f;
    EXPECT_NEAR(fft2[2 * f], sum2.real(), 1e-12) << f;
    EXPECT_NEAR(fft2[2 * f + 1], sum2.imag(), 1e-12) << f;
  }
}

TEST(NumericalRecipes, ConvolutionFillsTwiceTheDataLengthAndDeconvolutionUndoesIt)
{
  const size_t n = 64;
  const std::vector<double> data = RandomValues(n, 3);
  const std::vector<double> response = {0.5, 0.2, 0.05, 0.05, 0.2}; // offsets 0, 1, 2, -2, -1
  std::vector<double> ans;
  ASSERT_TRUE(nr::convlv(data, response, 5, 1, ans));
  EXPECT_EQ(ans.size(), 2 * n);
  const int offsets[] = {0, 1, 2, -2, -1};
  for (size_t j = 0; j < n; ++j) {
    double sum = 0;
    for (int k = 0; k < 5; ++k)
      sum += response[size_t(k)] * data[(j + n - size_t(offsets[k] + int(n)) % n) % n];
    EXPECT_NEAR(ans[j], sum, 1e-12) << j;
  }

  std::vector<double> convolved(ans.begin(), ans.begin() + std::ptrdiff_t(n));
  std::vector<double> back;
  ASSERT_TRUE(nr::convlv(convolved, response, 5, -1, back));
  for (size_t j = 0; j < n; ++j)
    EXPECT_NEAR(back[j], data[j], 1e-10) << j;

  testing::internal::CaptureStderr();
  EXPECT_FALSE(nr::convlv(data, response, 5, 0, ans));
  EXPECT_FALSE(nr::convlv(data, {0, 0, 0}, 3, -1, ans));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Report("No meaning for isign in convlv") + Report("Deconvolving at response zero in convlv"));
  EXPECT_FALSE(nr::convlv(std::vector<double>(6), response, 5, 1, ans)); // not a power of two
  EXPECT_FALSE(nr::convlv(data, response, 4, 1, ans));                   // an even response
}

TEST(NumericalRecipes, PeriodogramFindsTheFrequencyOfASine)
{
  std::mt19937 random(4);
  std::uniform_real_distribution<double> when(0.0, 100.0);
  std::vector<double> x(200), y(200);
  for (size_t j = 0; j < x.size(); ++j) {
    x[j] = when(random);
    y[j] = std::sin(2 * Pi * 0.2 * x[j]);
  }
  std::vector<double> px(400), py(400);
  int nout = 0, jmax = 0;
  double prob = 0;
  ASSERT_TRUE(nr::period(x.data(), y.data(), 200, 4.0, 1.0, px.data(), py.data(), 400, nout, jmax, prob));
  EXPECT_EQ(nout, 400);
  EXPECT_NEAR(px[size_t(jmax)], 0.2, 0.005);
  EXPECT_LT(prob, 1e-6);

  testing::internal::CaptureStderr();
  EXPECT_TRUE(nr::period(x.data(), y.data(), 200, 4.0, 1.0, px.data(), py.data(), 10, nout, jmax, prob));
  EXPECT_EQ(nout, 10);
  std::vector<double> flat(200, 1.0);
  EXPECT_FALSE(nr::period(x.data(), flat.data(), 200, 4.0, 1.0, px.data(), py.data(), 400, nout, jmax, prob));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            Report("output arrays too short in period") + Report("zero variance in period"));

  double ave = 0, var = 0;
  const double sample[] = {1, 2, 3, 4};
  nr::avevar(sample, 4, ave, var);
  EXPECT_DOUBLE_EQ(ave, 2.5);
  EXPECT_DOUBLE_EQ(var, 5.0 / 3.0);
}
