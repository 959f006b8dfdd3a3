#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "core/i18n/strings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qw::gui {

// TFPassword: one password for one card. Masked when opening a card; shown in clear when
// protecting one, since there is no second entry to catch a typing mistake.
class PasswordDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PasswordDialog(QWidget* parent = nullptr);

  // The typed password (UTF-8), or nothing on Cancel, Escape or the frame's close box.
  std::optional<std::string> ask(const i18n::StringTable& strings, const std::string& cardName,
                                 bool visible);

 private:
  void confirm();
  // Wide enough for the caption with the card's name.
  void fitCaption();

  QLabel* prompt_;
  QLineEdit* entry_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QCheckBox* unused_;
  const i18n::StringTable* strings_ = nullptr;
};

}  // namespace qw::gui
