// Joining two overlapping data sets into one.
#include "ZSpectrumData/CSpectrumData.h"

#include "TraceInterpolator.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// A resampled grid is refused only when it is large in absolute terms and out of proportion to the
// two sets as well: up to this many points always, beyond it as many for each point of the sets.
constexpr long long kResampledPointsAlways = 1LL << 24;
constexpr long long kResampledPerPoint = 16;

// The mean spacing of the points from..to, or of the whole window when that holds no interval.
// In double: a step of a thousandth over a million points must not drift by whole steps.
double MeanStep(const CSpectrumData& data, int from, int to)
{
  if (to <= from) {
    from = data.GetFirstIndex();
    to = data.GetLastIndex();
  }
  return to > from ? (double(data.GetX(to)) - double(data.GetX(from))) / double(to - from) : 0.0;
}

// How many points of the even grid from + j step lie at or before to: a point a rounding error
// past to lies on it (the float ends and the mean step each carry some), so that the last point of
// the data is kept where the span is a whole number of steps; -1 for more than an int holds.
long long GridPoints(double from, double to, double step)
{
  const double ulp = std::max(std::fabs(from), std::fabs(to)) * std::numeric_limits<float>::epsilon();
  const double steps = (to - from) / step + 1e-3 + 8 * ulp / step;
  if (!(steps >= 0 && steps < double(INT_MAX - 1)))
    return -1;
  return (long long)std::floor(steps) + 1;
}

