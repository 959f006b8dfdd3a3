#include "gui/message_prompts.h"

#include <QMessageBox>

#include "gui/qt_text.h"

namespace qw::gui {

void MessagePrompts::message(const std::string& text) {
  QMessageBox::information(parent_, title_, qs(text));
}

bool MessagePrompts::question(const std::string& caption, const std::string& text) {
  return QMessageBox::question(parent_, qs(caption), qs(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

}  // namespace qw::gui
