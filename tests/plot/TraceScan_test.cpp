// The scan a paint's limits come from reads the points in bulk; what it finds must be, bit for bit,
// what a walk over the same points one accessor call at a time finds: masks, several traces, an
// index window, failed readings, signed zeros and windows of every size (read in bulk or not).
#include "TraceIndex.h"
#include "TraceScan.h"

#include <ZSpectrumData/CSpectrumData.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// The limits of points first..last of the data set, read one by one, in the points' order.
STraceScan Walk(const CSpectrumData& data, int first, int last)
{
  STraceScan s;
  auto widen = [](float& lo, float& hi, bool& any, float v) {
    if (!std::isfinite(v))
      return;
    lo = any ? std::min(lo, v) : v;
    hi = any ? std::max(hi, v) : v;
    any = true;
  };
  for (int i = first; i <= last; ++i) {
    widen(s.xMin, s.xMax, s.hasX, data.GetX(i));
    if (data.MaskEnabled() && data.IsMasked(i))
      continue;
    for (int t = 0; t < data.GetArraySize(); ++t) {
      const float y = data.GetY(t, i);
      widen(s.yMin, s.yMax, s.hasY, y);
      const float a = std::fabs(y);
      if (a > 0 && std::isfinite(a) && (!s.hasNonZeroY || a < s.yAbsMin)) {
        s.yAbsMin = a;
        s.hasNonZeroY = true;
      }
    }
  }
  return s;
}

std::string Bits(const STraceScan& s)
{
  auto b = [](float v) { return std::to_string(std::bit_cast<uint32_t>(v)); };
  return std::to_string(s.hasX) + std::to_string(s.hasY) + std::to_string(s.hasNonZeroY) + " x " + b(s.xMin) +
         " " + b(s.xMax) + " y " + b(s.yMin) + " " + b(s.yMax) + " |y| " + b(s.yAbsMin);
}

// Now and then only zeros of both signs and values above them, so that a limit is often a zero
// whose sign the first zero decides.
float RandomY(std::mt19937& random, bool zerosAtTheBottom)
{
  if (zerosAtTheBottom)
    return random() % 2 ? (random() % 2 ? 0.0f : -0.0f) : float(1 + random() % 5);
  const float special[] = {0.0f, -0.0f, kNaN, kInf, -kInf, 1e-38f, -3e38f, 3e38f};
  if (random() % 4 == 0)
    return special[random() % 8];
  return std::uniform_real_distribution<float>(-100.0f, 100.0f)(random);
}
} // namespace

TEST(TraceScan, ScansReadInBulkFindWhatAWalkOverEveryPointFinds)
{
  std::mt19937 random(20261210);
  int windowsChecked = 0;
  for (int round = 0; round < 300; ++round) {
    const int points = 1 + int(random() % 3000);
    const int traces = 1 + int(random() % 3);
    const bool zerosAtTheBottom = round % 3 == 0;
    CSpectrumData data(L"scan", points, traces);
    // x strictly rising (infinite at the ends now and then), so that each point is nearest to its
    // own x and a window between two points' x values holds exactly the points between them.
    float x = std::uniform_real_distribution<float>(-1000.0f, 1000.0f)(random);
    for (int i = 0; i < points; ++i) {
      x = std::nextafter(x + std::uniform_real_distribution<float>(0.0f, 2.0f)(random), kInf);
      data.SetX(i, x);
      for (int t = 0; t < traces; ++t)
        data.SetY(t, i, RandomY(random, zerosAtTheBottom));
      if (random() % 5 == 0)
        data.Mask(i, true);
    }
    if (points > 2 && random() % 4 == 0) {
      data.SetX(0, -kInf);
      data.SetX(points - 1, kInf);
    }
    // Unsorted x (NaN among it) has no index window; only the whole scan is compared.
    // Or x that rises in steps, each value held a while: zeros of both signs at the top of the
    // range or inside it (only the whole scan is compared here too).
    const bool unsorted = round % 5 == 4, steps = round % 5 == 3;
    if (unsorted) {
      for (int i = 0; i < points; ++i)
        data.SetX(i, random() % 9 == 0 ? kNaN : RandomY(random, zerosAtTheBottom));
    }
    if (steps) {
      const int top = int(random() % 3);
      for (int i = 0; i < points; ++i) {
        const int level = std::min(top, -3 + 6 * i / points);
        data.SetX(i, level != 0 ? float(level) : (random() % 2 ? 0.0f : -0.0f));
      }
    }
    data.EnableMask(random() % 2 == 0);
    const int first = int(random() % unsigned(points));
    data.SetFirstIndex(first);
    data.SetLastIndex(first + int(random() % unsigned(points - first)));
    const int lo = data.GetFirstIndex(), hi = data.GetLastIndex();

    CTraceScanCache cache;
    const std::string where = "round " + std::to_string(round);
    ASSERT_EQ(Bits(cache.Scan(data)), Bits(Walk(data, lo, hi))) << where;
    ASSERT_EQ(cache.Scan(data).rising, XRises(data)) << where;
    ASSERT_TRUE(unsorted || cache.Scan(data).rising) << where;
    for (int w = 0; w < (unsorted || steps ? 0 : 4); ++w) {
      // Both ends at points that are on every trace's line, so no stroke crosses an end.
      int p = lo + int(random() % unsigned(hi - lo + 1)), q = lo + int(random() % unsigned(hi - lo + 1));
      if (p > q)
        std::swap(p, q);
      if (!std::isfinite(data.GetX(p)) || !std::isfinite(data.GetX(q)))
        continue;
      for (int i : {p, q}) {
        data.Mask(i, false);
        for (int t = 0; t < traces; ++t)
          if (!std::isfinite(data.GetY(t, i)))
            data.SetY(t, i, float(i));
      }
      cache.Forget(&data);
      ASSERT_EQ(NearestIndex(data, data.GetX(p), true), p) << where;
      const STraceScan& window = cache.ScanWindow(data, data.GetX(p), true, data.GetX(q), true);
      ASSERT_EQ(Bits(window), Bits(Walk(data, p, q))) << where << " window " << p << ".." << q;
      ++windowsChecked;
    }
  }
  EXPECT_GT(windowsChecked, 700);
}
