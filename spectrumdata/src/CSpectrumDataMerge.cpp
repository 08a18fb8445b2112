// Joining two overlapping data sets into one.
#include "ZSpectrumData/CSpectrumData.h"

#include "TraceInterpolator.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// How many resampled points a merge may make for each point of the two sets.
constexpr int kMaxResamplePerPoint = 256;

// The mean spacing of the points from..to, or of the whole window when that holds no interval.
float MeanStep(const CSpectrumData& data, int from, int to)
{
  if (to <= from) {
    from = data.GetFirstIndex();
    to = data.GetLastIndex();
  }
  return to > from ? (data.GetX(to) - data.GetX(from)) / float(to - from) : 0.0f;
}

} // namespace

int CSpectrumData::MergeSpectra(CSpectrumData* a, CSpectrumData* b, CSpectrumData* out, float& scale,
                                bool matchLevels, bool resample)
{
  if (!a || !b || !a->HasPoints() || !b->HasPoints())
    return 0;
  a->RecalcLimits();
  b->RecalcLimits();
  CSpectrumData& low = a->m_xMin < b->m_xMin ? *a : *b;
  CSpectrumData& up = &low == a ? *b : *a;

  // The overlap runs from the upper set's first point to where the first of the two ends. A set
  // lying wholly inside the other overlaps it over its own span only, and past that the outer
  // (lower) set goes on: its points follow the overlap instead of the upper set's.
  const float s = up.GetX(up.m_firstIndex);
  const float upLast = up.GetX(up.m_lastIndex);
  const float lowLast = low.GetX(low.m_lastIndex);
  const bool inside = upLast < lowLast;
  const float e = inside ? upLast : lowLast;
  if (!(s < e))
    return 0; // nothing to blend across
  const float w = e - s;
  const float mid = (s + e) / 2;
  const int iL = low.GetIndex(s);
  const int iU = up.GetIndex(e);
  const int iE = inside ? low.GetIndex(e) : low.m_lastIndex; // the lower set's last point in the overlap
  const int nL = iE - iL;
  const int nU = iU - up.m_firstIndex;
  // The spacing of each set inside the overlap: its span there over the intervals it holds.
  const float hL = MeanStep(low, iL, iE);
  const float hU = MeanStep(up, up.m_firstIndex, iU);
  const float step = std::min(hL, hU);
  if (!(hL > 0) || !(hU > 0))
    return 0;
  // Steps of the finer spacing from the lower x min towards the end of the merged data, rounded:
  // the last one stays within the data.
  const float intervals = ((inside ? lowLast : upLast) - low.m_xMin) / step + 0.5f;
  if (!(intervals >= 1 && intervals < float(INT_MAX - 128)))
    return 0;
  const int count = int(intervals);

  float f = 1;
  if (matchLevels) {
    const float q = w / 4;
    float upMean = up.GetYAverage(0, mid - q, mid + q);
    const float lowMean = low.GetYAverage(0, mid - q, mid + q);
    if (upMean == 0)
      upMean = 1;
    f = lowMean / upMean;
    scale = &up == a ? f : 1 / f;
  }

  // The blend grid: its spacing runs from the lower set's towards the upper set's.
  std::vector<float> grid;
  const int places = std::max((nL + nU) / 2, 1);
  float x = s;
  for (int i = 0; i < places && x <= e; ++i) {
    grid.push_back(x);
    x += hL + (hU - hL) * float(i) / float(std::max(places - 1, 1));
  }

  // What follows the overlap: the outer set's points past a set inside it, else the upper set's,
  // brought to the lower one's level.
  CSpectrumData& tail = inside ? low : up;
  const int tailFrom = (inside ? iE : iU) + 1;
  const float tailFactor = inside ? 1.0f : f;
  const int fromLow = std::max(iL - low.m_firstIndex, 0);
  const int fromTail = std::max(tail.m_lastIndex - tailFrom + 1, 0);
  const int total = fromLow + int(grid.size()) + fromTail;
  CSpectrumData merged(L"Merge Result", total, 1);
  int k = 0;
  for (int i = low.m_firstIndex; i < iL; ++i, ++k) {
    merged.m_x[size_t(k)] = low.GetX(i);
    merged.m_y[size_t(k)] = low.GetY(i);
  }
  const TraceInterpolator lowAt(low);
  const TraceInterpolator upAt(up);
  for (const float gx : grid) {
    const float t = (gx - s) / w;
    merged.m_x[size_t(k)] = gx;
    merged.m_y[size_t(k)] = upAt(gx) * t * f + lowAt(gx) * (1 - t);
    ++k;
  }
  for (int i = tailFrom; i <= tail.m_lastIndex; ++i, ++k) {
    merged.m_x[size_t(k)] = tail.GetX(i);
    merged.m_y[size_t(k)] = tail.GetY(i) * tailFactor;
  }
  merged.SetXLabel(low.m_xLabel);
  merged.SetXUnits(low.m_xUnits);
  merged.SetYLabel(low.m_yLabel);
  merged.SetYUnits(low.m_yUnits);

  if (!resample) {
    if (out)
      *out = merged;
    return total;
  }
  if (!out)
    return count;
  // The finer step over the whole span can ask for any number of points (two sets of a few points
  // each, one point of them a hair from the next); a grid that much finer than the sets is refused
  // rather than allocated.
  if (count / kMaxResamplePerPoint > (long long)low.m_indexRange + up.m_indexRange)
    return 0;
  const float xMin = low.m_xMin;
  const CString xLabel = merged.m_xLabel, xUnits = merged.m_xUnits;
  const CString yLabel = merged.m_yLabel, yUnits = merged.m_yUnits;
  out->Resize(count, 0);
  out->m_firstIndex = 0;
  out->m_lastIndex = count - 1;
  out->m_indexRange = count;
  // Rounding may put the last grid point a hair past the merged data: it takes the end value, as
  // a first point before the merged data takes the first.
  const TraceInterpolator mergedAt(merged);
  const float mergedFirst = merged.m_x[0];
  const float mergedLast = merged.m_x[size_t(total - 1)];
  for (int j = 0; j < count; ++j) {
    const float xj = xMin + float(j) * step;
    out->SetX(j, xj);
    out->SetY(j, xj >= mergedLast    ? merged.m_y[size_t(total - 1)]
                 : xj <= mergedFirst ? merged.m_y[0]
                                     : mergedAt(xj));
  }
  out->SetXLabel(xLabel);
  out->SetXUnits(xUnits);
  out->SetYLabel(yLabel);
  out->SetYUnits(yUnits);
  return count;
}
