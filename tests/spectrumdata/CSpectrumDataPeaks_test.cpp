// Peak search, frequency spectrum and thickness of data sets.
#include "CStringPrinting.h"
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

struct CSpectrumDataPeakAccess {
  static SPeakFindParams& Params(CSpectrumData& d) { return d.m_peakFindParams; }
  static SSpectrumPeak Record(const CSpectrumData& d, int trace, int k)
  {
    return d.m_peaks[size_t(trace) * size_t(d.m_peakFindParams.m_peaksPerTrace) + size_t(k)];
  }
};

namespace {

using Access = CSpectrumDataPeakAccess;

// Gaussians of height 100 and sigma 5 on x = 0, 0.5, ... 200, one per centre, one per trace.
CSpectrumData Gaussians(const std::vector<float>& centres)
{
  CSpectrumData data(L"Peaks", 401, int(centres.size()));
  for (int i = 0; i < 401; ++i) {
    const float x = 0.5f * float(i);
    data.SetX(i, x);
    for (size_t t = 0; t < centres.size(); ++t)
      data.SetY(int(t), i, 100.0f * std::exp(-(x - centres[t]) * (x - centres[t]) / 50.0f));
  }
  return data;
}

void Search(CSpectrumData& data, float from, float to, float smoothing = 0)
{
  data.InitPeakArray(5);
  SPeakFindParams& p = Access::Params(data);
  p.m_xFrom = from;
  p.m_xTo = to;
  p.m_thresholdFraction = 0.5f;
  p.m_smoothingWidth = smoothing;
  p.m_baseLevel = 0;
  p.m_useBaseLevel = 1;
}

} // namespace

TEST(CSpectrumDataPeaks, AGaussianGivesItsTopAndItsHalfWidths)
{
  CSpectrumData data = Gaussians({100.3f, 100.0f});
  Search(data, 0, 200);
  EXPECT_EQ(data.FindPeaks(false), 1);
  const double halfWidth = 5.0 * std::sqrt(2.0 * std::log(2.0)); // half the FWHM of a Gaussian
  for (int t = 0; t < 2; ++t) {
    const float centre = t == 0 ? 100.3f : 100.0f;
    const SSpectrumPeak peak = Access::Record(data, t, 0);
    EXPECT_NEAR(peak.m_wavelength, centre, 0.02) << t;
    EXPECT_NEAR(peak.m_intensity, 100.0, 0.1) << t;
    EXPECT_NEAR(peak.m_leftHalfX, centre - halfWidth, 0.03) << t;
    EXPECT_NEAR(peak.m_rightHalfX, centre + halfWidth, 0.03) << t;
    EXPECT_NEAR(peak.m_fullWidth, 2 * halfWidth, 0.05) << t;
    EXPECT_FLOAT_EQ(peak.m_leftHalfWidth, peak.m_wavelength - peak.m_leftHalfX);
    EXPECT_EQ(Access::Record(data, t, 1).m_wavelength, 0) << "one peak only";
  }

  // A repeated search that finds nothing leaves no record of the earlier one.
  Access::Params(data).m_thresholdFraction = 2;
  EXPECT_EQ(data.FindPeaks(false), 0);
  EXPECT_EQ(data.GetPeakWavelength(0, 0), 0);
}

TEST(CSpectrumDataPeaks, TheHalfLevelStandsOnTheBaseLevel)
{
  // A Gaussian of height 100 on a floor of 20, searched with base level 20: the intensity is 120
  // and the half level 20 + 120 / 2 = 80, where exp(-d^2 / 50) = 0.6.
  CSpectrumData data = Gaussians({100.0f});
  data.ShiftY(20);
  Search(data, 0, 200);
  Access::Params(data).m_baseLevel = 20;
  ASSERT_EQ(data.FindPeaks(false), 1);
  const SSpectrumPeak peak = Access::Record(data, 0, 0);
  const double d = 5.0 * std::sqrt(2.0 * std::log(1 / 0.6)); // 5.0540
  EXPECT_NEAR(peak.m_intensity, 120.0, 0.1);
  EXPECT_NEAR(peak.m_leftHalfX, 100 - d, 0.03);
  EXPECT_NEAR(peak.m_rightHalfX, 100 + d, 0.03);
  EXPECT_NEAR(peak.m_fullWidth, 2 * d, 0.05);
}

TEST(CSpectrumDataPeaks, ATopOnAPointWhereTheSlopeIsExactlyZeroIsFound)
{
  CSpectrumData parabola(L"Parabola", 41, 1);
  for (int i = 0; i < 41; ++i) {
    parabola.SetX(i, float(i));
    parabola.SetY(i, float(400 - (i - 20) * (i - 20)));
  }
  Search(parabola, 0, 40);
  ASSERT_EQ(parabola.FindPeaks(false), 1);
  EXPECT_EQ(parabola.GetPeakWavelength(0, 0), 20);
  EXPECT_EQ(parabola.GetPeakIntensity(0, 0), 400);
}

