#include "TraceScan.h"
#include "TraceIndex.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {
bool SameBits(float a, float b)
{
  return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

// Widens [low, high] to take in value, unless it is not finite; the first value sets both.
void Widen(float& low, float& high, bool& any, float value)
{
  if (!std::isfinite(value))
    return;
  if (!any) {
    low = high = value;
    any = true;
  } else {
    low = std::min(low, value);
    high = std::max(high, value);
  }
}

void TakeYValue(STraceScan& scan, float y)
{
  Widen(scan.yMin, scan.yMax, scan.hasY, y);
  const float a = std::fabs(y);
  if (a > 0.0f && std::isfinite(a) && (!scan.hasNonZeroY || a < scan.yAbsMin)) {
    scan.yAbsMin = a;
    scan.hasNonZeroY = true;
  }
}

void TakeX(STraceScan& scan, float x)
{
  Widen(scan.xMin, scan.xMax, scan.hasX, x);
}

// The y of every trace of the array at point i.
void TakeY(STraceScan& scan, const CSpectrumData& data, int i)
{
  if (data.MaskEnabled() && data.IsMasked(i))
    return;
  for (int t = 0; t < data.GetArraySize(); ++t)
    TakeYValue(scan, data.GetY(t, i));
}

// The limits a pass gathers, held apart from the scan: the values the pass reads are floats too,
// and stores into a float the compiler must assume they alias would go to memory at every point.
struct SLimits {
  bool hasX = false, hasY = false, hasNonZeroY = false;
  float xMin = 0, xMax = 0, yMin = 0, yMax = 0, yAbsMin = 0;

  explicit SLimits(const STraceScan& scan)
      : hasX(scan.hasX), hasY(scan.hasY), hasNonZeroY(scan.hasNonZeroY), xMin(scan.xMin), xMax(scan.xMax),
        yMin(scan.yMin), yMax(scan.yMax), yAbsMin(scan.yAbsMin)
  {}
  void StoreIn(STraceScan& scan) const
  {
    scan.hasX = hasX;
    scan.hasY = hasY;
    scan.hasNonZeroY = hasNonZeroY;
    scan.xMin = xMin;
    scan.xMax = xMax;
    scan.yMin = yMin;
    scan.yMax = yMax;
    scan.yAbsMin = yAbsMin;
  }
  // As TakeX and TakeYValue, value for value.
  void TakeX(float x) { Widen(xMin, xMax, hasX, x); }
  void TakeY(float y)
  {
    Widen(yMin, yMax, hasY, y);
    const float a = std::fabs(y);
    if (a > 0.0f && std::isfinite(a) && (!hasNonZeroY || a < yAbsMin)) {
      yAbsMin = a;
      hasNonZeroY = true;
    }
  }
};

// The finite limits of n values, as TakeX (and, with the magnitudes, TakeYValue) finds them one by
// one, but in eight independent lanes: one chain of comparisons waits on each step before it.
// The order does not matter to the result but for a limit of 0: of equal values the fold keeps
// the first, and only +0 and -0 are equal with other bits; such a limit takes the first zero's.
struct SRange {
  bool any = false, anyNonZero = false;
  float lo = 0, hi = 0, absMin = 0;
};

SRange RangeOf(const float* values, size_t n)
{
  constexpr size_t kLanes = 8;
  constexpr float kInf = std::numeric_limits<float>::infinity();
  constexpr float kMax = std::numeric_limits<float>::max();
  float lo[kLanes], hi[kLanes], absMin[kLanes];
  std::fill(lo, lo + kLanes, kInf);
  std::fill(hi, hi + kLanes, -kInf);
  std::fill(absMin, absMin + kLanes, kInf);
  auto take = [&](size_t lane, float v) {
    const float a = std::fabs(v);
    const bool finite = a <= kMax; // NaN and both infinities fail
    lo[lane] = finite & (v < lo[lane]) ? v : lo[lane];
    hi[lane] = finite & (hi[lane] < v) ? v : hi[lane];
    absMin[lane] = finite & (a > 0.0f) & (a < absMin[lane]) ? a : absMin[lane];
  };
  size_t k = 0;
  for (; k + kLanes <= n; k += kLanes)
    for (size_t lane = 0; lane < kLanes; ++lane)
      take(lane, values[k + lane]);
  for (; k < n; ++k)
    take(0, values[k]);
  SRange r;
  r.lo = *std::min_element(lo, lo + kLanes);
  r.hi = *std::max_element(hi, hi + kLanes);
  r.absMin = *std::min_element(absMin, absMin + kLanes);
  r.any = r.lo <= kMax;
  r.anyNonZero = r.absMin <= kMax;
  if (!r.any)
    r.lo = r.hi = 0;
  if (!r.anyNonZero)
    r.absMin = 0;
  if (r.any && (r.lo == 0.0f || r.hi == 0.0f)) {
    const float firstZero = *std::find(values, values + n, 0.0f);
    r.lo = r.lo == 0.0f ? firstZero : r.lo;
    r.hi = r.hi == 0.0f ? firstZero : r.hi;
  }
  return r;
}

// RangeOf for values that never fall and hold no NaN (rising x): the finite limits lie at the
// ends, inside any infinities there. Of a run of equal values at the top the fold keeps the
// first, which differs from the last only in the sign of a zero.
SRange RisingRangeOf(const float* values, size_t n)
{
  constexpr float kMax = std::numeric_limits<float>::max();
  auto finite = [&](size_t k) { return std::fabs(values[k]) <= kMax; };
  SRange r;
  size_t low = 0;
  while (low < n && !finite(low))
    ++low;
  if (low == n)
    return r;
  size_t high = n - 1;
  while (!finite(high))
    --high;
  while (values[high] == 0.0f && high > low && values[high - 1] == 0.0f)
    --high;
  r.any = true;
  r.lo = values[low];
  r.hi = values[high];
  return r;
}

// TakeX and TakeY for every point of first..last, in that order. xs is the kept x of the data
// set's index range. The y values are read in bulk, one trace at a time, into ys when the points
// are a good part of the range (the bulk read copies all of it); each read one by one costs an
// out-of-line call with its checks, several times what the pass does with the value.
void TakePoints(STraceScan& scan, const CSpectrumData& data, const std::vector<float>& xs, bool rising,
                int first, int last, std::vector<float>& ys)
{
  const int from = data.GetFirstIndex();
  const size_t range = size_t(std::max(data.GetIndexRange(), 0));
  const size_t traces = size_t(data.GetArraySize());
  if (first > last || first < from || last > data.GetLastIndex() || xs.size() != range ||
      size_t(data.GetLastIndex() - from) + 1 != range) {
    for (int i = first; i <= last; ++i) {
      TakeX(scan, data.GetX(i));
      TakeY(scan, data, i);
    }
    return;
  }
  const size_t count = size_t(last - first) + 1;
  const bool bulk = count * 4 >= range;
  if (bulk) {
    ys.resize(range * traces);
    for (size_t t = 0; t < traces; ++t)
      data.GetYData(ys.data() + t * range, int(t));
  }
  const bool masking = data.MaskEnabled();
  const size_t begin = size_t(first - from), end = begin + count;
  // x and y widen limits of their own: each in its own pass, each in the points' order.
  SLimits limits(scan);
  const bool fresh = !scan.hasX && !scan.hasY && !scan.hasNonZeroY;
  if (fresh) {
    const SRange x = rising ? RisingRangeOf(xs.data() + begin, count) : RangeOf(xs.data() + begin, count);
    limits.hasX = x.any;
    limits.xMin = x.lo;
    limits.xMax = x.hi;
  } else {
    for (size_t k = begin; k < end; ++k)
      limits.TakeX(xs[k]);
  }
  if (fresh && bulk && traces == 1 && !masking) {
    const SRange y = RangeOf(ys.data() + begin, count);
    limits.hasY = y.any;
    limits.yMin = y.lo;
    limits.yMax = y.hi;
    limits.hasNonZeroY = y.anyNonZero;
    limits.yAbsMin = y.absMin;
  } else {
    for (size_t k = begin; k < end; ++k) {
      const int i = from + int(k);
      if (masking && data.IsMasked(i))
        continue;
      for (size_t t = 0; t < traces; ++t)
        limits.TakeY(bulk ? ys[t * range + k] : data.GetY(int(t), i));
    }
  }
  limits.StoreIn(scan);
}

// The y at x of the stroke from (ax, ay) to (bx, by) when it crosses x between its ends.
void TakeCrossing(STraceScan& scan, float x, float ax, float ay, float bx, float by)
{
  if (!(std::min(ax, bx) < x && x < std::max(ax, bx)))
    return;
  const double t = (double(x) - ax) / (double(bx) - ax);
  TakeYValue(scan, float(ay + t * (double(by) - ay)));
}

// A point the line of array entry t passes through: the drawing leaves out masked points and
// failed readings and joins their neighbours.
bool OnLine(const CSpectrumData& data, int t, int i)
{
  return !(data.MaskEnabled() && data.IsMasked(i)) && std::isfinite(data.GetX(i)) &&
         std::isfinite(data.GetY(t, i));
}

// Where x rises: the y at which each entry's line crosses x, found from the points either side.
void TakeCrossingsAt(STraceScan& scan, const CSpectrumData& data, float x)
{
  const int first = data.GetFirstIndex(), last = data.GetLastIndex();
  const int past = IndexPast(data, x, true);
  for (int t = 0; t < data.GetArraySize(); ++t) {
    int a = past - 1, b = past;
    while (a >= first && !OnLine(data, t, a))
      --a;
    while (b <= last && !OnLine(data, t, b))
      ++b;
    if (a >= first && b <= last)
      TakeCrossing(scan, x, data.GetX(a), data.GetY(t, a), data.GetX(b), data.GetY(t, b));
  }
}

// In any order: the y at which each stroke of each entry's line crosses a fixed end of the window.
void TakeCrossingsOfEveryStroke(STraceScan& scan, const CSpectrumData& data, float xLow, bool lowFixed,
                                float xHigh, bool highFixed)
{
  for (int t = 0; t < data.GetArraySize(); ++t) {
    bool any = false;
    float ax = 0, ay = 0;
    for (int i = data.GetFirstIndex(); i <= data.GetLastIndex(); ++i) {
      if (!OnLine(data, t, i))
        continue;
      const float bx = data.GetX(i), by = data.GetY(t, i);
      if (any && lowFixed && (!highFixed || xLow <= xHigh))
        TakeCrossing(scan, xLow, ax, ay, bx, by);
      if (any && highFixed && (!lowFixed || xLow <= xHigh))
        TakeCrossing(scan, xHigh, ax, ay, bx, by);
      any = true;
      ax = bx;
      ay = by;
    }
  }
}
} // namespace

