#include "gui/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace qw::gui {
namespace {

QMargins framedBy(const QWidget* window) {
  const QRect outer = window->frameGeometry();
  const QRect inner = window->geometry();
  return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
          outer.bottom() - inner.bottom()};
}

bool fitted(const QWidget* window) {
  const Qt::WindowType type = window->windowType();
  // Not the frameless ones: tray icons, splash pictures and the like place themselves.
  return window->isWindow() && (type == Qt::Window || type == Qt::Dialog) &&
         !window->windowFlags().testFlag(Qt::FramelessWindowHint) &&
         !window->windowFlags().testFlag(Qt::X11BypassWindowManagerHint) &&
         !(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
}

// A frame as window managers draw them: a title bar and borders, none of them huge.
bool plausible(const QMargins& frame, const QWidget* window) {
  const int most = static_cast<int>(std::ceil(80 / window->devicePixelRatioF()));
  return !frame.isNull() && frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 &&
         frame.bottom() >= 0 &&
         std::max({frame.left(), frame.top(), frame.right(), frame.bottom()}) <= most;
}

// The frame the window manager puts around `window`: its own once it has one, else that of
// another window already framed, else a title bar and thin borders as most draw them.
QMargins frameOf(const QWidget* window) {
  if (const QMargins own = framedBy(window); plausible(own, window)) return own;
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other == window || !other->isVisible() || !fitted(other)) continue;
    if (const QMargins theirs = framedBy(other); plausible(theirs, other)) return theirs;
  }
  // Frames are drawn in device pixels, whatever the scale of the program.
  const qreal ratio = window->devicePixelRatioF();
  const auto px = [ratio](int device) { return static_cast<int>(std::ceil(device / ratio)); };
  return {px(6), px(32), px(6), px(6)};
}

const QScreen* screenOf(const QWidget* window) {
  if (const QScreen* at = QGuiApplication::screenAt(window->frameGeometry().center())) return at;
  return window->screen();
}

// Watches the windows as they show. A window is fitted before it maps, with the frame it will
// likely get, and again as it settles: when the window manager has framed it and placed it,
// and when its layout has grown it to the texts it was given while showing.
class ScreenKeeper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize) return false;
    if (!watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    if (type == QEvent::Show && fitted(window)) {
      fitToScreen(window);
      if (!settling_.contains(window)) {
        settling_.push_back(window);
        // Then the window is the user's: moving it partly off the screen is left alone.
        QTimer::singleShot(kSettling, this, [this, guard = QPointer<QWidget>(window)] {
          settling_.removeAll(guard);
          settling_.removeAll(nullptr);
        });
      }
    } else if (type != QEvent::Show && window->isVisible() && settling_.contains(window)) {
      fitToScreen(window);
    }
    return false;
  }

 private:
  static constexpr int kSettling = 2000;  // milliseconds
  QList<QPointer<QWidget>> settling_;
};

}  // namespace

bool fitToScreen(QWidget* window) {
  if (!window || !fitted(window)) return true;
  const QScreen* screen = screenOf(window);
  if (!screen) return true;
  const QRect area = screen->availableGeometry();
  const QMargins frame = frameOf(window);
  const QSize room = area.size().shrunkBy(frame);
  // Qt makes a message box with a long path in it as wide as the screen, forgetting the frame:
  // the few pixels more it needs are taken from the text's margin.
  const QSize least = window->minimumSize();
  if (qobject_cast<QMessageBox*>(window) &&
      (least.width() > room.width() || least.height() > room.height())) {
    window->setMinimumSize(window->minimumSize().boundedTo(room));
    window->setMaximumSize(window->maximumSize().boundedTo(room));
  }
  const QSize size = window->size().boundedTo(room).expandedTo(window->minimumSize());
  if (size != window->size()) window->resize(size);

  // The frame's place: moved in from the right and bottom edges, then from the left and top.
  const QPoint at = window->pos();  // where the frame's corner goes
  const QSize outer = size.grownBy(frame);
  QPoint to = at;
  to.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - outer.width())));
  to.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - outer.height())));
  if (to != at) window->move(to);
  return outer.width() <= area.width() && outer.height() <= area.height();
}

void keepWindowsOnScreen() {
  static QPointer<ScreenKeeper> keeper;
  if (keeper || !qApp) return;
  keeper = new ScreenKeeper(qApp);
  qApp->installEventFilter(keeper);
}

}  // namespace qw::gui
