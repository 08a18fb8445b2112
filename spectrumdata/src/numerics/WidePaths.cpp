#include "WidePaths.h"

#include <atomic>

namespace {
std::atomic<bool> allowed{true};
std::atomic<unsigned long long> runs{0};
} // namespace

bool WidePathsAllowed()
{
  return allowed.load(std::memory_order_relaxed);
}

void AllowWidePaths(bool on)
{
  allowed.store(on, std::memory_order_relaxed);
}

unsigned long long WidePathRuns()
{
  return runs.load(std::memory_order_relaxed);
}

void CountWidePathRun()
{
  runs.fetch_add(1, std::memory_order_relaxed);
}
