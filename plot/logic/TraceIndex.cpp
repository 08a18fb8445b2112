#include "TraceIndex.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <cmath>

bool XRises(const CSpectrumData& data, const float* xs)
{
  const int first = data.GetFirstIndex();
  const int last = data.GetLastIndex();
  if (data.GetIndexRange() <= 0)
    return true;
  float previous = xs ? xs[0] : data.GetX(first);
  for (int i = first + 1; i <= last; ++i) {
    const float x = xs ? xs[i - first] : data.GetX(i);
    if (!(x >= previous))
      return false;
    previous = x;
  }
  return previous == previous;
}

namespace {
int NearestInAnyOrder(const CSpectrumData& data, float x, const float* xs)
{
  const int first = data.GetFirstIndex();
  const int last = data.GetLastIndex();
  const bool masked = data.MaskEnabled();
  int nearest = -1;
  float best = 0;
  for (int i = first; i <= last; ++i) {
    if (masked && data.IsMasked(i))
      continue;
    const float d = std::fabs((xs ? xs[i - first] : data.GetX(i)) - x);
    if (!std::isnan(d) && (nearest < 0 || d < best)) {
      nearest = i;
      best = d;
    }
  }
  return nearest >= 0 ? nearest : data.GetIndex(x);
}
} // namespace

int NearestIndex(const CSpectrumData& data, float x, bool rising, const float* xs)
{
  if (data.GetIndexRange() <= 0)
    return data.GetIndex(x);
  if (!rising)
    return NearestInAnyOrder(data, x, xs);
  const int first = data.GetFirstIndex();
  const int last = data.GetLastIndex();
  const bool masked = data.MaskEnabled();

  // The walk stops at the first unmasked point whose x is not below the value.
  int lo = first, hi = last + 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (data.GetX(mid) < x)
      lo = mid + 1;
    else
      hi = mid;
  }
  int j = lo;
  while (masked && j <= last && data.IsMasked(j))
    ++j;
  if (j > last)
    return last;
  int p = j - 1;
  while (masked && p >= first && data.IsMasked(p))
    --p;
  if (p < first)
    return j;
  return (x - data.GetX(p)) > (data.GetX(j) - x) ? j : p;
}

int IndexPast(const CSpectrumData& data, float x, bool orEqual, const float* xs)
{
  const int first = data.GetFirstIndex();
  int lo = first, hi = data.GetLastIndex() + 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    const float here = xs ? xs[mid - first] : data.GetX(mid);
    if (orEqual ? here < x : here <= x)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int FoundPeakCount(const CSpectrumData& data, int entry)
{
  int k = 0;
  while (data.GetPeakWavelength(entry, k) != 0.0f || data.GetPeakIntensity(entry, k) != 0.0f)
    ++k;
  return k;
}
