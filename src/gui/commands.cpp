#include "gui/commands.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <optional>
#include <string>

#include "gui/card_menu.h"
#include "gui/performance_trace.h"

namespace qw::gui {

Commands::Commands(notebook::Notebook& notebook, ports::Clipboard& clipboard, CommandWindow& window,
                   QObject* parent)
    : QObject(parent), notebook_(notebook), clipboard_(clipboard), window_(window) {}

void Commands::connectMenu(const CardMenu& menu) {
  connect(menu.encrypt, &QAction::triggered, this, &Commands::protectCard);
  connect(menu.decrypt, &QAction::triggered, this, &Commands::unprotectCard);
  connect(menu.newCardFromClipboard, &QAction::triggered, this,
          [this] { newCardFromClipboard(false); });
  connect(menu.pasteInCurrent, &QAction::triggered, this, &Commands::pasteIntoCurrentCard);
  connect(menu.pasteInto, &QMenu::triggered, this,
          [this](const QAction* item) { pasteInto(item->data().toInt()); });
  connect(menu.copyFrom, &QMenu::triggered, this,
          [this](const QAction* item) { copyFrom(item->data().toInt()); });
  connect(menu.deleteCard, &QAction::triggered, this, &Commands::deleteCard);
  connect(menu.previous, &QAction::triggered, this, &Commands::previousCard);
  connect(menu.next, &QAction::triggered, this, &Commands::nextCard);
  connect(menu.moveUp, &QAction::triggered, this, &Commands::moveCardUp);
  connect(menu.moveDown, &QAction::triggered, this, &Commands::moveCardDown);
}

void Commands::run(const std::function<void()>& command, bool stripChanges) {
  trace::mark("command");
  try {
    command();
  } catch (const std::exception& e) {
    window_.reportError(e);
  }
  window_.showOutcome(stripChanges);
  trace::mark("command-done");
}

void Commands::switchToPosition(int position) {
  run([this, position] { notebook_.switchToPosition(position); }, false);
}

void Commands::previousCard() {
  run([this] { notebook_.previousCard(); }, false);
  window_.focusCard();
}

void Commands::nextCard() {
  run([this] { notebook_.nextCard(); }, false);
  window_.focusCard();
}

void Commands::moveCardUp() {
  run([this] { notebook_.moveCurrentCardUp(); });
}

void Commands::moveCardDown() {
  run([this] { notebook_.moveCurrentCardDown(); });
}

void Commands::deleteCard() {
  run([this] { notebook_.deleteCurrentCard(); });
  window_.focusCard();
}

void Commands::protectCard() {
  run([this] { notebook_.protectCurrentCard(); }, false);
}

void Commands::unprotectCard() {
  run([this] { notebook_.unprotectCurrentCard(); }, false);
}

void Commands::pasteInto(int card) {
  const int position = positionOf(card);
  if (position < 0) return;
  std::optional<notebook::Notice> refused;
  run([&] { refused = notebook_.appendClipboardTo(position, clipboard_); }, false);
  if (refused) window_.showNotice(*refused);
}

void Commands::copyFrom(int card) {
  const int position = positionOf(card);
  if (position < 0) return;
  if (const auto notice = notebook_.copyCardToClipboard(position, clipboard_))
    window_.showNotice(*notice);
}

void Commands::pasteIntoCurrentCard() {
  run([this] { notebook_.pasteIntoCurrentCard(clipboard_); }, false);
}

std::optional<notebook::Notice> Commands::appendText(int card, std::string_view text) {
  std::optional<notebook::Notice> refused;
  std::exception_ptr failure;
  try {
    refused = notebook_.appendText(card, text);
  } catch (...) {
    failure = std::current_exception();
  }
  // The open card may have taken the lines, even when its save then failed.
  window_.showOutcome(false);
  if (failure) std::rethrow_exception(failure);
  return refused;
}

bool Commands::newCardFromClipboard(bool fromGlobalKey) {
  std::optional<std::string> name;
  run([&] { name = notebook_.newCardFromClipboard(clipboard_); });
  if (!name) return false;
  window_.bringBack();
  window_.focusCard();
  if (fromGlobalKey) window_.showNotice({*name});
  return true;
}

notebook::Notice Commands::copyHotKeyText(int slot) {
  notebook::Notice notice = notebook_.copyHotKeyText(slot, clipboard_);
  window_.showNotice(notice);
  return notice;
}

notebook::Notice Commands::startLineFeed(int slot) {
  notebook::Notice notice = notebook_.startLineFeed(slot, clipboard_);
  window_.showNotice(notice);
  return notice;
}

std::optional<notebook::Notice> Commands::nextFeedLine() {
  std::optional<notebook::Notice> notice = notebook_.nextFeedLine(clipboard_);
  if (notice) window_.showNotice(*notice);
  return notice;
}

void Commands::runLineFunction(int item) {
  QCollator collator;  // the user's locale
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  const auto collate = [&collator](const std::string& a, const std::string& b) {
    return collator.compare(QString::fromStdString(a), QString::fromStdString(b));
  };
  QApplication::setOverrideCursor(Qt::WaitCursor);
  run(
      [&] {
        notebook_.runLineFunction(static_cast<notebook::Notebook::LineFunction>(item), collate);
      },
      false);
  QApplication::restoreOverrideCursor();
}

int Commands::positionOf(int card) const {
  const auto& strip = notebook_.strip();
  for (int position = 0; position < static_cast<int>(strip.size()); ++position)
    if (strip[position].card == card) return position;
  return -1;
}

}  // namespace qw::gui
