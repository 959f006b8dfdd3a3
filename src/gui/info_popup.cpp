#include "gui/info_popup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/desktop_session.h"

namespace qw::gui {
namespace {

Qt::WindowFlags popupFlags() {
  Qt::WindowFlags flags =
      Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
  // WORKAROUND: through XWayland the compositor's window manager may place a managed window
  // where it likes (weston puts every new one top left); one it does not manage stands where it
  // is put, above the others.
  if (platform::isWaylandSession()) flags |= Qt::X11BypassWindowManagerHint;
  return flags;
}

}  // namespace

InfoPopup::InfoPopup(QWidget* parent) : QWidget(parent, popupFlags()) {
  setObjectName("TFInfo");
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(201, 41);
  panel_ = new QLabel(this);
  panel_->setObjectName("Panel1");
  panel_->setAlignment(Qt::AlignCenter);
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setAutoFillBackground(true);
  panel_->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFont font = panel_->font();
  font.setPixelSize(11);
  panel_->setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(panel_);
  timer_.setSingleShot(true);
  // A coarse timer may fire up to 5% early; the popup promises its full 1200 ms.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(kShownMs);
  connect(&timer_, &QTimer::timeout, this, &QWidget::close);
}

void InfoPopup::popUp(const QString& text, const QColor& colour) {
  if (isVisible()) return;
  // Callers separate lines with LF CR; the label wants one break per line.
  panel_->setText(QString(text).replace("\n\r", "\n").replace('\r', '\n'));
  QPalette palette = panel_->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::WindowText, Qt::white);
  panel_->setPalette(palette);
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    move(area.left() + area.width() - width() - 40, area.top() + area.height() - height() - 5);
  }
  show();
  timer_.start();
}

QString InfoPopup::text() const { return panel_->text(); }

void InfoPopup::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  timer_.stop();
  close();
}

}  // namespace qw::gui