float LogAbs(float y)
{
  return y == 0.0f ? 0.0f : std::log10(std::fabs(y));
}

bool CTraceScanCache::SStamp::operator==(const SStamp& o) const
{
  return first == o.first && last == o.last && vectorSize == o.vectorSize && arraySize == o.arraySize &&
         arrayIndex == o.arrayIndex && masking == o.masking && SameBits(firstX, o.firstX) &&
         SameBits(lastX, o.lastX) && SameBits(firstY, o.firstY) && SameBits(lastY, o.lastY);
}

CTraceScanCache::SStamp CTraceScanCache::StampOf(const CSpectrumData& data)
{
  SStamp s;
  s.first = data.GetFirstIndex();
  s.last = data.GetLastIndex();
  s.vectorSize = data.GetVectorSize();
  s.arraySize = data.GetArraySize();
  s.arrayIndex = data.GetArrayIndex();
  s.masking = data.MaskEnabled();
  s.firstX = data.GetX(s.first);
  s.lastX = data.GetX(s.last);
  s.firstY = data.GetY(s.first);
  s.lastY = data.GetY(s.last);
  return s;
}

CTraceScanCache::SEntry& CTraceScanCache::EntryFor(CSpectrumData& data)
{
  const SStamp stamp = StampOf(data);
  auto it =
      std::find_if(m_entries.begin(), m_entries.end(), [&](const SEntry& e) { return e.data == &data; });
  if (it != m_entries.end() && it->stamp == stamp)
    return *it;
  if (it == m_entries.end())
    it = m_entries.insert(m_entries.end(), SEntry{});
  SEntry& entry = *it;
  entry = SEntry{};
  entry.data = &data;
  entry.stamp = stamp;
  STraceScan& scan = entry.scan;
  data.RecalcLimits();
  if (data.GetIndexRange() > 0) {
    // The bulk copy writes first..last, which the index range should count.
    if (data.GetLastIndex() - data.GetFirstIndex() + 1 == data.GetIndexRange()) {
      scan.xs.resize(size_t(data.GetIndexRange()));
      data.GetXData(scan.xs.data());
    }
    scan.rising = XRises(data, scan.xs.empty() ? nullptr : scan.xs.data());
    TakePoints(scan, data, scan.xs, scan.rising, data.GetFirstIndex(), data.GetLastIndex(), m_ys);
  }
  return entry;
}

