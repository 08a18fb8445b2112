#include "CEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

TEST(CEvent, AutoResetEventIsTakenByOneWait)
{
  CEvent event;
  EXPECT_FALSE(event.Lock(0));
  event.SetEvent();
  event.SetEvent(); // setting twice is still one signal
  EXPECT_TRUE(event.Lock(0));
  EXPECT_FALSE(event.Lock(0));
  EXPECT_FALSE(event.Lock(5));

  CEvent initiallySet(true);
  EXPECT_TRUE(initiallySet.Lock(0));
  EXPECT_FALSE(initiallySet.Lock(0));
}

TEST(CEvent, ManualResetEventStaysSetUntilReset)
{
  CEvent event(false, true);
  event.SetEvent();
  EXPECT_TRUE(event.Lock(0));
  EXPECT_TRUE(event.Lock(INFINITE));
  event.ResetEvent();
  EXPECT_FALSE(event.Lock(0));
}

TEST(CEvent, WaitersInOtherThreadsWakeWhenSet)
{
  CEvent done;
  std::atomic<int> result{0};
  std::thread worker([&] {
    result = 42;
    done.SetEvent();
  });
  EXPECT_TRUE(done.Lock(INFINITE));
  EXPECT_EQ(result.load(), 42);
  worker.join();

  // A manual-reset event releases every waiter at once.
  CEvent go(false, true);
  std::atomic<int> woken{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i)
    waiters.emplace_back([&] {
      if (go.Lock(INFINITE))
        ++woken;
    });
  go.SetEvent();
  for (std::thread& t : waiters)
    t.join();
  EXPECT_EQ(woken.load(), 4);
}
