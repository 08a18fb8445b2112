// Averages and noise across traces, and corrections of the points and of the x axis.
#include "ZSpectrumData/CSpectrumData.h"

#include <algorithm>
#include <cmath>

void CSpectrumData::GetAverageVector(CSpectrumData* out, int firstTrace, int lastTrace)
{
  if (!out)
    return;
  // Into this data set itself, the traces are read from a copy: the resize takes them away.
  const CSpectrumData source(*this);
  out->Resize(m_vectorSize, 1);
  const int traces = lastTrace - firstTrace + 1;
  for (int i = source.m_firstIndex; i <= source.m_lastIndex; ++i) {
    const int k = out->m_firstIndex + (i - source.m_firstIndex);
    double sum = 0;
    for (int t = firstTrace; t <= lastTrace; ++t)
      sum += source.GetY(t, i);
    out->SetX(k, source.GetX(i));
    out->SetY(k, traces > 0 ? float(sum / traces) : 0.0f);
  }
}

float CSpectrumData::GetYAverage(int trace, float x1, float x2)
{
  const int i1 = GetIndex(x1);
  const int i2 = GetIndex(x2);
  if (i2 < i1)
    return 0;
  double sum = 0;
  for (int i = i1; i <= i2; ++i)
    sum += GetY(trace, i);
  return float(sum / double(i2 - i1 + 1));
}

float CSpectrumData::GetAverageY(float x1, float x2)
{
  return GetYAverage(0, x1, x2);
}

float CSpectrumData::GetRMSNoiseLevel(float* perPoint)
{
  CSpectrumData noise(L"spcNoise", m_vectorSize, 1);
  double total = 0;
  if (m_arrayIndexRange > 1) {
    CSpectrumData mean;
    GetAverageVector(&mean, m_firstArrayIndex, m_lastArrayIndex);
    for (int i = m_firstIndex; i <= m_lastIndex; ++i) {
      const float average = mean.GetY(mean.m_firstIndex + (i - m_firstIndex));
      double sum = 0;
      for (int t = m_firstArrayIndex; t <= m_lastArrayIndex; ++t) {
        const double d = double(GetY(t, i)) - average;
        sum += d * d;
      }
      const float rms = float(std::sqrt(sum / m_arrayIndexRange));
      noise.SetY(i, rms);
      total += rms;
    }
  }
  if (perPoint)
    noise.GetYData(perPoint, 0);
  return m_arrayIndexRange > 1 && m_indexRange > 0 ? float(total / m_indexRange) : 0.0f;
}

void CSpectrumData::RemoveSawTooth()
{
  const CSpectrumData source(*this);
  for (int i = m_firstIndex; i < m_lastIndex; ++i) {
    SetX(i, (source.GetX(i) + source.GetX(i + 1)) / 2);
    SetY(i, (source.GetY(i) + source.GetY(i + 1)) / 2);
  }
  Resize(m_vectorSize - 1, 0);
}

int CSpectrumData::RemoveZeros()
{
  if (!HasPoints() || !m_x || !m_y || !IsTrace(m_arrayIndex))
    return 0;
  const int first = std::max(m_firstIndex, 0);
  const int last = std::min(m_lastIndex, m_vectorSize - 1);
  const size_t n = size_t(m_vectorSize);
  const float* current = m_y.get() + size_t(m_arrayIndex) * n;
  int kept = 0;
  for (int i = first; i <= last; ++i) {
    if (current[i] == 0)
      continue;
    // Every trace and the mask move with x, so that the traces stay point for point together.
    m_x[size_t(kept)] = m_x[size_t(i)];
    if (m_mask)
      m_mask[size_t(kept)] = m_mask[size_t(i)];
    for (size_t t = 0; t < size_t(m_arraySize); ++t)
      m_y[t * n + size_t(kept)] = m_y[t * n + size_t(i)];
    ++kept;
  }
  const int dropped = (last - first + 1) - kept;
  m_firstIndex = 0;
  m_lastIndex = kept - 1; // -1 when nothing is kept: the empty window that AddPoint takes too
  m_indexRange = kept;
  return dropped;
}

void CSpectrumData::ConvertWavelengthToInversePseudoLambda(double a, double b, double c, double d, double e)
{
  for (int i = m_firstIndex; i <= m_lastIndex; ++i) {
    const double x = GetX(i);
    SetX(i, float((a + x * (b + x * (c + x * (d + x * e)))) / x));
  }
}

void CSpectrumData::ConvertWavelengthToInversePseudoLambda(float)
{
  for (int i = m_firstIndex; i <= m_lastIndex; ++i) {
    const double x = GetX(i);
    const double k = 362.6 / x;
    SetX(i, float(std::sqrt(9.98 / (k * k) * (2 - std::sqrt(1 + k) - std::sqrt(1 - k)) + 2.66) / x));
  }
}

void CSpectrumData::ConvertWavelengthToInversePseudoLambda(CSpectrumData&) {}

void CSpectrumData::ConvertWavelengthToInversePseudoLambda(float, float, float) {}
