#include "ExtremeScan.h"

#include "WidePaths.h"

#include <algorithm>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define EXTREME_SCAN_AVX 1
#endif

namespace {

constexpr size_t kBlock = ExtremeBlocks::Block;

void ScanPlain(const float* values, size_t begin, size_t end, ExtremeScan& e)
{
  for (size_t i = begin; i < end; ++i) {
    const float v = values[i];
    if (v > e.max) {
      e.max = v;
      e.maxAt = std::ptrdiff_t(i);
    }
    if (v < e.min) {
      e.min = v;
      e.minAt = std::ptrdiff_t(i);
    }
  }
}

#if defined(__SSE2__)
// The largest of h's four values and the smallest of l's, for both block widths. Which of two
// zeros the lanes keep depends on the width, so a zero comes out as +0 on both: the scan finds the
// value itself in the block.
inline void LaneExtremes(__m128 h, __m128 l, float& max, float& min)
{
  h = _mm_max_ps(h, _mm_shuffle_ps(h, h, _MM_SHUFFLE(1, 0, 3, 2)));
  h = _mm_max_ps(h, _mm_shuffle_ps(h, h, _MM_SHUFFLE(2, 3, 0, 1)));
  l = _mm_min_ps(l, _mm_shuffle_ps(l, l, _MM_SHUFFLE(1, 0, 3, 2)));
  l = _mm_min_ps(l, _mm_shuffle_ps(l, l, _MM_SHUFFLE(2, 3, 0, 1)));
  max = _mm_cvtss_f32(h) + 0.0f;
  min = _mm_cvtss_f32(l) + 0.0f;
}
#endif

// The block's largest and smallest value with NaNs left out (-inf and +inf when all are NaN); a
// zero comes out as +0. maxps(a, b) is a > b ? a : b lane by lane, and minps(a, b)
// a < b ? a : b: a NaN in a never gets through.
void BlockExtremes(const float* values, float& max, float& min)
{
#if defined(__SSE2__)
  // Four of each, so that the comparisons do not wait on each other.
  const __m128 low = _mm_set1_ps(-std::numeric_limits<float>::infinity());
  const __m128 high = _mm_set1_ps(std::numeric_limits<float>::infinity());
  __m128 h0 = low, h1 = low, h2 = low, h3 = low;
  __m128 l0 = high, l1 = high, l2 = high, l3 = high;
  for (size_t i = 0; i < kBlock; i += 16) {
    const __m128 v0 = _mm_loadu_ps(values + i);
    const __m128 v1 = _mm_loadu_ps(values + i + 4);
    const __m128 v2 = _mm_loadu_ps(values + i + 8);
    const __m128 v3 = _mm_loadu_ps(values + i + 12);
    h0 = _mm_max_ps(v0, h0);
    h1 = _mm_max_ps(v1, h1);
    h2 = _mm_max_ps(v2, h2);
    h3 = _mm_max_ps(v3, h3);
    l0 = _mm_min_ps(v0, l0);
    l1 = _mm_min_ps(v1, l1);
    l2 = _mm_min_ps(v2, l2);
    l3 = _mm_min_ps(v3, l3);
  }
  LaneExtremes(_mm_max_ps(_mm_max_ps(h0, h1), _mm_max_ps(h2, h3)),
               _mm_min_ps(_mm_min_ps(l0, l1), _mm_min_ps(l2, l3)), max, min);
#else
  ExtremeScan e{-std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity()};
  ScanPlain(values, 0, kBlock, e);
  max = e.max + 0.0f;
  min = e.min + 0.0f;
#endif
}

#if defined(EXTREME_SCAN_AVX)
// The same with eight values to a comparison, where the processor has them (vmaxps and vminps
// compare as maxps and minps do).
__attribute__((target("avx"))) void BlockExtremesAvx(const float* values, float& max, float& min)
{
  const __m256 low = _mm256_set1_ps(-std::numeric_limits<float>::infinity());
  const __m256 high = _mm256_set1_ps(std::numeric_limits<float>::infinity());
  __m256 h0 = low, h1 = low, h2 = low, h3 = low;
  __m256 l0 = high, l1 = high, l2 = high, l3 = high;
  for (size_t i = 0; i < kBlock; i += 32) {
    const __m256 v0 = _mm256_loadu_ps(values + i);
    const __m256 v1 = _mm256_loadu_ps(values + i + 8);
    const __m256 v2 = _mm256_loadu_ps(values + i + 16);
    const __m256 v3 = _mm256_loadu_ps(values + i + 24);
    h0 = _mm256_max_ps(v0, h0);
    h1 = _mm256_max_ps(v1, h1);
    h2 = _mm256_max_ps(v2, h2);
    h3 = _mm256_max_ps(v3, h3);
    l0 = _mm256_min_ps(v0, l0);
    l1 = _mm256_min_ps(v1, l1);
    l2 = _mm256_min_ps(v2, l2);
    l3 = _mm256_min_ps(v3, l3);
  }
  const __m256 h8 = _mm256_max_ps(_mm256_max_ps(h0, h1), _mm256_max_ps(h2, h3));
  const __m256 l8 = _mm256_min_ps(_mm256_min_ps(l0, l1), _mm256_min_ps(l2, l3));
  LaneExtremes(_mm_max_ps(_mm256_castps256_ps128(h8), _mm256_extractf128_ps(h8, 1)),
               _mm_min_ps(_mm256_castps256_ps128(l8), _mm256_extractf128_ps(l8, 1)), max, min);
}

__attribute__((target("avx"))) void SetBlocksAvx(const float* values, size_t blocks, float* max, float* min)
{
  CountWidePathRun();
  for (size_t b = 0; b < blocks; ++b)
    BlockExtremesAvx(values + b * kBlock, max[b], min[b]);
}
#endif

} // namespace