const STraceScan& CTraceScanCache::Scan(CSpectrumData& data)
{
  return EntryFor(data).scan;
}

const STraceScan& CTraceScanCache::ScanWindow(CSpectrumData& data, float xLow, bool lowFixed, float xHigh,
                                              bool highFixed)
{
  SEntry& entry = EntryFor(data);
  if (entry.hasWindow && entry.lowFixed == lowFixed && entry.highFixed == highFixed &&
      (!lowFixed || SameBits(entry.low, xLow)) && (!highFixed || SameBits(entry.high, xHigh)))
    return entry.window;
  entry.hasWindow = true;
  entry.low = xLow;
  entry.high = xHigh;
  entry.lowFixed = lowFixed;
  entry.highFixed = highFixed;
  STraceScan& window = entry.window;
  window = STraceScan{};
  window.rising = entry.scan.rising;
  if (data.GetIndexRange() <= 0)
    return window;
  if (entry.scan.rising) {
    // The points from the one nearest the low end to the one nearest the high end, as a copy of
    // the data set cut with SetFirstIndex and SetLastIndex at those x values would hold.
    const int first = lowFixed ? NearestIndex(data, xLow, true) : data.GetFirstIndex();
    const int last = std::max(first, highFixed ? NearestIndex(data, xHigh, true) : data.GetLastIndex());
    TakePoints(window, data, entry.scan.xs, true, first, last, m_ys);
    // With no point inside, or one, the nearest points alone would give the window a flat Y
    // range, and the line through it, crossing from one side to the other, would not be drawn.
    if (lowFixed)
      TakeCrossingsAt(window, data, xLow);
    if (highFixed)
      TakeCrossingsAt(window, data, xHigh);
  } else {
    // Unsorted x has no index window: the points whose x lies in the window.
    for (int i = data.GetFirstIndex(); i <= data.GetLastIndex(); ++i) {
      const float x = data.GetX(i);
      if ((lowFixed && !(x >= xLow)) || (highFixed && !(x <= xHigh)))
        continue;
      TakeX(window, x);
      TakeY(window, data, i);
    }
    TakeCrossingsOfEveryStroke(window, data, xLow, lowFixed, xHigh, highFixed);
  }
  return window;
}

STracePath& CTraceScanCache::Path(CSpectrumData& data)
{
  return EntryFor(data).path;
}

void CTraceScanCache::Forget(const CSpectrumData* data)
{
  if (!data) {
    m_entries.clear();
    return;
  }
  std::erase_if(m_entries, [&](const SEntry& e) { return e.data == data; });
}