TEST(CSpectrumDataPeaks, AFlankThatStaysAboveHalfInsideTheRangeHasNoWidths)
{
  CSpectrumData data = Gaussians({100.3f});
  Search(data, 97, 200, 2.0f);
  ASSERT_EQ(data.FindPeaks(true), 1);
  const SSpectrumPeak peak = Access::Record(data, 0, 0);
  EXPECT_NEAR(peak.m_wavelength, 100.3, 0.1);
  EXPECT_EQ(peak.m_leftHalfWidth, 0);
  EXPECT_EQ(peak.m_rightHalfWidth, 0);
  EXPECT_EQ(peak.m_fullWidth, 0);
  // The smoothed values replaced the searched points, and only those.
  EXPECT_NE(data.GetY(data.GetIndex(100.0f)), Gaussians({100.3f}).GetY(200));
  EXPECT_EQ(data.GetY(data.GetIndex(50.0f)), Gaussians({100.3f}).GetY(100));
}

TEST(CSpectrumDataPeaks, NoTableOrAnEmptyRangeFindsNothing)
{
  CSpectrumData data = Gaussians({100.3f});
  Search(data, 100, 100.1f); // one index
  EXPECT_EQ(data.FindPeaks(false), 0);
  data.InitPeakArray(0);
  Search(data, 0, 200);
  data.InitPeakArray(0);
  EXPECT_EQ(data.FindPeaks(false), 0);
}

namespace {

// Uneven sampling of two tones; the expected powers are SciPy's lombscargle of the same floats
// (mean removed) divided by their variance (n - 1), at the frequencies (i + 1) / (4 x span).
CSpectrumData TwoTones()
{
  CSpectrumData data(L"Tones", 16, 1);
  for (int j = 0; j < 16; ++j) {
    const float x = float(j + 0.3 * std::sin(double(j)));
    data.SetX(j, x);
    data.SetY(j, float(std::sin(2 * M_PI * 0.2 * x) + 0.5 * std::cos(2 * M_PI * 0.37 * x)));
  }
  return data;
}

} // namespace

TEST(CSpectrumDataFrequency, PowersMatchSciPysLombScargleAtEveryStep)
{
  CSpectrumData src = TwoTones();
  CSpectrumData out(L"Spectrum", 40, 1);
  EXPECT_EQ(CSpectrumData::FrequencySpectrum(&src, &out, 0, 0), -1);
  ASSERT_EQ(out.GetIndexRange(), 32);
  const std::vector<double> scipy = {
      0.2943153,  0.2303474,  0.1180994, 0.04776737, 0.3083199, 0.4468082, 0.217126,  0.01442013,
      0.8664016,  2.65364,    4.735905,  5.84822,    4.341166,  2.262467,  0.9389439, 0.2206569,
      0.01751468, 0.06313633, 0.1999781, 0.5379605,  1.043254,  1.360025,  1.356231,  1.118395,
      0.6949723,  0.1665752,  0.2482896, 0.3961974,  0.3958837, 0.2668069, 0.1631389, 0.1591113};
  for (int i = 0; i < 32; ++i)
    EXPECT_NEAR(out.GetY(i), scipy[size_t(i)], 2e-5 * scipy[size_t(i)] + 1e-6) << i;
  EXPECT_NEAR(out.GetX(0), 0.01645269, 1e-7);
  EXPECT_EQ(out.GetIndexOfMaxY(), 11);
  // The false-alarm probability of the largest power with SciPy's powers (0.01 or above: the
  // exact form).
  EXPECT_NEAR(out.GetFrequencySpectrumNoiseProbability(), 0.04517498, 1e-4 * 0.04517498);

  // Above a minimum frequency the second tone is the strongest.
  CSpectrumData::FrequencySpectrum(&src, &out, 0, 0.3f);
  EXPECT_EQ(out.GetIndexOfMaxY(), 21);
  EXPECT_NEAR(out.GetFrequencySpectrumNoiseProbability(), 0.99130934, 1e-6);

  // Step 1 takes every second point.
  CSpectrumData half(L"Half", 16, 1);
  CSpectrumData::FrequencySpectrum(&src, &half, 1, 0);
  EXPECT_EQ(half.GetIndexRange(), 16);
  EXPECT_NEAR(half.GetY(10), 2.832599, 1e-4);
  EXPECT_EQ(half.GetIndexOfMaxY(), 10);
}

