#pragma once
// The running extremes of a float sequence as a plain loop finds them: a value strictly greater
// than the maximum so far (strictly smaller than the minimum) replaces it, so ties keep the earlier
// value and NaNs never replace anything. The scan gives the same results as that loop, a block of
// values at a time.
#include <cstddef>
#include <vector>

// The largest and smallest value of each full block of a sequence (NaNs left out), taken once,
// while the values are fresh in the cache, for later scans over any range of them.
struct ExtremeBlocks {
  static constexpr size_t Block = 256;
  std::vector<float> max;
  std::vector<float> min;

  // Appends the blocks of values[0..count - 1]; count is a multiple of Block.
  void Add(const float* values, size_t count);
  // Room for this many blocks, to be filled by Set.
  void Resize(size_t blocks);
  // The blocks from firstBlock on are those of values[0..count - 1]; count is a multiple of Block.
  // Several threads may set blocks that do not overlap at once.
  void Set(size_t firstBlock, const float* values, size_t count);
};

struct ExtremeScan {
  float max;
  float min;
  // Where max and min were last replaced, as an index into the values; -1 when they were not.
  std::ptrdiff_t maxAt = -1;
  std::ptrdiff_t minAt = -1;

  // Carries max and min on over values[begin..end - 1]. blocks, when given, holds the blocks of
  // values from values[0] on.
  void Scan(const float* values, size_t begin, size_t end, const ExtremeBlocks* blocks = nullptr,
            size_t firstBlock = 0);
};
