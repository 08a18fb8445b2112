#pragma once
// What MergeSpectra must hold for any two data sets, checked from the outside: the randomised test
// and the merge fuzz target both run it. Either the merge is refused (0, out as it was) or:
//  1. the merged x never fall and are finite, y are finite where the inputs' are, the lower set's
//     points before the overlap and the upper set's after it are there unchanged (the upper set's
//     times the level factor), and a set inside the other (ends equal included; of two over one
//     span, a) is there whole, times the factor;
//  2. the resampled x start at the lower set's first x and go up by one step to the last grid
//     point within the merged data, none past it;
//  3. each resampled y is the merged data interpolated at its x, by the walk below.
#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace merge_properties {

struct Set {
  std::vector<float> x;
  std::vector<float> y;
};

inline CSpectrumData Make(const Set& s)
{
  CSpectrumData d(L"Set", int(s.x.size()), 1);
  for (size_t i = 0; i < s.x.size(); ++i) {
    d.SetX(int(i), s.x[i]);
    d.SetY(int(i), s.y[i]);
  }
  return d;
}

inline Set Read(const CSpectrumData& d)
{
  Set s;
  for (int i = d.GetFirstIndex(); i <= d.GetLastIndex(); ++i) {
    s.x.push_back(d.GetX(i));
    s.y.push_back(d.GetY(i));
  }
  return s;
}

// Where the check stands after a pair, for the callers' figures.
struct Tally {
  long long pairs = 0;
  long long calls = 0;
  long long merged = 0;    // pairs merged rather than refused
  long long resampled = 0; // resampled merges checked point by point
};

// The reference: the merged points walked once, a run of equal x read as np.interp reads it (the
// last of the run at its x, the line from it beyond).
inline double ReferenceAt(const Set& m, double x, size_t& j)
{
  while (j + 1 < m.x.size() && double(m.x[j + 1]) <= x)
    ++j;
  if (j + 1 == m.x.size() || double(m.x[j]) >= x)
    return m.y[j];
  const long double x0 = m.x[j], x1 = m.x[j + 1], y0 = m.y[j], y1 = m.y[j + 1];
  if (y0 == y1)
    return double(y0);
  return double(y0 * ((x1 - x) / (x1 - x0)) + y1 * ((x - x0) / (x1 - x0)));
}

inline bool AllFinite(const std::vector<float>& v)
{
  return std::all_of(v.begin(), v.end(), [](float f) { return std::isfinite(f); });
}

inline bool Rising(const Set& s)
{
  if (!AllFinite(s.x))
    return false;
  for (size_t i = 1; i < s.x.size(); ++i)
    if (s.x[i] < s.x[i - 1])
      return false;
  return true;
}

// Equal, or both NaN: a NaN y is carried over as it is.
inline bool Same(float a, float b)
{
  return a == b || (std::isnan(a) && std::isnan(b));
}

inline double Ulp(double v)
{
  return std::fabs(v) * std::numeric_limits<float>::epsilon() + std::numeric_limits<float>::denorm_min();
}

