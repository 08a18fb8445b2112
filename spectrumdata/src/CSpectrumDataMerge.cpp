// Joining two overlapping data sets into one.
#include "ZSpectrumData/CSpectrumData.h"

#include "TraceInterpolator.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace {

// A resampled grid is refused only when it is large in absolute terms and out of proportion to the
// two sets as well: up to this many points always, beyond it as many for each point of the sets.
constexpr long long kResampledPointsAlways = 1LL << 24;
constexpr long long kResampledPerPoint = 16;

// The points of a set's window on its current trace, counted from 0.
struct Points {
  const float* x = nullptr;
  const float* y = nullptr;
  int n = 0;
  float First() const { return x[0]; }
  float Last() const { return x[n - 1]; }
  // The last point at or before v; -1 when every point lies past it.
  int LastAtOrBefore(float v) const { return int(std::upper_bound(x, x + n, v) - x) - 1; }
  // The first point at or past v; n when none does.
  int FirstAtOrAfter(float v) const { return int(std::lower_bound(x, x + n, v) - x); }
};

// Interpolation along x that only ever moves forward: lookups at x that never fall cost the points
// plus the lookups. A run of equal x reads as np.interp reads it: at that x the last of the run,
// between it and the next point the line from the last of the run.
class ForwardInterpolator {
public:
  explicit ForwardInterpolator(const Points& points) : m_p(points) {}

  double operator()(double x)
  {
    while (m_k + 1 < m_p.n && double(m_p.x[m_k + 1]) <= x)
      ++m_k;
    const double x0 = m_p.x[m_k];
    if (m_k + 1 >= m_p.n || x <= x0)
      return m_p.y[m_k];
    return InterpolateBetween(x0, m_p.y[m_k], m_p.x[m_k + 1], m_p.y[m_k + 1], x);
  }

private:
  const Points& m_p;
  int m_k = 0;
};

// How many points of the even grid from + j step lie at or before to. A point a rounding error
// past to is taken as lying on it, so that the data's last point is kept where the span is a whole
// number of steps; the allowance is what the float ends carry, but never more than half a step, or
// a step as fine as float's spacing would add several points past the data. -1 for more than an
// int holds.
long long GridPoints(double from, double to, double step)
{
  const double ulp = std::max(std::fabs(from), std::fabs(to)) * std::numeric_limits<float>::epsilon();
  const double allowance = std::min(1e-3 + 8 * ulp / step, 0.5);
  const double steps = (to - from) / step + allowance;
  if (!(steps >= 0 && steps < double(INT_MAX - 1)))
    return -1;
  return (long long)std::floor(steps) + 1;
}

// The mean spacing of a set over v0..v1 (v0 < v1, both within its span): of its points there when
// it has two apart, else of the interval that spans the range, from its last point at or before v0
// to its first at or after v1. Also how many points that spacing was taken over.
std::pair<double, int> SpacingOver(const Points& p, float v0, float v1)
{
  int from = p.FirstAtOrAfter(v0);
  int to = p.LastAtOrBefore(v1);
  if (!(to > from && p.x[to] > p.x[from])) {
    from = std::max(p.LastAtOrBefore(v0), 0);
    to = std::min(p.FirstAtOrAfter(v1), p.n - 1);
  }
  if (to <= from)
    return {0.0, 0};
  return {(double(p.x[to]) - double(p.x[from])) / double(to - from), to - from + 1};
}

// The largest |y| of a set, to see whether a level factor keeps it within float's range.
double LargestMagnitude(const Points& p)
{
  double largest = 0;
  for (int i = 0; i < p.n; ++i)
    largest = std::max(largest, double(std::fabs(p.y[i])));
  return largest;
}

