#pragma once
// A few threads kept waiting for work that the caller shares out, so that a caller on a busy
// machine never waits for a thread to start or to end: it takes the items itself, and waits only
// for those a helper has already begun. The process's shared helpers are made at first use and
// never destroyed.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class HelperThreads {
public:
  // The process's helpers, made at first use; still there while the program ends.
  static HelperThreads& Shared();

  explicit HelperThreads(unsigned helpers);
  ~HelperThreads();
  HelperThreads(const HelperThreads&) = delete;
  HelperThreads& operator=(const HelperThreads&) = delete;

  // Calls item(k) once for every k below count, on the calling thread and on any helper that is
  // free, and returns when every call has returned. item must not throw. While another caller's
  // items are under way, the calling thread does all of its own.
  void Share(size_t count, const std::function<void(size_t)>& item);

private:
  struct Work;
  void Serve();
  void Drain(Work& work);

  std::mutex m_lock;
  std::condition_variable m_posted;   // new work, or the end
  std::condition_variable m_finished; // the last item of the work is done
  std::shared_ptr<Work> m_work;
  unsigned long m_generation = 0;
  bool m_stop = false;
  std::vector<std::thread> m_threads;
};