void ExtremeBlocks::Add(const float* values, size_t count)
{
  const size_t at = max.size();
  Resize(at + count / kBlock);
  Set(at, values, count);
}

void ExtremeBlocks::Resize(size_t blocks)
{
  max.resize(blocks);
  min.resize(blocks);
}

void ExtremeBlocks::Set(size_t firstBlock, const float* values, size_t count)
{
  const size_t blocks = count / kBlock;
  const size_t at = firstBlock;
#if defined(EXTREME_SCAN_AVX)
  static const bool avx = __builtin_cpu_supports("avx");
  if (avx && WidePathsAllowed()) {
    SetBlocksAvx(values, blocks, max.data() + at, min.data() + at);
    return;
  }
#endif
  for (size_t b = 0; b < blocks; ++b)
    BlockExtremes(values + b * kBlock, max[at + b], min[at + b]);
}

void ExtremeScan::Scan(const float* values, size_t begin, size_t end, const ExtremeBlocks* blocks,
                       size_t firstBlock)
{
  if (begin >= end)
    return;
  // Whole blocks of the values, between a plain head and tail.
  const size_t blocksFrom = (begin + kBlock - 1) / kBlock;
  const size_t blocksTo = end / kBlock;
  if (blocksFrom >= blocksTo) {
    ScanPlain(values, begin, end, *this);
    return;
  }
  ScanPlain(values, begin, blocksFrom * kBlock, *this);
  // A block whose largest value exceeds the maximum so far holds the value the loop would take
  // there; the last such block holds the final maximum, first reached at its first occurrence.
  size_t maxBlock = blocksTo;
  size_t minBlock = blocksTo;
  for (size_t b = blocksFrom; b < blocksTo; ++b) {
    float hi, lo;
    if (blocks) {
      hi = blocks->max[firstBlock + b];
      lo = blocks->min[firstBlock + b];
    } else {
      BlockExtremes(values + b * kBlock, hi, lo);
    }
    if (hi > max) {
      max = hi;
      maxBlock = b;
    }
    if (lo < min) {
      min = lo;
      minBlock = b;
    }
  }
  // The loop takes the first value that equals the extreme (of -0 and +0, the first one met).
  auto firstEqual = [&](size_t b, float& value) {
    const float* from = values + b * kBlock;
    const float* found = std::find(from, from + kBlock, value);
    value = *found;
    return std::ptrdiff_t(found - values);
  };
  if (maxBlock != blocksTo)
    maxAt = firstEqual(maxBlock, max);
  if (minBlock != blocksTo)
    minAt = firstEqual(minBlock, min);
  ScanPlain(values, blocksTo * kBlock, end, *this);
}