// One stretch of a set's points that goes into the merged data, each y multiplied by factor.
struct Stretch {
  const CSpectrumData* data = nullptr;
  int from = 0;
  int to = -1; // inclusive; below from when the stretch is empty
  float factor = 1;
  int Count() const { return std::max(to - from + 1, 0); }
};

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
  const float lowFirst = low.GetX(low.m_firstIndex);
  const float lowLast = low.GetX(low.m_lastIndex);
  const float upFirst = up.GetX(up.m_firstIndex);
  const float upLast = up.GetX(up.m_lastIndex);

  // A set whose span lies inside the other's is detail over part of it: its own points replace the
  // outer set's there, brought to the outer set's level, instead of being blended in. Otherwise
  // the overlap runs from the upper set's first point to the lower set's last.
  CSpectrumData* inner = nullptr;
  if (upLast < lowLast)
    inner = &up;
  else if (upFirst <= lowFirst && lowLast < upLast)
    inner = &low;
  CSpectrumData& outer = inner == &low ? up : low;
  CSpectrumData& scaled = inner ? *inner : up; // what the level factor applies to
  CSpectrumData& level = inner ? outer : low;  // the level it is brought to
  const float s = inner ? inner->GetX(inner->m_firstIndex) : upFirst;
  const float e = inner ? inner->GetX(inner->m_lastIndex) : lowLast;
  if (!(s < e))
    return 0; // nothing to blend across
  const float w = e - s;
  const float mid = (s + e) / 2;

  // The spacing of each set inside the overlap: its span there over the intervals it holds.
  const int iL = inner ? outer.GetIndex(s) : low.GetIndex(s);
  const int iE = inner ? outer.GetIndex(e) : low.m_lastIndex;
  const int iU = inner ? inner->m_lastIndex : up.GetIndex(e);
  const double hL = MeanStep(inner ? outer : low, iL, iE);
  const double hU = MeanStep(inner ? *inner : up, inner ? inner->m_firstIndex : up.m_firstIndex, iU);
  if (!(hL > 0) || !(hU > 0))
    return 0;
  const double step = std::min(hL, hU);
  // The merged data ends where the outer set does, or else where the upper one does.
  const float mergedEnd = inner ? outer.GetX(outer.m_lastIndex) : upLast;
  const double xMin = low.m_xMin;
  const long long count = GridPoints(xMin, mergedEnd, step);
  // The finer step over the whole span can ask for any number of points (two sets of a few points
  // each, one point of them a hair from the next): such a grid is refused rather than allocated.
  const long long points = (long long)low.m_indexRange + up.m_indexRange;
  if (resample && (count < 1 || count > std::max(kResampledPointsAlways, kResampledPerPoint * points)))
    return 0;

  float f = 1;
  if (matchLevels) {
    const float q = w / 4;
    float scaledMean = scaled.GetYAverage(0, mid - q, mid + q);
    const float levelMean = level.GetYAverage(0, mid - q, mid + q);
    if (scaledMean == 0)
      scaledMean = 1;
    f = levelMean / scaledMean;
    scale = &scaled == a ? f : 1 / f;
  }

  // The merged data: what comes before the overlap, the overlap, what follows it.
  Stretch before{};
  Stretch after{};
  std::vector<float> grid; // the blend's places, when the sets are blended
  if (inner) {
    int lastBefore = outer.m_firstIndex - 1;
    while (lastBefore < outer.m_lastIndex && outer.GetX(lastBefore + 1) < s)
      ++lastBefore;
    int firstAfter = outer.m_lastIndex + 1;
    while (firstAfter > lastBefore + 1 && outer.GetX(firstAfter - 1) > e)
      --firstAfter;
    before = {&outer, outer.m_firstIndex, lastBefore, 1.0f};
    after = {&outer, firstAfter, outer.m_lastIndex, 1.0f};
  } else {
    before = {&low, low.m_firstIndex, iL - 1, 1.0f};
    after = {&up, iU + 1, up.m_lastIndex, f};
    // Its spacing runs from the lower set's towards the upper set's.
    const int nL = iE - iL;
    const int nU = iU - up.m_firstIndex;
    const int places = std::max((nL + nU) / 2, 1);
    double x = s;
    for (int i = 0; i < places && x <= e; ++i) {
      grid.push_back(float(x));
      x += hL + (hU - hL) * double(i) / double(std::max(places - 1, 1));
    }
  }
  const Stretch detail = inner ? Stretch{inner, inner->m_firstIndex, inner->m_lastIndex, f} : Stretch{};
  const int total = before.Count() + int(grid.size()) + detail.Count() + after.Count();
  CSpectrumData merged(L"Merge Result", total, 1);
  int k = 0;
  auto copy = [&](const Stretch& stretch) {
    for (int i = stretch.from; i <= stretch.to; ++i, ++k) {
      merged.m_x[size_t(k)] = stretch.data->GetX(i);
      merged.m_y[size_t(k)] = stretch.data->GetY(i) * stretch.factor;
    }
  };
  copy(before);
  copy(detail);
  const TraceInterpolator lowAt(low);
  const TraceInterpolator upAt(up);
  for (const float gx : grid) {
    const float t = (gx - s) / w;
    merged.m_x[size_t(k)] = gx;
    merged.m_y[size_t(k)] = upAt(gx) * t * f + lowAt(gx) * (1 - t);
    ++k;
  }
  copy(after);
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
    return int(count);
  const CString xLabel = merged.m_xLabel, xUnits = merged.m_xUnits;
  const CString yLabel = merged.m_yLabel, yUnits = merged.m_yUnits;
  const int n = int(count);
  out->Resize(n, 0);
  out->m_firstIndex = 0;
  out->m_lastIndex = n - 1;
  out->m_indexRange = n;
  // A last grid point a rounding error past the merged data is its last point.
  const TraceInterpolator mergedAt(merged);
  const float mergedFirst = merged.m_x[0];
  const float mergedLast = merged.m_x[size_t(total - 1)];
  for (int j = 0; j < n; ++j) {
    const float xj = std::min(float(xMin + double(j) * step), mergedLast);
    out->SetX(j, xj);
    out->SetY(j, xj >= mergedLast    ? merged.m_y[size_t(total - 1)]
                 : xj <= mergedFirst ? merged.m_y[0]
                                     : mergedAt(xj));
  }
  out->SetXLabel(xLabel);
  out->SetXUnits(xUnits);
  out->SetYLabel(yLabel);
  out->SetYUnits(yUnits);
  return n;
}
