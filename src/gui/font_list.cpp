#include "gui/font_list.h"

#include <QFontDatabase>
#include <QLineEdit>

namespace qw::gui {

FontList::FontList(QWidget* parent) : QComboBox(parent) {
  // When editing ends, the combo box activates the item whose text the field holds. Typed text
  // must not apply a font, so that activation is fenced by two handlers of the same signal:
  // one connected before the combo box's own (which setLineEdit connects), one after it.
  auto* edit = new QLineEdit(this);
  connect(edit, &QLineEdit::editingFinished, this, [this] { typedTextFinished_ = true; });
  setLineEdit(edit);
  connect(edit, &QLineEdit::editingFinished, this, [this] { typedTextFinished_ = false; });
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(14);

  connect(this, &QComboBox::activated, this, [this](int item) {
    if (!typedTextFinished_ && item >= 0) emit familyChosen(itemText(item));
  });
}

void FontList::fillOnce() {
  if (filled_) return;
  filled_ = true;
  const QString shown = currentText();
  addItems(QFontDatabase::families());
  showFamily(shown);
}

void FontList::showFamily(const QString& family) {
  setCurrentIndex(findText(family, Qt::MatchFixedString));  // MatchFixedString ignores case
}

}  // namespace qw::gui
