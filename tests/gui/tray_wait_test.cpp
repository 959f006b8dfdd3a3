#include "app/tray_wait.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

namespace qw::app {
namespace {

using namespace std::chrono_literals;
using Outcome = TrayWait::Outcome;

TEST(TrayWait, EndsWhenTheTrayComesAndKeepsTheEventsRunningMeanwhile) {
  bool up = false;
  // Set by the events the wait runs, as the panel's arrival would be.
  QTimer::singleShot(300, [&] { up = true; });
  QElapsedTimer elapsed;
  elapsed.start();
  EXPECT_EQ(TrayWait([&] { return up; }, 10s, 20ms).run(), Outcome::TrayUp);
  EXPECT_GE(elapsed.elapsed(), 290);
  EXPECT_LT(elapsed.elapsed(), 5000);

  // A tray already there is not waited for.
  elapsed.restart();
  int asked = 0;
  EXPECT_EQ(TrayWait([&] { return ++asked > 0; }, 10s, 1s).run(), Outcome::TrayUp);
  EXPECT_EQ(asked, 1);
  EXPECT_LT(elapsed.elapsed(), 500);
}

TEST(TrayWait, GivesUpAfterItsTimeAndEndsAtOnceWhenCancelled) {
  QElapsedTimer elapsed;
  elapsed.start();
  EXPECT_EQ(TrayWait([] { return false; }, 400ms, 20ms).run(), Outcome::TimedOut);
  EXPECT_GE(elapsed.elapsed(), 390);
  EXPECT_LT(elapsed.elapsed(), 5000);

  TrayWait wait([] { return false; }, 30s, 20ms);
  QTimer::singleShot(200, &wait, &TrayWait::cancel);
  elapsed.restart();
  EXPECT_EQ(wait.run(), Outcome::Cancelled);
  EXPECT_LT(elapsed.elapsed(), 5000);
}

}  // namespace
}  // namespace qw::app
