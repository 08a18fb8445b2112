#include "ExtremeScan.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Blocks are reduced a vector at a time; only the block where an extreme last rose is walked again,
// to find the first value that equals it.
constexpr size_t kBlock = 256;

void ScanPlain(const float* values, size_t count, ExtremeScan& e, std::ptrdiff_t offset)
{
  for (size_t i = 0; i < count; ++i) {
    const float v = values[i];
    if (v > e.max) {
      e.max = v;
      e.maxAt = offset + std::ptrdiff_t(i);
    }
    if (v < e.min) {
      e.min = v;
      e.minAt = offset + std::ptrdiff_t(i);
    }
  }
}

#if defined(__SSE2__)
// maxps(a, b) is a > b ? a : b lane by lane, and minps(a, b) a < b ? a : b: the plain loop's
// comparisons, NaNs and signed zeros included.
float HorizontalMax(__m128 v)
{
  v = _mm_max_ps(v, _mm_shuffle_ps(v, v, _MM_SHUFFLE(1, 0, 3, 2)));
  v = _mm_max_ps(v, _mm_shuffle_ps(v, v, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtss_f32(v);
}

float HorizontalMin(__m128 v)
{
  v = _mm_min_ps(v, _mm_shuffle_ps(v, v, _MM_SHUFFLE(1, 0, 3, 2)));
  v = _mm_min_ps(v, _mm_shuffle_ps(v, v, _MM_SHUFFLE(2, 3, 0, 1)));
  return _mm_cvtss_f32(v);
}
#endif

} // namespace

void ExtremeScan::Scan(const float* values, size_t count)
{
#if defined(__SSE2__)
  size_t start = 0;
  size_t maxBlock = count;
  size_t minBlock = count;
  for (; start + kBlock <= count; start += kBlock) {
    __m128 hi = _mm_set1_ps(max);
    __m128 lo = _mm_set1_ps(min);
    for (size_t i = start; i < start + kBlock; i += 4) {
      const __m128 v = _mm_loadu_ps(values + i);
      hi = _mm_max_ps(v, hi);
      lo = _mm_min_ps(v, lo);
    }
    const float blockMax = HorizontalMax(hi);
    const float blockMin = HorizontalMin(lo);
    if (blockMax > max) {
      max = blockMax;
      maxBlock = start;
    }
    if (blockMin < min) {
      min = blockMin;
      minBlock = start;
    }
  }
  // The first value equal to an extreme that rose inside a block is where the loop took it.
  auto firstEqual = [&](size_t block, float value) {
    const float* found = std::find(values + block, values + block + kBlock, value);
    return std::ptrdiff_t(found - values);
  };
  if (maxBlock != count)
    maxAt = firstEqual(maxBlock, max);
  if (minBlock != count)
    minAt = firstEqual(minBlock, min);
  ScanPlain(values + start, count - start, *this, std::ptrdiff_t(start));
#else
  ScanPlain(values, count, *this, 0);
#endif
}
