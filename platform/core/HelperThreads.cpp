#include "HelperThreads.h"

#include <algorithm>
#include <atomic>

// A helper that wakes after every item was taken finds none left and never touches item, which
// may be gone by then; it only holds the shared counts.
struct HelperThreads::Work {
  size_t count = 0;
  const std::function<void(size_t)>* item = nullptr;
  std::atomic<size_t> next{0};
  std::atomic<size_t> done{0};
};

HelperThreads& HelperThreads::Shared()
{
  // Three at most: what they share is mostly copying, bound by the memory more than by the cores.
  // Never destroyed: a thread the program does not join may still be loading while the statics are
  // destroyed at exit, and would share out its items to helpers that are gone. The helpers end
  // with the process, waiting for work.
  static HelperThreads* const shared =
      new HelperThreads(std::min(std::max(std::thread::hardware_concurrency(), 1u) - 1, 3u));
  return *shared;
}

HelperThreads::HelperThreads(unsigned helpers)
{
  try {
    m_threads.reserve(helpers);
    for (unsigned i = 0; i < helpers; ++i)
      m_threads.emplace_back([this] { Serve(); });
  } catch (const std::exception&) {
    // Fewer helpers (none, at worst): the callers do more of their items themselves.
  }
}

HelperThreads::~HelperThreads()
{
  {
    const std::lock_guard<std::mutex> lock(m_lock);
    m_stop = true;
  }
  m_posted.notify_all();
  for (std::thread& thread : m_threads)
    thread.join();
}

void HelperThreads::Drain(Work& work)
{
  for (size_t k = work.next.fetch_add(1); k < work.count; k = work.next.fetch_add(1)) {
    (*work.item)(k);
    if (work.done.fetch_add(1) + 1 == work.count) {
      const std::lock_guard<std::mutex> lock(m_lock);
      m_finished.notify_all();
    }
  }
}

void HelperThreads::Serve()
{
  unsigned long seen = 0;
  std::unique_lock<std::mutex> lock(m_lock);
  for (;;) {
    m_posted.wait(lock, [&] { return m_stop || (m_work && m_generation != seen); });
    if (m_stop)
      return;
    seen = m_generation;
    const std::shared_ptr<Work> work = m_work;
    lock.unlock();
    Drain(*work);
    lock.lock();
  }
}

void HelperThreads::Share(size_t count, const std::function<void(size_t)>& item)
{
  auto work = std::make_shared<Work>();
  work->count = count;
  work->item = &item;
  bool shared = false;
  {
    const std::lock_guard<std::mutex> lock(m_lock);
    if (!m_work && !m_threads.empty()) {
      m_work = work;
      ++m_generation;
      shared = true;
    }
  }
  if (shared)
    m_posted.notify_all();
  Drain(*work);
  if (!shared)
    return;
  std::unique_lock<std::mutex> lock(m_lock);
  m_finished.wait(lock, [&] { return work->done == work->count; });
  m_work.reset();
}
