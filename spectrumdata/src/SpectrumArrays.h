#pragma once
// The owned point arrays of a data set: zero-filled on allocation, copied only from what exists.
#include <algorithm>
#include <cstddef>
#include <memory>

template <typename T> std::unique_ptr<T[]> ZeroArray(size_t count)
{
  return count ? std::make_unique<T[]>(count) : nullptr;
}

// For an array that is filled whole right after: no pass over it before that.
template <typename T> std::unique_ptr<T[]> UnfilledArray(size_t count)
{
  return count ? std::make_unique_for_overwrite<T[]>(count) : nullptr;
}

template <typename T> std::unique_ptr<T[]> CopyArrayOf(const T* source, size_t count)
{
  if (!source || !count)
    return nullptr;
  auto copy = std::make_unique<T[]>(count);
  std::copy_n(source, count, copy.get());
  return copy;
}

template <typename T> void CopyInto(T* target, const T* source, size_t count)
{
  if (target && source && count)
    std::copy_n(source, count, target);
}
