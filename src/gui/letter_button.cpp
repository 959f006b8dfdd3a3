#include "gui/letter_button.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace qw::gui {

LetterButton::LetterButton(const QString& letter, QWidget* parent) : QToolButton(parent) {
  setText(letter);
}

void LetterButton::setSlanted(bool slanted) {
  slanted_ = slanted;
  update();
}

void LetterButton::paintEvent(QPaintEvent* event) {
  if (!slanted_) {
    QToolButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  const QString letter = option.text;
  option.text.clear();
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
  // About twelve degrees, the lean of a usual italic, around the button's middle.
  const QPointF middle = QRectF(rect()).center();
  painter.translate(middle);
  painter.shear(-0.2, 0);
  painter.translate(-middle);
  painter.setPen(option.palette.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                      QPalette::ButtonText));
  painter.drawText(rect(), Qt::AlignCenter, letter);
}

}  // namespace qw::gui
