#include "WidePaths.h"

#include <atomic>

namespace {
std::atomic<bool> allowed{true};
} // namespace

bool WidePathsAllowed()
{
  return allowed.load(std::memory_order_relaxed);
}

void AllowWidePaths(bool on)
{
  allowed.store(on, std::memory_order_relaxed);
}
