// The block scan for the extremes must find what the plain loop finds, position for position.
#include "ExtremeScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

ExtremeScan PlainLoop(const std::vector<float>& values, size_t begin, float start)
{
  ExtremeScan e{start, start};
  for (size_t i = begin; i < values.size(); ++i) {
    if (values[i] > e.max) {
      e.max = values[i];
      e.maxAt = std::ptrdiff_t(i);
    }
    if (values[i] < e.min) {
      e.min = values[i];
      e.minAt = std::ptrdiff_t(i);
    }
  }
  return e;
}

bool SameBits(float a, float b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(ExtremeScan, FindsThePlainLoopsExtremesAndFirstPositions)
{
  std::mt19937 random(3);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (int round = 0; round < 200; ++round) {
    // Few distinct values, so that ties are everywhere; NaNs and signed zeros among them.
    const size_t count = size_t(random() % 1300);
    std::vector<float> values(count);
    for (float& v : values) {
      const unsigned pick = random() % 12;
      v = pick == 0 ? nan : pick == 1 ? -0.0f : float(int(pick) - 6);
      if (round % 7 == 6) // zeros of both signs as the extremes
        v = pick < 6 ? -0.0f : pick < 11 ? 0.0f : nan;
    }
    const float start = round % 5 == 0 ? nan : round % 5 == 1 ? 0.0f : float(int(random() % 9) - 4);
    // From a start inside the first block, with the blocks taken beforehand or on the way.
    const size_t begin = std::min(count, size_t(random() % 300));
    const ExtremeScan expected = PlainLoop(values, begin, start);
    ExtremeBlocks blocks;
    blocks.Add(values.data(), count - count % ExtremeBlocks::Block);
    for (const ExtremeBlocks* given :
         {static_cast<const ExtremeBlocks*>(nullptr), static_cast<const ExtremeBlocks*>(&blocks)}) {
      ExtremeScan scanned{start, start};
      scanned.Scan(values.data(), begin, count, given);
      ASSERT_TRUE(SameBits(scanned.max, expected.max)) << round;
      ASSERT_TRUE(SameBits(scanned.min, expected.min)) << round;
      ASSERT_EQ(scanned.maxAt, expected.maxAt) << round;
      ASSERT_EQ(scanned.minAt, expected.minAt) << round;
    }
  }
}