// The window of a set on its current trace, when the merge can read it: a window inside its
// points, x finite and never falling.
std::optional<Points> MergeablePoints(const float* x, const float* y, int first, int last)
{
  if (!x || !y || first < 0 || last < first)
    return std::nullopt;
  Points p{x + first, y + first, last - first + 1};
  for (int i = 0; i < p.n; ++i) {
    if (!std::isfinite(p.x[i]) || (i > 0 && p.x[i] < p.x[i - 1]))
      return std::nullopt;
  }
  return p;
}

} // namespace

int CSpectrumData::MergeSpectra(CSpectrumData* a, CSpectrumData* b, CSpectrumData* out, float& scale,
                                bool matchLevels, bool resample)
{
  if (!a || !b || !a->HasPoints() || !b->HasPoints())
    return 0;
  a->RecalcLimits();
  b->RecalcLimits();
  auto points = [](const CSpectrumData& d) -> std::optional<Points> {
    if (d.m_lastIndex >= d.m_vectorSize || !d.IsTrace(d.m_arrayIndex) || !d.m_y)
      return std::nullopt;
    const float* trace = d.m_y.get() + size_t(d.m_arrayIndex) * size_t(d.m_vectorSize);
    return MergeablePoints(d.m_x.get(), trace, d.m_firstIndex, d.m_lastIndex);
  };
  // Sets with a NaN or an infinite x, or with x that fall, have no place in one rising x.
  const std::optional<Points> pa = points(*a);
  const std::optional<Points> pb = points(*b);
  if (!pa || !pb)
    return 0;
  const bool aIsLow = pa->First() < pb->First();
  CSpectrumData& low = aIsLow ? *a : *b;
  CSpectrumData& up = aIsLow ? *b : *a;
  const Points L = aIsLow ? *pa : *pb;
  const Points U = aIsLow ? *pb : *pa;

  // A set whose span lies inside the other's, ends included, is detail over part of it: all its
  // points replace the outer set's there, brought to the outer set's level. Two sets over one span
  // keep the upper one, a, whole. Otherwise the two are blended from the upper set's first point
  // to the lower set's last.
  const Points* inner = nullptr;
  if (U.Last() <= L.Last())
    inner = &U;
  else if (U.First() == L.First())
    inner = &L;
  const Points& outer = inner == &L ? U : L;
  const Points& scaled = inner ? *inner : U; // what the level factor applies to
  CSpectrumData& scaledSet = inner == &L ? low : up;
  CSpectrumData& levelSet = inner == &L ? up : low;
  const float s = inner ? inner->First() : U.First();
  const float e = inner ? inner->Last() : L.Last();
  if (!(s < e))
    return 0; // sets that touch, a set of one x inside the other: nothing to merge across
  const double w = double(e) - double(s); // in double: the span may be wider than float's range

  // The spacing of each set across the overlap; the grid takes the finer.
  const auto [hL, pointsL] = SpacingOver(inner ? outer : L, s, e);
  const auto [hU, pointsU] = SpacingOver(inner ? *inner : U, s, e);
  const double step = std::min(hL, hU);
  if (!(step > 0))
    return 0;
  const double xMin = L.First();
  const double mergedEnd = std::max(L.Last(), U.Last());
  const long long count = GridPoints(xMin, mergedEnd, step);
  // The finer step over the whole span can ask for any number of points (two sets of a few points
  // each, one point of them a hair from the next): such a grid is refused rather than allocated.
  const long long setPoints = (long long)L.n + U.n;
  if (resample && (count < 1 || count > std::max(kResampledPointsAlways, kResampledPerPoint * setPoints)))
    return 0;

  // Only a finite, positive factor that keeps every scaled y within float's range matches levels:
  // a level of 0, of the other sign or not finite on either side refuses the merge.
  double f = 1;
  if (matchLevels) {
    const double mid = (double(s) + double(e)) / 2;
    const double q = w / 4;
    double scaledMean = scaledSet.GetYAverage(0, float(mid - q), float(mid + q));
    const double levelMean = levelSet.GetYAverage(0, float(mid - q), float(mid + q));
    if (scaledMean == 0)
      scaledMean = 1;
    f = levelMean / scaledMean;
    if (!(f > 0 && f <= std::numeric_limits<float>::max()) || float(f) == 0 || !std::isfinite(float(1 / f)) ||
        LargestMagnitude(scaled) * double(float(f)) > std::numeric_limits<float>::max())
      return 0;
    f = float(f);
    scale = &scaledSet == a ? float(f) : float(1 / f);
  }
  if (resample && !out)
    return int(count);

  // The merged data: what comes before the overlap, the overlap, what follows it.
  std::vector<float> mx;
  std::vector<float> my;
  auto reserve = [&](size_t points) {
    mx.reserve(points);
    my.reserve(points);
  };
  auto keep = [&](const Points& p, int from, int to, double factor) {
    for (int i = from; i < to; ++i) {
      mx.push_back(p.x[i]);
      my.push_back(float(double(p.y[i]) * factor));
    }
  };
  const int beforeEnd = outer.FirstAtOrAfter(s); // the outer (or lower) set's points before s
  const int afterStart = (inner ? outer : U).LastAtOrBefore(e) + 1; // those past e
  if (inner) {
    reserve(size_t(beforeEnd) + size_t(inner->n) + size_t(outer.n - afterStart));
    keep(outer, 0, beforeEnd, 1);
    keep(*inner, 0, inner->n, f);
    keep(outer, afterStart, outer.n, 1);
  } else {
    // The blend runs over a grid from s to e whose spacing grows evenly from the lower set's to
    // the upper set's: x(u) = s + w (hL u + (hU - hL) u^2 / 2) / mean, u = i / intervals. The
    // intervals are no more than the points the two spacings were taken over.
    const double mean = (hL + hU) / 2;
    const long long intervals = std::llround(std::clamp(w / mean, 1.0, double(pointsL + pointsU)));
    reserve(size_t(beforeEnd) + size_t(intervals + 1) + size_t(U.n - afterStart));
    keep(L, 0, beforeEnd, 1);
    ForwardInterpolator lowAt(L);
    ForwardInterpolator upAt(U);
    for (long long i = 0; i <= intervals; ++i) {
      const double u = double(i) / double(intervals);
      const double at = i == intervals ? e : s + w * (hL * u + (hU - hL) * u * u / 2) / mean;
      const float gx = std::clamp(float(at), s, e);
      const double t = (double(gx) - s) / w;
      mx.push_back(gx);
      my.push_back(float(upAt(gx) * f * t + lowAt(gx) * (1 - t)));
    }
    keep(U, afterStart, U.n, f);
  }
  const int total = int(mx.size());
  const CString xLabel = low.m_xLabel, xUnits = low.m_xUnits;
  const CString yLabel = low.m_yLabel, yUnits = low.m_yUnits;

  // The result is one fresh trace, whatever out held before.
  const int n = resample ? int(count) : total;
  CSpectrumData result(L"Merge Result", n, 1);
  if (!resample) {
    std::copy(mx.begin(), mx.end(), result.m_x.get());
    std::copy(my.begin(), my.end(), result.m_y.get());
  } else {
    // The even grid from the lower set's first x by the finer step; a last point within rounding
    // of the merged data's end lies on it.
    const Points merged{mx.data(), my.data(), total};
    ForwardInterpolator mergedAt(merged);
    const float last = merged.Last();
    for (int j = 0; j < n; ++j) {
      const float xj = std::min(float(xMin + double(j) * step), last);
      result.m_x[size_t(j)] = xj;
      result.m_y[size_t(j)] = float(mergedAt(xj));
    }
  }
  mx = {};
  my = {};
  result.SetXLabel(xLabel);
  result.SetXUnits(xUnits);
  result.SetYLabel(yLabel);
  result.SetYUnits(yUnits);
  if (out)
    *out = result;
  return n;
}
