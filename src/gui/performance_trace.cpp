#include "gui/performance_trace.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace qw::gui::trace {
namespace {

// Paint events come in bursts (one per region); the zero timer fires once the whole repaint,
// flush included, is done.
class PaintWatcher : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !pending_) {
      pending_ = true;
      QTimer::singleShot(0, this, [this] {
        pending_ = false;
        mark("painted");
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool pending_ = false;
};

}  // namespace

bool enabled() {
  static const bool on = qEnvironmentVariableIsSet("QUILLWICK_TRACE_STARTUP");
  return on;
}

void mark(const char* event) {
  if (!enabled()) return;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  std::fprintf(stderr, "quillwick-trace %s %lld\n", event,
               static_cast<long long>(std::chrono::nanoseconds(now).count()));
  std::fflush(stderr);
}

void watchPaints(QWidget* widget) {
  if (enabled()) widget->installEventFilter(new PaintWatcher(widget));
}

}  // namespace qw::gui::trace
