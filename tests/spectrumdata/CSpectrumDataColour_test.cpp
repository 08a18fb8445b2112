// CIE colorimetry of spectra, checked against published CIE values.
#include <ZSpectrumData/CSpectrumData.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

// The observer selector is shared by every data set; each test leaves it as it found it.
class CSpectrumDataColour : public testing::Test {
protected:
  void TearDown() override { CSpectrumData::SetCIEColourFunction(m_saved); }
  ZColourFunction m_saved = CSpectrumData::GetCIEColourFunction();
};

CSpectrumData Spectrum(float from, float to, float step, const std::function<double(double)>& power)
{
  const int n = int(std::lround((to - from) / step)) + 1;
  CSpectrumData data(L"Spectrum", n, 1);
  for (int i = 0; i < n; ++i) {
    const float nm = from + step * float(i);
    data.SetX(i, nm);
    data.SetY(i, float(power(nm)));
  }
  return data;
}

// Planck's law at 2856 K with the c2 of CIE illuminant A, relative.
double IlluminantA(double nm)
{
  const double l = nm * 1e-9;
  return 1.0 / (std::pow(l, 5) * (std::exp(1.435e-2 / (l * 2856)) - 1)) * 1e-20;
}

} // namespace

TEST_F(CSpectrumDataColour, EqualEnergyAndIlluminantAGiveTheirPublishedWhitePoints)
{
  struct Case {
    ZColourFunction observer;
    double ax, ay; // illuminant A, CIE 015:2004 Table T.3
  };
  for (const Case c :
       {Case{ZColourFunctionCIE1931, 0.44757, 0.40745}, Case{ZColourFunctionCIE1964, 0.45117, 0.40594}}) {
    CSpectrumData::SetCIEColourFunction(c.observer);
    CSpectrumData flat = Spectrum(380, 780, 1, [](double) { return 1.0; });
    ASSERT_EQ(flat.CalculateCIEXY(), 1);
    // The tables' column sums agree to about 1e-4 of each other.
    EXPECT_NEAR(flat.GetCIEX(), 1.0 / 3, 1e-4) << c.observer;
    EXPECT_NEAR(flat.GetCIEY(), 1.0 / 3, 1e-4) << c.observer;
    EXPECT_NEAR(flat.GetCIEZ(), 1.0 / 3, 2e-4) << c.observer;
    EXPECT_NEAR(flat.GetCIEU(), 4.0 / 19, 1e-4); // u' and v' of the equal-energy point
    EXPECT_NEAR(flat.GetCIEV(), 9.0 / 19, 1e-4);

    // The published values come from 1 nm tables over 360..830 nm; 5 nm over 380..780 nm lands
    // within 1e-3 of them.
    CSpectrumData a = Spectrum(380, 780, 5, IlluminantA);
    ASSERT_EQ(a.CalculateCIEXY(), 1);
    EXPECT_NEAR(a.GetCIEX(), c.ax, 1e-3) << c.observer;
    EXPECT_NEAR(a.GetCIEY(), c.ay, 1e-3) << c.observer;
    EXPECT_NEAR(a.GetCIELuminantX() / a.GetCIELuminantY(), c.ax / c.ay, 2e-3);
  }
}

TEST_F(CSpectrumDataColour, LuminanceIntensityAndDominantWavelengthOfANarrowLine)
{
  CSpectrumData::SetCIEColourFunction(ZColourFunctionCIE1931);
  // A line at 555 nm, 1 W/nm at its top, 2 nm wide at half height: y-bar(555) = V_M(555) = 1.
  CSpectrumData line =
      Spectrum(380, 780, 0.5f, [](double nm) { return std::max(0.0, 1 - std::fabs(nm - 555) / 2); });
  ASSERT_EQ(line.CalculateCIEXY(), 1);
  EXPECT_NEAR(line.GetCIELuminance(), 2.0, 0.01);
  EXPECT_NEAR(line.GetCIEIntensity(), 683.002 * 2.0, 683.002 * 0.01);
  EXPECT_EQ(line.GetCIEDominantWavelength(false), 0) << "only computed on request";
  EXPECT_NEAR(line.GetCIEDominantWavelength(true), 555, 0.5);
  EXPECT_NEAR(line.GetCIEDominantWavelength(false), 555, 0.5);

  // The 10 degree observer sees the same line elsewhere on its own locus.
  CSpectrumData::SetCIEColourFunction(ZColourFunctionCIE1964);
  EXPECT_NEAR(line.GetCIEDominantWavelength(true), 555, 0.5);
}

TEST_F(CSpectrumDataColour, NothingIsCachedWithoutAColour)
{
  CSpectrumData flat = Spectrum(400, 700, 5, [](double) { return 1.0; });
  ASSERT_EQ(flat.CalculateCIEXY(), 1);
  const float x = flat.GetCIEX();

  CSpectrumData dark = Spectrum(400, 700, 5, [](double) { return 0.0; });
  EXPECT_EQ(dark.CalculateCIEXY(), 0);
  EXPECT_EQ(dark.GetCIEX(), 0);
  EXPECT_EQ(dark.GetCIELuminantX(), 0);
  EXPECT_EQ(dark.GetCIELuminantZ(), 0);

  CSpectrumData infrared = Spectrum(800, 900, 5, [](double) { return 1.0; });
  EXPECT_EQ(infrared.CalculateCIEXY(), 0);
  flat = infrared; // the cache travels with the copy, and a refusal keeps it
  EXPECT_EQ(flat.CalculateCIEXY(), 0);
  EXPECT_EQ(CSpectrumData().GetCIEDominantWavelength(true), 0);
  EXPECT_NE(x, 0);
}

TEST_F(CSpectrumDataColour, TheLocusIsGeneratedForStepsUpToFiveNanometres)
{
  CSpectrumData::SetCIEColourFunction(ZColourFunctionCIE1931);
  CSpectrumData locus;
  EXPECT_EQ(locus.GenerateCIESpectrum(CSpectrumData::CIESpectralLocus, 1), 324);
  EXPECT_EQ(locus.GetIndexRange(), 324);
  // CIE 015:2004 Table T.4 at 380, 520 and 700 nm.
  EXPECT_NEAR(locus.GetX(0), 0.17411, 1e-5);
  EXPECT_NEAR(locus.GetY(0), 0.00496, 1e-5);
  EXPECT_NEAR(locus.GetX(140), 0.07430, 1e-5);
  EXPECT_NEAR(locus.GetY(140), 0.83380, 1e-5);
  EXPECT_NEAR(locus.GetX(323), 0.73469, 1e-3); // 703 nm, interpolated
  CSpectrumData::SetCIEColourFunction(ZColourFunctionCIE1964);
  EXPECT_EQ(locus.GenerateCIESpectrum(CSpectrumData::CIESpectralLocus, 2.5f), 81);
  EXPECT_NEAR(locus.GetX(56), 0.12524, 1e-5); // 520 nm, Table T.5
  EXPECT_NEAR(locus.GetY(56), 0.81019, 1e-5);

  for (float step : {6.0f, 0.0f, -1.0f, NAN})
    EXPECT_EQ(locus.GenerateCIESpectrum(CSpectrumData::CIESpectralLocus, step), 0) << step;
  EXPECT_EQ(locus.GetIndexRange(), 81);
  EXPECT_EQ(locus.GenerateCIESpectrum(CSpectrumData::CIESpectralLocus, 5), 0);
  EXPECT_EQ(locus.GetVectorSize(), 0);
}
