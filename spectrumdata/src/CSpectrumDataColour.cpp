// CIE colorimetry of a spectrum: tristimulus values, chromaticity, luminance, photopic intensity
// and dominant wavelength on the selected standard observer, and the spectral locus as data.
#include "ZSpectrumData/CSpectrumData.h"

#include "CieTables.h"

#include <climits>
#include <cmath>

namespace {

ZColourFunction g_colourFunction = ZColourFunctionCIE1964;

constexpr double kLuminousEfficacy = 683.002; // lm/W
constexpr double kWhite = 0.33333;            // the equal-energy point the hue angles turn about
constexpr double kDegrees = 57.29579;

const cie::Observer& SelectedObserver()
{
  return g_colourFunction == ZColourFunctionCIE1931 ? cie::kObserver1931 : cie::kObserver1964;
}

// The direction of (x, y) seen from the white point, in degrees.
double Direction(double x, double y)
{
  const double c = x - kWhite;
  const double d = y - kWhite;
  const double g = std::sqrt(c * c + d * d);
  if (c >= 0)
    return std::asin(d / g) * kDegrees;
  return d >= 0 ? std::acos(c / g) * kDegrees : 360 - std::acos(c / g) * kDegrees;
}

// The hue angle of (x, y): how far it has turned from the locus at 380 nm, which counts as 0, in
// the direction the locus runs towards 780 nm. NaN at the white point itself.
double HueAngle(const cie::Observer& observer, double x, double y)
{
  const double m = observer.locusX[0] - kWhite;
  const double n = observer.locusY[0] - kWhite;
  const double reference = 360 - std::acos(m / std::sqrt(m * m + n * n)) * kDegrees;
  return reference - Direction(x, y);
}

} // namespace

ZColourFunction CSpectrumData::GetCIEColourFunction()
{
  return g_colourFunction;
}

void CSpectrumData::SetCIEColourFunction(ZColourFunction function)
{
  g_colourFunction = function;
}

int CSpectrumData::CalculateCIEXY()
{
  if (m_vectorSize == 0 || !m_valid || m_indexRange == 0 || GetX(m_lastIndex) < 380 ||
      GetX(m_firstIndex) > 780)
    return 0;
  const cie::Observer& observer = SelectedObserver();
  const double* references[] = {observer.xBar, observer.yBar, observer.zBar, cie::kPhotopicVM};
  const int n = m_lastIndex - m_firstIndex + 1;
  if (n <= 0)
    return 0;
  // One product curve per reference, their areas taken as the region of a data set takes them.
  CSpectrumData products(L"", n, 4);
  double area[4] = {};
  for (int r = 0; r < 4; ++r) {
    for (int k = 0; k < n; ++k) {
      const float x = GetX(m_firstIndex + k);
      products.SetX(k, x);
      products.SetY(r, k, float(cie::At(references[r], x) * double(GetY(m_firstIndex + k))));
    }
    products.SetArrayIndex(r);
    area[r] = CSpectrumDataRegion(&products).GetArea();
  }
  const double sum = area[0] + area[1] + area[2];
  const double x = area[0] / sum;
  const double y = area[1] / sum;
  // A spectrum without colour (all zero) has no chromaticity; the cache keeps what it had.
  if (!(sum != 0) || !std::isfinite(x) || !std::isfinite(y))
    return 0;
  m_cieLuminance = float(area[1]);
  m_cieX = float(x);
  m_cieY = float(y);
  m_cieIntensity = float(kLuminousEfficacy * area[3]);
  return 1;
}

float CSpectrumData::GetCIEDominantWavelength(bool recalculate)
{
  if (m_vectorSize == 0)
    return 0;
  if (!recalculate)
    return m_cieDominantWavelength;
  CalculateCIEXY();
  const cie::Observer& observer = SelectedObserver();
  const double a = HueAngle(observer, m_cieX, m_cieY);
  m_cieDominantWavelength = 0;
  if (!(a >= 0))
    return 0; // the purples between 780 and 380 nm
  double previous = HueAngle(observer, observer.locusX[0], observer.locusY[0]);
  for (int j = 1; j < cie::kRows; ++j) {
    const double hue = HueAngle(observer, observer.locusX[j], observer.locusY[j]);
    if (hue > a) {
      const double from = cie::kFirstNm + (j - 1) * cie::kStepNm;
      m_cieDominantWavelength = float(from + cie::kStepNm * (a - previous) / (hue - previous));
      break;
    }
    previous = hue;
  }
  return m_cieDominantWavelength;
}

float CSpectrumData::GetCIEX() const
{
  return m_cieX;
}

float CSpectrumData::GetCIEY() const
{
  return m_cieY;
}

float CSpectrumData::GetCIEZ() const
{
  const float sum = GetCIELuminantX() + m_cieLuminance + GetCIELuminantZ();
  return sum != 0 ? GetCIELuminantZ() / sum : 0.0f;
}

float CSpectrumData::GetCIEU() const
{
  return 4 * m_cieX / (12 * m_cieY - 2 * m_cieX + 3);
}

float CSpectrumData::GetCIEV() const
{
  return 9 * m_cieY / (12 * m_cieY - 2 * m_cieX + 3);
}

float CSpectrumData::GetCIELuminance() const
{
  return m_cieLuminance;
}

// X and Z come back from the chromaticity through y, which is 0 until something was computed.
float CSpectrumData::GetCIELuminantX() const
{
  return m_cieY != 0 ? m_cieLuminance * m_cieX / m_cieY : 0.0f;
}

float CSpectrumData::GetCIELuminantY() const
{
  return m_cieLuminance;
}

float CSpectrumData::GetCIELuminantZ() const
{
  return m_cieY != 0 ? (1 - m_cieX - m_cieY) * m_cieLuminance / m_cieY : 0.0f;
}

float CSpectrumData::GetCIELuminantU() const
{
  return 2 * GetCIELuminantX() / 3;
}

float CSpectrumData::GetCIELuminantV() const
{
  return m_cieLuminance;
}

float CSpectrumData::GetCIELuminantW() const
{
  return (GetCIELuminantZ() + 3 * m_cieLuminance - GetCIELuminantX()) / 2;
}

float CSpectrumData::GetCIEIntensity() const
{
  return m_cieIntensity;
}

int CSpectrumData::GenerateCIESpectrum(CIESpectrumType type, float step)
{
  // Steps above 5 nm would give a negative size, 0 or less none at all.
  if (!(step > 0 && step <= 5))
    return 0;
  const float count = (5 - step) * 81 / step;
  if (!(count < float(INT_MAX)))
    return 0;
  const int n = int(count);
  Resize(n, 0);
  if (type != CIESpectralLocus || n == 0 || !m_x || !m_y || !IsTrace(m_arrayIndex))
    return n;
  const cie::Observer& observer = SelectedObserver();
  float* y = m_y.get() + size_t(m_arrayIndex) * size_t(m_vectorSize);
  for (int i = 0; i < n; ++i) {
    const double nm = 380 + double(i) * double(step);
    m_x[size_t(i)] = float(cie::At(observer.locusX, nm));
    y[i] = float(cie::At(observer.locusY, nm));
  }
  return n;
}
