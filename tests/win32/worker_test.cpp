// Workers started many at once, as a start with many drives starts them: each runs its work, and
// what the work holds is let go when it ends.
#include "win32/platform/worker.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>

namespace {

TEST(WorkerTest, EveryWorkerStartedAtOnceRunsItsWorkAndLetsGoOfIt) {
  constexpr int kWorkers = 2000;
  std::atomic<int> ran{0};
  auto held = std::make_shared<int>(0);
  for (int i = 0; i < kWorkers; ++i) {
    ASSERT_TRUE(kestrane::win32::StartWorker([held, &ran] { ran.fetch_add(1); }));
  }
  for (int i = 0; i < 500 && (ran.load() < kWorkers || held.use_count() > 1); ++i) Sleep(10);
  EXPECT_EQ(ran.load(), kWorkers);
  EXPECT_EQ(held.use_count(), 1) << "a worker kept what its work held";
}

}  // namespace
