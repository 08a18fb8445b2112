// The wide vector paths of the extreme scan and the smoothing against the portable ones on the same
// data, byte for byte: the machines that run the tests have the wide ones, so the portable paths
// run only here.
#include "ExtremeScan.h"
#include "SavitzkyGolay.h"
#include "WidePaths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

// The wide paths stay off while it lives.
struct PortableOnly {
  PortableOnly() { AllowWidePaths(false); }
  ~PortableOnly() { AllowWidePaths(true); }
  PortableOnly(const PortableOnly&) = delete;
  PortableOnly& operator=(const PortableOnly&) = delete;
};

bool HasAvx(bool avx2)
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  return avx2 ? __builtin_cpu_supports("avx2") : __builtin_cpu_supports("avx");
#else
  return avx2 && false;
#endif
}

template <typename T> bool SameBytes(const std::vector<T>& a, const std::vector<T>& b)
{
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

// Normal values with ties, NaNs, infinities and zeros of both signs among them, and a few blocks of
// zeros or NaNs only.
std::vector<float> Awkward(size_t count, unsigned seed)
{
  std::mt19937 random(seed);
  std::normal_distribution<float> normal(0.0f, 100.0f);
  const float specials[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            0.0f,
                            -0.0f,
                            7.0f};
  std::vector<float> values(count);
  for (float& v : values)
    v = random() % 50 == 0 ? specials[random() % 6] : normal(random);
  for (size_t i = 0; i < ExtremeBlocks::Block && 3 * ExtremeBlocks::Block <= count; ++i) {
    values[i] = i % 2 ? 0.0f : -0.0f;
    values[ExtremeBlocks::Block + i] = std::numeric_limits<float>::quiet_NaN();
    values[2 * ExtremeBlocks::Block + i] = i % 3 ? -0.0f : 0.0f;
  }
  return values;
}

} // namespace

TEST(WidePaths, ExtremeBlocksAreTheSameBitsOnBothPaths)
{
  if (!HasAvx(false))
    GTEST_SKIP() << "no wide path on this processor";
  const std::vector<float> values = Awkward(5100000, 5);
  const size_t whole = values.size() - values.size() % ExtremeBlocks::Block;
  ExtremeBlocks wide;
  wide.Add(values.data(), whole);
  ExtremeBlocks portable;
  {
    PortableOnly only;
    portable.Add(values.data(), whole);
  }
  EXPECT_TRUE(SameBytes(wide.max, portable.max));
  EXPECT_TRUE(SameBytes(wide.min, portable.min));
}

TEST(WidePaths, SmoothingIsTheSameBitsOnBothPaths)
{
  if (!HasAvx(true))
    GTEST_SKIP() << "no wide path on this processor";
  const std::vector<float> values = Awkward(200003, 9);
  // Windows of a few and of many weights; lengths that end in a partial group of outputs.
  const int windows[][4] = {{2, 2, 0, 2}, {12, 12, 0, 4}, {40, 40, 1, 6}};
  for (const auto& w : windows)
    for (const size_t count : {size_t(37), size_t(5000), values.size()}) {
      SavitzkyGolayFilter filter;
      ASSERT_TRUE(filter.Prepare(w[0], w[1], w[2], w[3]));
      std::vector<float> wide(values.begin(), values.begin() + std::ptrdiff_t(count));
      std::vector<float> portable = wide;
      ASSERT_TRUE(filter.ApplyDirect(wide.data(), int(count)));
      {
        PortableOnly only;
        ASSERT_TRUE(filter.ApplyDirect(portable.data(), int(count)));
      }
      EXPECT_TRUE(SameBytes(wide, portable)) << w[0] << " " << w[3] << " " << count;
    }
}

// The comparisons above only mean something when the switch really changes the path: with it off,
// no wide routine runs.
TEST(WidePaths, TurningThemOffSendsTheWorkDownThePortablePaths)
{
  if (!HasAvx(false) || !HasAvx(true))
    GTEST_SKIP() << "no wide path on this processor";
  const std::vector<float> values = Awkward(64 * ExtremeBlocks::Block, 3);
  SavitzkyGolayFilter filter;
  ASSERT_TRUE(filter.Prepare(12, 12, 0, 4));
  std::vector<float> smoothed = values;
  auto scan = [&] {
    ExtremeBlocks blocks;
    blocks.Add(values.data(), values.size());
  };
  auto smooth = [&] { ASSERT_TRUE(filter.ApplyDirect(smoothed.data(), int(smoothed.size()))); };
  for (const auto& run : {std::function<void()>(scan), std::function<void()>(smooth)}) {
    const unsigned long long before = WidePathRuns();
    run();
    EXPECT_GT(WidePathRuns(), before) << "the wide path runs where it is allowed";
    PortableOnly only;
    const unsigned long long off = WidePathRuns();
    run();
    EXPECT_EQ(WidePathRuns(), off) << "and not where it is turned off";
  }
}
