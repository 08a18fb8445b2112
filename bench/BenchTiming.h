#pragma once
// Timing arithmetic shared by the benchmarks that measure their own baselines in the same run.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

inline double Seconds(std::chrono::steady_clock::duration d)
{
  return std::chrono::duration<double>(d).count();
}

// The middle sample: one slow pass on a shared machine moves it less than it moves a mean.
inline double Median(std::vector<double> samples)
{
  if (samples.empty())
    return 0;
  const auto middle = samples.begin() + std::ptrdiff_t(samples.size() / 2);
  std::nth_element(samples.begin(), middle, samples.end());
  return *middle;
}
