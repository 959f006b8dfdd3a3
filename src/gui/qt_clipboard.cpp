#include "gui/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "gui/qt_text.h"

namespace qw::gui {

std::string QtClipboard::text() const {
  QString text = QGuiApplication::clipboard()->text();
  // The cards' own line ends.
  text.replace("\r\n", "\n").replace('\r', '\n').replace('\n', "\r\n");
  return utf8(text);
}

void QtClipboard::setText(const std::string& text) {
  // Qt gives Windows its CR LF back; X11 programs expect LF alone.
  QString plain = qs(text);
  plain.replace("\r\n", "\n");
  QGuiApplication::clipboard()->setText(plain);
}

}  // namespace qw::gui
