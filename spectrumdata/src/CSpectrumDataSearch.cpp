// Searching, interpolating, the logarithmic readings and the cached limits.
#include "ZSpectrumData/CSpectrumData.h"

#include "ExtremeScan.h"
#include "TraceInterpolator.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

float Log10Abs(float y)
{
  return y == 0 ? 0.0f : float(std::log10(std::fabs(double(y))));
}

float Lerp(float x0, float y0, float x1, float y1, float x)
{
  return float(InterpolateBetween(x0, y0, x1, y1, x));
}

// The smallest and largest y of a trace over GetIndex(x1)..GetIndex(x2); a trace that does not
// exist reads 0 throughout.
std::pair<float, float> YExtremes(const CSpectrumData& data, int trace, float x1, float x2)
{
  const int i1 = data.GetIndex(x1);
  const int i2 = data.GetIndex(x2);
  float min = data.GetY(trace, i1);
  float max = min;
  for (int i = i1; i <= i2; ++i) {
    const float y = data.GetY(trace, i);
    min = std::min(min, y);
    max = std::max(max, y);
  }
  return {min, max};
}

} // namespace

// --- searching

int CSpectrumData::NearestIndex(const float* values, int first, int last, float value, bool useMask) const
{
  if (!values || last < first)
    return first;
  auto masked = [&](int i) { return useMask && m_mask && m_mask[size_t(i)] != 0; };
  int i = first;
  while (i <= last && masked(i))
    ++i;
  if (i > last)
    return last;
  int previous = -1;
  while (value > values[i]) {
    previous = i;
    ++i;
    while (i <= last && masked(i))
      ++i;
    if (i > last)
      return last;
  }
  if (previous < 0)
    return i;
  return (value - values[previous]) > (values[i] - value) ? i : previous;
}

int CSpectrumData::GetIndex(float x) const
{
  const int last = std::min(m_lastIndex, m_vectorSize - 1);
  return NearestIndex(m_x.get(), m_firstIndex, last, x, m_maskEnabled);
}

int CSpectrumData::GetArrayIndex(float z) const
{
  const int first = std::max(m_firstArrayIndex, 0);
  const int last = std::min(m_lastArrayIndex, m_arraySize - 1);
  return NearestIndex(m_z.get(), first, last, z, false);
}

// --- interpolating

float CSpectrumData::InterpolateY(int trace, float x, bool beyondEnds) const
{
  // Without arrays (an empty data set) there is no end value to give either.
  if (!m_x || !m_y || !IsTrace(trace) || m_vectorSize <= 0)
    return 0;
  const int first = std::clamp(m_firstIndex, 0, m_vectorSize - 1);
  const int last = std::clamp(m_lastIndex, 0, m_vectorSize - 1);
  if (!m_valid)
    return beyondEnds ? YAt(trace, first) : 0;
  if (x < m_x[size_t(first)])
    return beyondEnds ? YAt(trace, first) : 0;
  for (int i = first + 1; i <= last; ++i) {
    if (m_x[size_t(i - 1)] >= m_x[size_t(i)])
      return 0;
    if (x <= m_x[size_t(i)])
      return Lerp(m_x[size_t(i - 1)], YAt(trace, i - 1), m_x[size_t(i)], YAt(trace, i), x);
  }
  return beyondEnds ? YAt(trace, last) : 0;
}

float CSpectrumData::GetY(float x, bool beyondEnds) const
{
  return InterpolateY(m_arrayIndex, x, beyondEnds);
}

float CSpectrumData::GetY(int trace, float x) const
{
  return IsTrace(trace) ? InterpolateY(trace, x, false) : 0;
}

float CSpectrumData::GetY(float x, int& pos) const
{
  return GetY(m_arrayIndex, x, pos);
}

