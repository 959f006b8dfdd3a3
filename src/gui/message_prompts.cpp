#include "gui/message_prompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "gui/password_dialog.h"
#include "gui/qt_text.h"

namespace qw::gui {

void MessagePrompts::message(const std::string& text) {
  QMessageBox::information(parent_, title_, qs(text));
}

bool MessagePrompts::question(const std::string& caption, const std::string& text) {
  return QMessageBox::question(parent_, qs(caption), qs(text), QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

std::optional<std::string> MessagePrompts::password(const std::string& cardName, bool visible) {
  const i18n::StringTable french = i18n::StringTable::forLanguage("");
  PasswordDialog dialog(parent_);
  std::optional<std::string> typed = dialog.ask(strings_ ? *strings_ : french, cardName, visible);
  if (typed) {
    // The key derivation that follows holds the program for a moment: the window is repainted
    // without the dialog first, and the hourglass shows until the event loop runs again.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, [] { QApplication::restoreOverrideCursor(); });
  }
  return typed;
}

}  // namespace qw::gui
