#pragma once
// A start at logon often comes before the panel that holds the tray: rather than show the
// window of a program meant for the tray, it waits a while for the tray to come.

#include <QObject>
#include <chrono>
#include <functional>

namespace qw::app {

class TrayWait : public QObject {
  Q_OBJECT
 public:
  enum class Outcome { TrayUp, TimedOut, Cancelled };

  // `trayIsUp` is asked at once, then every `every` until `limit` has passed.
  TrayWait(std::function<bool()> trayIsUp, std::chrono::milliseconds limit,
           std::chrono::milliseconds every = std::chrono::milliseconds(250));

  // Runs the events until the wait ends.
  Outcome run();

 public slots:
  // The session ends meanwhile.
  void cancel();

 private:
  std::function<bool()> trayIsUp_;
  std::chrono::milliseconds limit_;
  std::chrono::milliseconds every_;
  bool cancelled_ = false;
};

}  // namespace qw::app
