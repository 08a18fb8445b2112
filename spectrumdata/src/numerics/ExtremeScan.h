#pragma once
// The running extremes of a float sequence as a plain loop finds them: a value strictly greater
// than the maximum so far (strictly smaller than the minimum) replaces it, so ties keep the earlier
// value and NaNs never replace anything. The scan gives the same results as that loop, only faster.
#include <cstddef>

struct ExtremeScan {
  float max;
  float min;
  // Where max and min were last replaced, counted from the start of the values; -1 when they were
  // not replaced.
  std::ptrdiff_t maxAt = -1;
  std::ptrdiff_t minAt = -1;

  // Carries max and min on over values[0..count - 1], which the positions then refer to.
  void Scan(const float* values, size_t count);
};
