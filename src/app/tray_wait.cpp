#include "app/tray_wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <optional>
#include <utility>

namespace qw::app {

TrayWait::TrayWait(std::function<bool()> trayIsUp, std::chrono::milliseconds limit,
                   std::chrono::milliseconds every)
    : trayIsUp_(std::move(trayIsUp)), limit_(limit), every_(every) {}

TrayWait::Outcome TrayWait::run() {
  QElapsedTimer elapsed;
  elapsed.start();
  QEventLoop loop;
  std::optional<Outcome> outcome;
  const auto ask = [&] {
    if (cancelled_)
      outcome = Outcome::Cancelled;
    else if (trayIsUp_())
      outcome = Outcome::TrayUp;
    else if (elapsed.elapsed() >= limit_.count())
      outcome = Outcome::TimedOut;
    if (outcome) loop.quit();
  };
  ask();
  if (outcome) return *outcome;
  QTimer poll;
  connect(&poll, &QTimer::timeout, &loop, ask);
  poll.start(every_);
  loop.exec();
  return *outcome;
}

void TrayWait::cancel() { cancelled_ = true; }

}  // namespace qw::app
