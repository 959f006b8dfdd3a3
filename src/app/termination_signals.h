#pragma once

#include <QObject>

class QSocketNotifier;

namespace qw::app {

// Turns SIGTERM and SIGINT into a signal on the user-interface thread, so that they end the
// program the way a session end does instead of killing it mid-write.
class TerminationSignals : public QObject {
  Q_OBJECT
 public:
  explicit TerminationSignals(QObject* parent = nullptr);
  ~TerminationSignals() override;

 signals:
  void received();

 private:
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace qw::app