float CSpectrumData::GetY(int trace, float x, int& pos) const
{
  if (!m_valid || !m_x || !m_y || !IsTrace(trace) || m_vectorSize <= 0)
    return 0;
  const int first = std::clamp(m_firstIndex, 0, m_vectorSize - 1);
  const int last = std::clamp(m_lastIndex, 0, m_vectorSize - 1);
  if (x < m_x[size_t(first)])
    return 0;
  if (pos < first)
    pos = first + 1;
  for (int i = pos; i <= last; ++i) {
    if (i > 0 && m_x[size_t(i - 1)] >= m_x[size_t(i)])
      return 0;
    if (x <= m_x[size_t(i)]) {
      pos = i;
      if (i < 1)
        return YAt(trace, i);
      return Lerp(m_x[size_t(i - 1)], YAt(trace, i - 1), m_x[size_t(i)], YAt(trace, i), x);
    }
  }
  return 0;
}

float CSpectrumData::InterpolateAcrossTraces(float z, int i, int& pos, bool logY) const
{
  if (!m_valid || !m_y || !m_z || i < 0 || i >= m_vectorSize)
    return 0;
  const int first = std::max(m_firstArrayIndex, 0);
  const int last = std::min(m_lastArrayIndex, m_arraySize - 1);
  if (last < first || z < m_z[size_t(first)] || z > m_z[size_t(last)])
    return 0;
  auto value = [&](int k) { return logY ? Log10Abs(YAt(k, i)) : YAt(k, i); };
  if (first == last) {
    pos = first;
    return value(first);
  }
  int k = (pos >= first && pos < last && m_z[size_t(pos)] <= z) ? pos : first;
  for (; k < last; ++k) {
    if (m_z[size_t(k)] >= m_z[size_t(k + 1)])
      return 0;
    if (z <= m_z[size_t(k + 1)]) {
      pos = k;
      return Lerp(m_z[size_t(k)], value(k), m_z[size_t(k + 1)], value(k + 1), z);
    }
  }
  return 0;
}

float CSpectrumData::GetY(float z, int i, int& pos) const
{
  return InterpolateAcrossTraces(z, i, pos, false);
}

float CSpectrumData::GetLogY(float z, int i, int& pos) const
{
  return InterpolateAcrossTraces(z, i, pos, true);
}

float CSpectrumData::GetY(float, float, int&, int&) const
{
  return 0;
}

// --- logarithmic readings

float CSpectrumData::GetLogY(int i) const
{
  return Log10Abs(GetY(i));
}

float CSpectrumData::GetLogY(int trace, int i) const
{
  return Log10Abs(GetY(trace, i));
}

// --- limits

void CSpectrumData::RecalcLimits()
{
  FindLimits(nullptr);
}

