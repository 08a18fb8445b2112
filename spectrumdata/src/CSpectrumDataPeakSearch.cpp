// The peak search: zero crossings of the smoothed first derivative above a threshold, then the
// half-level points on either side of each peak.
#include "ZSpectrumData/CSpectrumData.h"

#include "SavitzkyGolay.h"
#include "SpectrumArrays.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// x where the line through (x0, y0) and (x1, y1) reaches level.
float CrossingX(float x0, float y0, float x1, float y1, float level)
{
  return x0 + (level - y0) * (x1 - x0) / (y1 - y0);
}

} // namespace

int CSpectrumData::FindPeaks(bool replaceWithSmoothed)
{
  const SPeakFindParams p = m_peakFindParams;
  if (!HasPoints() || !m_x || !m_y || p.m_peaksPerTrace <= 0 || !m_peaks)
    return 0;
  int h = GetIndex(GetX(m_firstIndex) + p.m_smoothingWidth) - m_firstIndex;
  if (h <= 0)
    h = 1;
  const int i1 = GetIndex(p.m_xFrom);
  const int i2 = GetIndex(p.m_xTo);
  if (i1 >= i2)
    return 0;
  const int pad = h + 4;
  const float step =
      p.m_smoothingWidth > 0 ? p.m_smoothingWidth / float(h) : GetX(m_firstIndex + 1) - GetX(m_firstIndex);
  const int firstTrace = std::max(m_firstArrayIndex, 0);
  const int lastTrace = std::min(m_lastArrayIndex, m_arraySize - 1);

  // The work copy: the searched points i1..i2 behind pad leading and before pad trailing points,
  // as a copy cropped to them and padded would hold them (a crop to less than the whole vector
  // leaves the traces outside the trace window zero, the added points are zero and unmasked),
  // with the added points of the trace window continuing the x step and holding the end values,
  // so that the smoothing and the derivative see no edge. It is built in one pass, as the
  // searched points are the bulk of the work.
  const long long total = (long long)(i2 - i1 + 1) + 2LL * pad;
  if (total > INT_MAX)
    return 0; // too large to pad
  const int n = int(total);
  const int firstReal = pad;
  const int lastReal = n - 1 - pad;
  const size_t count = size_t(i2 - i1 + 1);
  const bool wholeVector = i1 == 0 && i2 == m_vectorSize - 1;
  CSpectrumData w;
  w.m_x = UnfilledArray<float>(size_t(n));
  w.m_mask = ZeroArray<BYTE>(size_t(n));
  w.m_y = ZeroArray<float>(size_t(n) * size_t(m_arraySize));
  w.m_z = ZeroArray<float>(size_t(m_arraySize));
  w.m_vectorSize = w.m_indexRange = n;
  w.m_pointCapacity = n;
  w.m_lastIndex = n - 1;
  w.m_arraySize = m_arraySize;
  w.m_firstArrayIndex = m_firstArrayIndex;
  w.m_lastArrayIndex = m_lastArrayIndex;
  w.m_arrayIndexRange = m_arrayIndexRange;
  w.m_arrayIndex = m_arrayIndex;
  w.m_maskEnabled = m_maskEnabled;
  w.m_valid = 1;
  float* wx = w.m_x.get();
  CopyInto(wx + firstReal, m_x.get() + i1, count);
  CopyInto(w.m_mask.get() + firstReal, m_mask.get() + i1, count);
  for (int j = 0; j < pad; ++j) {
    wx[j] = wx[firstReal] + float(j - pad) * step;
    wx[lastReal + 1 + j] = wx[lastReal] + float(j + 1) * step;
  }
  for (int t = 0; t < m_arraySize; ++t) {
    const bool searched = t >= firstTrace && t <= lastTrace;
    if (!searched && !wholeVector)
      continue;
    float* wy = w.m_y.get() + size_t(t) * size_t(n);
    CopyInto(wy + firstReal, m_y.get() + size_t(t) * size_t(m_vectorSize) + size_t(i1), count);
    if (searched) {
      std::fill(wy, wy + firstReal, wy[firstReal]);
      std::fill(wy + lastReal + 1, wy + n, wy[lastReal]);
    }
  }
  if (p.m_smoothingWidth > 0)
    w.Smooth(p.m_smoothingWidth);
  // The first derivative of each searched trace; a window the filter refuses leaves the values.
  SavitzkyGolayFilter derivative;
  const bool differentiate = derivative.Prepare(4, 4, 1, 4);
  std::vector<float> dy;
  w.RecalcLimits();
  const float base = p.m_useBaseLevel ? p.m_baseLevel : w.m_yMin;
  const float threshold = base + p.m_thresholdFraction * (w.m_yMax - base);
  const bool useMask = w.m_maskEnabled && w.m_mask;

  std::vector<int> counts(size_t(m_arraySize), 0);
  const int perTrace = p.m_peaksPerTrace;
  for (int t = firstTrace; t <= lastTrace; ++t) {
    SSpectrumPeak* records = m_peaks.get() + size_t(t) * size_t(perTrace);
    // A search that finds fewer peaks than the last one leaves no stale records behind.
    std::fill(records, records + perTrace, SSpectrumPeak());
    const float* wy = w.m_y.get() + size_t(t) * size_t(n);
    dy.assign(wy, wy + n);
    if (differentiate)
      derivative.Apply(dy.data(), n);
    int& found = counts[size_t(t)];
    for (int j = pad; j + 1 < n - 1 - pad && found < perTrace; ++j) {
      const int k = j + 1;
      // A derivative of exactly 0 at the top (a peak centred on a point) is a crossing as well.
      if (!(dy[j] >= 0 && dy[k] < 0))
        continue;
      const float x = wx[j] + (wx[k] - wx[j]) * dy[j] / (dy[j] - dy[k]);
      const float y = wy[j] + (wy[k] - wy[j]) / (wx[k] - wx[j]) * (x - wx[j]);
      if (y > threshold)
        records[found++].m_wavelength = x;
    }
    for (int r = 0; r < found; ++r) {
      SSpectrumPeak& peak = records[r];
      const float x = peak.m_wavelength;
      int m = useMask ? w.GetIndex(x) : 0;
      if (!useMask) {
        // The nearest point, the lower one on a tie, as GetIndex finds it.
        m = int(std::lower_bound(wx + w.m_firstIndex, wx + w.m_lastIndex + 1, x) - wx);
        if (m > w.m_lastIndex)
          m = w.m_lastIndex;
        else if (m > w.m_firstIndex && (x - wx[m - 1]) <= (wx[m] - x))
          --m;
      }
      peak.m_intensity = wy[m];
      const float half = base + peak.m_intensity / 2;
      bool left = false;
      for (int i = m; i - 1 >= w.m_firstIndex && wx[i - 1] >= p.m_xFrom; --i)
        if (wy[i - 1] < half) {
          peak.m_leftHalfX = CrossingX(wx[i - 1], wy[i - 1], wx[i], wy[i], half);
          left = true;
          break;
        }
      bool right = false;
      if (left)
        for (int i = m; i + 1 <= w.m_lastIndex; ++i)
          if (wy[i + 1] < half) {
            peak.m_rightHalfX = CrossingX(wx[i], wy[i], wx[i + 1], wy[i + 1], half);
            right = true;
            break;
          }
      if (left && right) {
        peak.m_leftHalfWidth = x - peak.m_leftHalfX;
        peak.m_rightHalfWidth = peak.m_rightHalfX - x;
        peak.m_fullWidth = peak.m_rightHalfX - peak.m_leftHalfX;
      }
    }
  }

  if (replaceWithSmoothed)
    for (int t = firstTrace; t <= lastTrace; ++t)
      for (int i = i1; i <= i2; ++i)
        SetY(t, i, w.YAt(t, i - i1 + pad));
  return IsTrace(m_arrayIndex) ? counts[size_t(m_arrayIndex)] : 0;
}
