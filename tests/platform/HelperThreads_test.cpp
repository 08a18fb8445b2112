#include "HelperThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

// Items that take a little while, so that the helpers get some of them.
void Spin(std::atomic<int>& counter)
{
  for (int i = 0; i < 20000; ++i)
    std::atomic_signal_fence(std::memory_order_seq_cst);
  ++counter;
}

} // namespace

TEST(HelperThreads, EveryItemRunsOnceBeforeShareReturns)
{
  HelperThreads helpers(3);
  // The helpers' items are slow: Share must wait for them after the caller has run out of items.
  const std::thread::id caller = std::this_thread::get_id();
  for (size_t count : {size_t(0), size_t(1), size_t(500)}) {
    std::vector<std::atomic<int>> calls(count);
    helpers.Share(count, [&](size_t k) {
      if (std::this_thread::get_id() != caller)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      Spin(calls[k]);
    });
    for (size_t k = 0; k < count; ++k)
      ASSERT_EQ(calls[k], 1) << count << " items, item " << k;
  }

  // Two callers at once: the second does its items itself while the first shares its own.
  std::vector<std::atomic<int>> first(2000), second(2000);
  std::thread other([&] { helpers.Share(second.size(), [&](size_t k) { Spin(second[k]); }); });
  helpers.Share(first.size(), [&](size_t k) { Spin(first[k]); });
  other.join();
  for (size_t k = 0; k < first.size(); ++k) {
    ASSERT_EQ(first[k], 1) << k;
    ASSERT_EQ(second[k], 1) << k;
  }

  // Without helpers the caller does everything.
  HelperThreads none(0);
  std::vector<std::atomic<int>> alone(10);
  none.Share(alone.size(), [&](size_t k) { Spin(alone[k]); });
  for (const std::atomic<int>& call : alone)
    EXPECT_EQ(call, 1);
}

// A load still under way on a thread the program does not join uses the shared helpers while the
// statics are destroyed at exit. Here the load runs in an exit handler registered before the
// helpers are made, so that it runs after anything made at their first use is gone; a helper must
// still take one of its items.
TEST(HelperThreads, TheSharedHelpersOutliveTheProgramsStatics)
{
  if (std::thread::hardware_concurrency() < 2)
    GTEST_SKIP() << "one core: the shared helpers are none";
  // A fresh process, in which the shared helpers are not made before the handler is registered.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::atexit([] {
          static const std::thread::id caller = std::this_thread::get_id();
          static std::atomic<int> onHelpers{0};
          HelperThreads::Shared().Share(64, [](size_t k) {
            if (std::this_thread::get_id() != caller) {
              ++onHelpers;
              return;
            }
            // The caller's first item waits for a helper's, with a generous bound.
            for (int i = 0; k == 0 && onHelpers == 0 && i < 2000; ++i)
              std::this_thread::sleep_for(std::chrono::milliseconds(5));
          });
          std::_Exit(onHelpers > 0 ? 0 : 3);
        });
        HelperThreads::Shared();
        std::exit(1);
      },
      ::testing::ExitedWithCode(0), "");
}