void CSpectrumData::FindLimits(const ExtremeBlocks* blocks)
{
  if (m_vectorSize == 0) {
    m_yRange = m_yMax = m_yMin = m_xMin = 0;
    m_indexOfMaxY = m_traceOfMaxY = m_indexOfMinY = m_traceOfMinY = 0;
    m_yScale = 1;
    return;
  }
  if (m_yScale == 0)
    m_yScale = 1;
  const int first = std::max(m_firstIndex, 0);
  const int last = std::min(m_lastIndex, m_vectorSize - 1);
  auto masked = [&](int i) { return m_maskEnabled && m_mask && m_mask[size_t(i)] != 0; };

  float start = GetY(m_firstIndex);
  if (m_maskEnabled)
    for (int i = first; i <= last; ++i)
      if (!masked(i)) {
        start = GetY(i);
        break;
      }
  float max = start;
  float min = start;
  int traceOfMax = m_firstArrayIndex;
  int traceOfMin = m_firstArrayIndex;
  int indexOfMax = m_firstIndex;
  int indexOfMin = m_firstIndex;
  if (m_valid && m_y && !m_maskEnabled && first <= last) {
    ExtremeScan scan{max, min};
    const size_t blocksPerTrace = size_t(m_vectorSize) / ExtremeBlocks::Block;
    for (int t = 0; t < m_arraySize; ++t) {
      scan.maxAt = scan.minAt = -1;
      scan.Scan(m_y.get() + size_t(t) * size_t(m_vectorSize), size_t(first), size_t(last) + 1, blocks,
                size_t(t) * blocksPerTrace);
      if (scan.maxAt >= 0) {
        traceOfMax = t;
        indexOfMax = int(scan.maxAt);
      }
      if (scan.minAt >= 0) {
        traceOfMin = t;
        indexOfMin = int(scan.minAt);
      }
    }
    max = scan.max;
    min = scan.min;
  } else if (m_valid && m_y) {
    for (int t = 0; t < m_arraySize; ++t)
      for (int i = first; i <= last; ++i) {
        if (masked(i))
          continue;
        const float v = YAt(t, i);
        if (v > max) {
          max = v;
          traceOfMax = t;
          indexOfMax = i;
        }
        if (v < min) {
          min = v;
          traceOfMin = t;
          indexOfMin = i;
        }
      }
  }
  m_yMin = min;
  m_yMax = max;
  m_yRange = max - min;
  m_xMin = GetX(m_firstIndex);
  m_indexOfMaxY = indexOfMax;
  m_traceOfMaxY = traceOfMax;
  m_indexOfMinY = indexOfMin;
  m_traceOfMinY = traceOfMin;
}

float CSpectrumData::GetXMin(bool recalc)
{
  if (recalc)
    RecalcLimits();
  return m_xMin;
}

float CSpectrumData::GetXMax(bool recalc)
{
  if (recalc)
    RecalcLimits();
  return m_xMin + (GetX(m_lastIndex) - GetX(m_firstIndex));
}

float CSpectrumData::GetXRange(bool) const
{
  return GetX(m_lastIndex) - GetX(m_firstIndex);
}

float CSpectrumData::GetYMin(bool recalc)
{
  if (recalc)
    RecalcLimits();
  return m_yMin;
}

float CSpectrumData::GetYMax(bool recalc)
{
  if (recalc)
    RecalcLimits();
  return m_yMax;
}

float CSpectrumData::GetYRange(bool recalc)
{
  if (recalc || m_yRange == 0)
    RecalcLimits();
  return m_yRange;
}

float CSpectrumData::GetYMin(int trace, float x1, float x2) const
{
  return YExtremes(*this, trace, x1, x2).first;
}

float CSpectrumData::GetYMax(int trace, float x1, float x2) const
{
  return YExtremes(*this, trace, x1, x2).second;
}

void CSpectrumData::GetYMinMax(float& min, float& max)
{
  RecalcLimits();
  min = m_yMin;
  max = m_yMax;
}

void CSpectrumData::GetYMinMax(float& min, float& max, float x1, float x2) const
{
  std::tie(min, max) = YExtremes(*this, m_arrayIndex, x1, x2);
}

void CSpectrumData::SetYMin(float y)
{
  if (y < m_yMax) {
    m_yMin = y;
    m_yRange = m_yMax - y;
  }
}

// log10 of 0 is taken as 0 here, as GetLogY takes it, rather than minus infinity.
float CSpectrumData::GetLogYMin(bool recalc)
{
  if (recalc)
    RecalcLimits();
  return Log10Abs(m_yMin);
}

float CSpectrumData::GetLogYRange(bool recalc)
{
  if (recalc)
    RecalcLimits();
  const float yMin = m_yMin;
  if (m_yRange == 0)
    RecalcLimits(); // the range is refreshed, the minimum read before it is kept
  const float low = std::fabs(yMin);
  const float high = std::fabs(yMin + m_yRange);
  return Log10Abs(std::max(low, high)) - Log10Abs(yMin);
}

int CSpectrumData::GetIndexOfMaxY() const
{
  return m_indexOfMaxY;
}

int CSpectrumData::GetIndexOfMinY() const
{
  return m_indexOfMinY;
}
