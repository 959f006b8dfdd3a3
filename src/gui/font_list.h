#pragma once
// The font name field: the installed font families to choose from. Only a choice from the list
// counts; a name typed into the field chooses nothing, even when it matches an item.

#include <QComboBox>

namespace qw::gui {

class FontList : public QComboBox {
  Q_OBJECT
 public:
  explicit FontList(QWidget* parent = nullptr);

  // Fills the list with the installed families, once; later calls do nothing.
  void fillOnce();

  // Shows the item named `family`, ignoring case, or no item when none is; chooses nothing.
  void showFamily(const QString& family);

 signals:
  void familyChosen(const QString& family);

 private:
  bool filled_ = false;
  bool typedTextFinished_ = false;  // the combo box is matching typed text against its items
};

}  // namespace qw::gui