// Checks one pair; the first property broken, or "" when all hold. Grids beyond maxGrid points are
// counted but not made (the refusal cap lets a resampled merge make 16,777,216 points).
inline std::string Check(const Set& sa, const Set& sb, bool matchLevels, Tally& tally,
                         long long maxGrid = 400000)
{
  std::ostringstream why;
  ++tally.pairs;
  CSpectrumData a = Make(sa);
  CSpectrumData b = Make(sb);
  auto untouched = [] {
    CSpectrumData d(L"Untouched", 3, 2);
    d.SetX(0, 7);
    d.Mask(1, true);
    return d;
  };
  auto stillUntouched = [](const CSpectrumData& d) {
    return d.GetName() == CString(L"Untouched") && d.GetVectorSize() == 3 && d.GetArraySize() == 2 &&
           d.GetX(0) == 7 && d.IsMasked(1);
  };
  CSpectrumData out = untouched();
  float scale = -123;
  ++tally.calls;
  const int n = CSpectrumData::MergeSpectra(&a, &b, &out, scale, matchLevels, false);

  // Which set is which, as the merge must take them.
  const bool usable = !sa.x.empty() && !sb.x.empty() && Rising(sa) && Rising(sb);
  const bool aLow = usable && sa.x.front() < sb.x.front();
  const Set& L = aLow ? sa : sb;
  const Set& U = aLow ? sb : sa;
  const Set* inner = nullptr;
  if (usable && U.x.back() <= L.x.back())
    inner = &U;
  else if (usable && U.x.front() == L.x.front())
    inner = &L;
  const Set& scaled = inner ? *inner : U;
  const Set& outer = inner == &L ? U : L;
  const float s = usable ? (inner ? inner->x.front() : U.x.front()) : 0;
  const float e = usable ? (inner ? inner->x.back() : L.x.back()) : 0;
  const bool overlap = usable && s < e;

  if (n == 0) {
    if (!stillUntouched(out))
      return "a refused merge changed out";
    if (overlap && !matchLevels)
      return "two sets over a common span were refused";
    return "";
  }
  if (!overlap)
    return "sets without a common span, or not rising and finite, were merged";
  ++tally.merged;
  const Set m = Read(out);
  if (out.GetArraySize() != 1 || int(m.x.size()) != n || out.GetName() != CString(L"Merge Result"))
    return "the merged data is not one fresh trace of the returned count";
  if (!Rising(m))
    return "the merged x fall or are not finite";
  const bool finiteIn = AllFinite(sa.y) && AllFinite(sb.y);
  if (finiteIn && !AllFinite(m.y))
    return "a merged y is not finite";

  // The level factor the scaled set took.
  const bool scaledIsA = &scaled == &sa;
  const double f = !matchLevels ? 1.0 : scaledIsA ? double(scale) : 1.0 / double(scale);
  if (!(f > 0) || !std::isfinite(f))
    return "the level factor is not finite and positive";
  auto sameScaled = [&](float got, float y) {
    const double want = double(y) * f;
    return std::fabs(double(got) - want) <= 4 * Ulp(want) || (f == 1 && Same(got, y)) ||
           (std::isnan(got) && std::isnan(y));
  };

  // The lower (outer) set's points before the overlap open the merged data, the upper (outer)
  // set's after it close it.
  size_t k = 0;
  for (size_t i = 0; i < outer.x.size() && outer.x[i] < s; ++i, ++k)
    if (k >= m.x.size() || m.x[k] != outer.x[i] || !Same(m.y[k], outer.y[i]))
      return (why << "the point at x " << outer.x[i] << " before the overlap is lost or changed", why.str());
  const Set& tailSet = inner ? outer : U;
  const double tailFactor = inner ? 1.0 : f;
  size_t tail = 0;
  for (size_t i = tailSet.x.size(); i-- > 0 && tailSet.x[i] > e; ++tail) {
    const size_t at = m.x.size() - 1 - tail;
    const bool same = tailFactor == 1 ? Same(m.y[at], tailSet.y[i]) : sameScaled(m.y[at], tailSet.y[i]);
    if (at < k || m.x[at] != tailSet.x[i] || !same)
      return (why << "the point at x " << tailSet.x[i] << " after the overlap is lost or changed", why.str());
  }
  const size_t middleEnd = m.x.size() - tail;
  if (inner) {
    if (middleEnd - k != inner->x.size())
      return "the inner set is not kept whole";
    for (size_t i = 0; i < inner->x.size(); ++i)
      if (m.x[k + i] != inner->x[i] || !sameScaled(m.y[k + i], inner->y[i]))
        return (why << "the inner set's point at x " << inner->x[i] << " is lost or changed", why.str());
  } else if (middleEnd <= k || m.x[k] != s || m.x[middleEnd - 1] != e) {
    return "the blend does not run from the overlap's start to its end";
  }

  // Resampled: first only the count, then, when the grid is small enough, the grid itself.
  float scale2 = scale;
  ++tally.calls;
  const long long count = CSpectrumData::MergeSpectra(&a, &b, nullptr, scale2, matchLevels, true);
  if (count == 0 || count > maxGrid)
    return "";
  CSpectrumData even = untouched();
  ++tally.calls;
  const int r = CSpectrumData::MergeSpectra(&a, &b, &even, scale2, matchLevels, true);
  if (r != count)
    return "the resampled count depends on out";
  ++tally.resampled;
  const Set g = Read(even);
  if (even.GetArraySize() != 1 || int(g.x.size()) != r || even.IsMasked(1))
    return "the resampled data is not one fresh trace of the returned count";
  if (g.x.front() != L.x.front() || !Rising(g))
    return "the resampled x do not start at the lower set's first x and rise";
  const double last = m.x.back();
  if (g.x.back() > last)
    return "a resampled x lies past the merged data";
  if (r >= 3) {
    const double x0 = g.x.front();
    const double step = (double(g.x[size_t(r - 2)]) - x0) / double(r - 2);
    const double tol = 3 * Ulp(std::max(std::fabs(x0), std::fabs(last)));
    if (!(step > 0))
      return "the resampled step is not positive";
    for (size_t j = 1; j + 1 < g.x.size(); ++j) {
      if (std::fabs(double(g.x[j]) - (x0 + double(j) * step)) > tol)
        return (why << "resampled x " << j << " is off the even grid", why.str());
      if (step > 2 * tol && !(g.x[j] > g.x[j - 1]))
        return (why << "resampled x " << j << " does not rise", why.str());
    }
    // The grid ends at the last point within the data: the allowance for rounding is a fraction of
    // a step, never several.
    const double allowance = std::min(0.5, 2e-3 + 16 * tol / 3 / step);
    const double span = last - x0;
    if (double(r - 1) * step > span + allowance * step + tol ||
        double(r) * step < span - allowance * step - tol)
      return (why << "the resampled grid of " << r << " points by " << step << " does not end at " << last,
              why.str());
  }
  size_t j = 0;
  for (size_t i = 0; i < g.x.size(); ++i) {
    const double want = ReferenceAt(m, g.x[i], j);
    const double bound =
        std::max(std::fabs(double(m.y[j])), j + 1 < m.y.size() ? std::fabs(double(m.y[j + 1])) : 0.0);
    if (finiteIn && !std::isfinite(g.y[i]))
      return "a resampled y is not finite";
    if (std::isfinite(want) && !(std::fabs(double(g.y[i]) - want) <= 4 * Ulp(bound)))
      return (why << "resampled y at x " << g.x[i] << " is " << g.y[i] << ", the merged data " << want,
              why.str());
  }
  return "";
}

} // namespace merge_properties
