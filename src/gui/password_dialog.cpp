#include "gui/password_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/qt_text.h"

namespace qw::gui {
using i18n::Str;

namespace {
constexpr int kEntryWidth = 220;
}  // namespace

PasswordDialog::PasswordDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("TFPassword");
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  prompt_ = new QLabel;
  prompt_->setObjectName("Label1");
  entry_ = new QLineEdit;
  entry_->setObjectName("Edit1");
  entry_->setMinimumWidth(kEntryWidth);
  prompt_->setBuddy(entry_);
  ok_ = new QPushButton;
  ok_->setObjectName("BOK");
  ok_->setDefault(true);
  cancel_ = new QPushButton;
  cancel_->setObjectName("BCancel");
  unused_ = new QCheckBox;
  unused_->setObjectName("CheckBox1");
  unused_->hide();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addWidget(entry_);
  layout->addWidget(unused_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok_, &QPushButton::clicked, this, &PasswordDialog::confirm);
  // Escape and the frame's close box reject too: every way out but OK is a cancel.
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::string> PasswordDialog::ask(const i18n::StringTable& strings,
                                               const std::string& cardName, bool visible) {
  strings_ = &strings;
  setWindowTitle(qs(strings[Str::sPasswordTitlePrefix]) + " '" + qs(cardName) + "'");
  fitCaption();
  prompt_->setText(qs(strings[Str::sPasswordPrompt]));
  ok_->setText(qs(strings[Str::sPasswordOk]));
  cancel_->setText(qs(strings[Str::sPasswordCancel]));
  entry_->setAccessibleName(prompt_->text());
  entry_->setEchoMode(visible ? QLineEdit::Normal : QLineEdit::Password);
  if (visible) {
    // The placeholder stands selected, so typing replaces it.
    entry_->setText(qs(strings[Str::sPasswordPlaceholder]));
    entry_->selectAll();
  } else {
    entry_->clear();
  }
  entry_->setFocus();
  std::optional<std::string> password;
  if (exec() == QDialog::Accepted) password = utf8(entry_->text());
  // Nothing of it stays in the widget after the dialog.
  entry_->clear();
  return password;
}

void PasswordDialog::fitCaption() {
  // The caption names the card, so it must show whole. The window manager draws it in a font
  // no toolkit call tells: the dialog's own in bold and a third larger stands in for it, with
  // room for the title bar's icon and buttons. A name too long for the screen is cut there.
  constexpr int kTitleBarButtons = 120;
  QFont caption = font();
  caption.setBold(true);
  if (caption.pointSizeF() > 0)
    caption.setPointSizeF(caption.pointSizeF() * 4 / 3);
  else
    caption.setPixelSize(caption.pixelSize() * 4 / 3);
  int width = QFontMetrics(caption).horizontalAdvance(windowTitle()) + kTitleBarButtons;
  if (const QScreen* shownOn = screen())
    width = std::min(width, shownOn->availableGeometry().width() - 40);
  const QMargins margins = layout()->contentsMargins();
  entry_->setMinimumWidth(std::max(kEntryWidth, width - margins.left() - margins.right()));
}

void PasswordDialog::confirm() {
  if (entry_->text().isEmpty()) {
    QMessageBox::information(this, windowTitle(), qs((*strings_)[Str::sErrEmptyPassword]));
    entry_->setFocus();
    return;
  }
  accept();
}

}  // namespace qw::gui
