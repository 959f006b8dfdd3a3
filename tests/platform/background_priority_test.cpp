#include "platform/background_priority.h"

#include <gtest/gtest.h>

#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace qw::platform {
namespace {

// The scheduling level of the calling thread; higher runs first.
int ownLevel() {
#ifdef _WIN32
  return GetThreadPriority(GetCurrentThread());
#else
  return -getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
#endif
}

TEST(BackgroundPriority, OnlyTheCallingThreadStepsBack) {
  const int before = ownLevel();
#ifndef _WIN32
  if (before == -19) GTEST_SKIP() << "started at the lowest level already";
#endif
  int inBackground = before;
  std::thread worker([&] {
    runInBackground();
    inBackground = ownLevel();
  });
  worker.join();
  EXPECT_LT(inBackground, before);
  EXPECT_EQ(ownLevel(), before) << "the thread that started it keeps its level";
}

}  // namespace
}  // namespace qw::platform
