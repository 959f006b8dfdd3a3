#include "gui/font_size_box.h"

#include <QSignalBlocker>

#include <QLineEdit>
#include <algorithm>

namespace qw::gui {
namespace {

// Enough digits for any size a card can hold; longer input is refused while typing.
constexpr int kMaxDigits = 4;

bool isSizeText(const QString& text) {
  if (text.size() > kMaxDigits) return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

FontSizeBox::FontSizeBox(QWidget* parent) : QSpinBox(parent) {
  setRange(kMinimum, kMaximum);
  setValue(kMinimum);
  reported_ = text();
  // The spin box reports only changes of its bounded value, and rewrites its line edit with
  // that edit's signals blocked (arrows, leaving the field). Typing shows in the line edit's
  // signal, the rest after the event or the value change that caused it.
  connect(lineEdit(), &QLineEdit::textChanged, this, &FontSizeBox::noticeText);
  connect(this, &QSpinBox::valueChanged, this, &FontSizeBox::noticeText);
}

bool FontSizeBox::event(QEvent* event) {
  const bool handled = QSpinBox::event(event);
  noticeText();
  return handled;
}

void FontSizeBox::noticeText() {
  if (text() == reported_) return;
  reported_ = text();
  emit sizeTextChanged(typedSize());
}

void FontSizeBox::showSize(int size) {
  const QSignalBlocker quiet(this);
  setValue(size);
  reported_ = text();
}

int FontSizeBox::typedSize() const { return valueFromText(lineEdit()->text()); }

QValidator::State FontSizeBox::validate(QString& input, int&) const {
  // Out-of-range sizes are acceptable while typing; leaving the field bounds the value and
  // rewrites the text.
  return isSizeText(input) ? QValidator::Acceptable : QValidator::Invalid;
}

int FontSizeBox::valueFromText(const QString& text) const {
  // The spin box bounds what this returns, so 50 becomes 40 rather than the minimum.
  bool ok = false;
  const int size = text.toInt(&ok);
  return ok ? size : kMinimum;
}

}  // namespace qw::gui