TEST(CSpectrumDataFrequency, StepsBelowZeroOrTooFewPointsGiveNoSpectrum)
{
  CSpectrumData src = TwoTones();
  CSpectrumData out(L"Spectrum", 40, 1);
  out.SetY(0, 7);
  EXPECT_EQ(CSpectrumData::FrequencySpectrum(&src, &out, -1, 0), -1);
  EXPECT_EQ(out.GetIndexOfMaxY(), -1);
  EXPECT_EQ(CSpectrumData::FrequencySpectrum(&src, &out, 8, 0), -1); // one sample
  EXPECT_EQ(out.GetY(0), 7);
  EXPECT_EQ(out.GetIndexRange(), 40);
}

TEST(CSpectrumDataFrequency, AFlatTraceHasNoPowerAndTheTracesAfterItAreStillDone)
{
  // Traces: the two tones, flat, the two tones again.
  const CSpectrumData tones = TwoTones();
  CSpectrumData src(L"Three", 16, 3);
  for (int j = 0; j < 16; ++j) {
    src.SetX(j, tones.GetX(j));
    src.SetY(0, j, tones.GetY(j));
    src.SetY(1, j, 2);
    src.SetY(2, j, tones.GetY(j));
  }
  CSpectrumData out(L"Spectrum", 32, 3);
  for (int i = 0; i < 32; ++i)
    out.SetY(1, i, 7);
  testing::internal::CaptureStderr();
  CSpectrumData::FrequencySpectrum(&src, &out, 0, 0);
  EXPECT_EQ(out.GetIndexOfMaxY(), 11);
  EXPECT_NEAR(out.GetY(2, 11), 5.84822, 1e-4);
  EXPECT_EQ(out.GetY(2, 11), out.GetY(0, 11));
  EXPECT_EQ(TraceValues(out, 1), std::vector<float>(32, 0.0f));

  // The flat trace last: nothing of the trace before it stays.
  src.SetLastArrayIndex(1);
  CSpectrumData::FrequencySpectrum(&src, &out, 0, 0);
  EXPECT_EQ(out.GetIndexOfMaxY(), -1);
  EXPECT_EQ(out.GetFrequencySpectrumNoiseProbability(), 1.0f);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("zero variance in period"), std::string::npos);
}

TEST(CSpectrumDataFrequency, AStrongPeakTakesTheFirstOrderFalseAlarmProbability)
{
  // 32 uneven samples of one sine: SciPy's largest power is 15.2017, and 16 e^-p = 8.00095e-6.
  CSpectrumData sine(L"Sine", 32, 1);
  for (int j = 0; j < 32; ++j) {
    const float x = float(j + 0.3 * std::sin(double(j)));
    sine.SetX(j, x);
    sine.SetY(j, float(std::sin(2 * M_PI * 0.2 * x)));
  }
  CSpectrumData out(L"Spectrum", 64, 1);
  CSpectrumData::FrequencySpectrum(&sine, &out, 0, 0);
  EXPECT_NEAR(out.GetFrequencySpectrumNoiseProbability(), 8.00095e-6, 1e-4 * 8.00095e-6);
}

TEST(CSpectrumDataFrequency, InterferenceBecomesAThicknessDistribution)
{
  CSpectrumData data(L"Fringes", 64, 1);
  for (int i = 0; i < 64; ++i)
    data.SetX(i, 500.0f + 5.0f * float(i));
  EXPECT_FALSE(data.ConvertInterferenceToThickness(ZMaterialNone));
  EXPECT_FALSE(data.ConvertInterferenceToThickness(ZSpectrumMaterial(3)));
  EXPECT_EQ(data.GetX(0), 500.0f);

  // Fringes of a 2 um fused silica film: cos(4 pi n d / l). The strongest frequency of n / l is
  // 2 d (in 1 / nm), whatever the dispersion.
  const double d = 2000;
  for (int i = 0; i < 64; ++i) {
    const double l = data.GetX(i);
    const double n =
        std::sqrt(1 + 0.6961663 / (1 - std::pow(68.4043 / l, 2)) +
                  0.4079426 / (1 - std::pow(116.2414 / l, 2)) + 0.8974794 / (1 - std::pow(9896.161 / l, 2)));
    data.SetY(i, float(1 + std::cos(4 * M_PI * n * d / l)));
  }
  ASSERT_TRUE(data.ConvertInterferenceToThickness(ZMaterialFusedSilica));
  EXPECT_EQ(data.GetXLabel(), L"Thickness");
  EXPECT_EQ(data.GetYLabel(), L"Probability");
  const int top = data.GetIndexOfMaxY();
  ASSERT_GE(top, 0);
  EXPECT_NEAR(data.GetX(top), 2 * d, 0.05 * 2 * d);
}
