#include "gui/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qw::gui {
namespace {

QPixmap drawCard(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  paintApplicationIcon(painter, size);
  return pixmap;
}

}  // namespace

void paintApplicationIcon(QPainter& painter, qreal size) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal unit = size / 16.0;
  const QRectF card(unit * 1, unit * 2, unit * 14, unit * 12);
  QPainterPath outline;
  outline.addRoundedRect(card, unit * 1.5, unit * 1.5);
  painter.fillPath(outline, QColor(0xFF, 0xF8, 0xDC));
  // The head of the card, in the strip's blue. An intersection rather than a clip, so that
  // vector outputs without clipping draw it the same.
  QPainterPath head;
  head.addRect(QRectF(card.left(), card.top(), card.width(), unit * 3.5));
  painter.fillPath(outline.intersected(head), QColor(0x67, 0x74, 0xA6));
  painter.setPen(QPen(QColor(0x30, 0x38, 0x60), qMax(1.0, unit * 0.6)));
  painter.drawPath(outline);
  painter.setPen(QPen(QColor(0x78, 0x85, 0xB7), qMax(1.0, unit * 0.7)));
  for (int line = 0; line < 3; ++line) {
    const qreal y = card.top() + unit * (6.5 + 2.5 * line);
    painter.drawLine(QPointF(card.left() + unit * 2, y), QPointF(card.right() - unit * 2, y));
  }
  painter.restore();
}

QIcon applicationIcon() {
  // Drawn once: the window, the tray and About share it.
  static const QIcon icon = [] {
    QIcon drawn;
    for (int size : {16, 22, 24, 32, 48, 64, 128}) drawn.addPixmap(drawCard(size));
    return drawn;
  }();
  return icon;
}

}  // namespace qw::gui
