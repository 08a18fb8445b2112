// The simple transforms over first..last. Each point goes through the guarded accessors, so an
// invalid data set stays as it is.
#include "ZSpectrumData/CSpectrumData.h"

#include <cmath>

void CSpectrumData::ShiftX(float d)
{
  for (int i = m_firstIndex; i <= m_lastIndex; ++i)
    SetX(i, GetX(i) + d);
}

void CSpectrumData::MultX(float f)
{
  for (int i = m_firstIndex; i <= m_lastIndex; ++i)
    SetX(i, GetX(i) * f);
}

void CSpectrumData::InvertX()
{
  for (int i = m_firstIndex; i <= m_lastIndex; ++i) {
    float x = GetX(i);
    SetX(i, x == 0 ? 0.0f : 1.0f / x);
  }
  ReverseXOrder();
}

void CSpectrumData::ShiftY(float d)
{
  for (int i = m_firstIndex; i <= m_lastIndex; ++i)
    SetY(i, GetY(i) + d);
}

void CSpectrumData::MultY(float f)
{
  for (int i = m_firstIndex; i <= m_lastIndex; ++i)
    SetY(i, GetY(i) * f);
}

void CSpectrumData::ReverseXOrder()
{
  const int span = m_lastIndex - m_firstIndex;
  for (int k = 0; k <= span / 2; ++k) {
    const int a = m_firstIndex + k;
    const int b = m_lastIndex - k;
    const float xa = GetX(a);
    const float ya = GetY(a);
    SetX(a, GetX(b));
    SetY(a, GetY(b));
    SetX(b, xa);
    SetY(b, ya);
  }
}

void CSpectrumData::ScaleTo(float value)
{
  // A zero range would make the scale infinite or NaN, which the plot cannot draw with.
  const float scale = value / m_yRange / m_yScale;
  if (scale != 0 && std::isfinite(scale))
    m_yScale = scale;
}

void CSpectrumData::FillXValues(float start, float span)
{
  const float step = span / float(m_indexRange);
  for (int i = m_firstIndex; i <= m_lastIndex; ++i)
    SetX(i, start + float(i) * step);
}

void CSpectrumData::FillXValues(float span, bool fromZero)
{
  const float step = span / float(m_indexRange);
  for (int i = m_firstIndex; i <= m_lastIndex; ++i)
    SetX(i, fromZero ? float(i) * step : float(i + 1) * step);
}

float CSpectrumData::GetTotalArea() const
{
  // The region only reads the data set.
  CSpectrumDataRegion region(const_cast<CSpectrumData*>(this));
  return region.GetArea();
}
