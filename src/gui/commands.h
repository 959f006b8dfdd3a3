#pragma once
// The commands of the card menu, the tray menu and the global keys, each one notebook command
// with its outcome shown: the one place that says what an item or a key does.

#include <QObject>
#include <exception>
#include <functional>
#include <optional>
#include <string_view>

#include "core/notebook/notebook.h"
#include "core/ports/clipboard.h"

class QAction;

namespace qw::gui {

class CardMenu;

// What a command needs of the window it runs in.
class CommandWindow {
 public:
  virtual ~CommandWindow() = default;
  // The strip (when the command may have changed it) and the open card shown again.
  virtual void showOutcome(bool stripChanged) = 0;
  virtual void reportError(const std::exception& error) = 0;
  // The popup in blue, or red for a failure.
  virtual void showNotice(const notebook::Notice& notice) = 0;
  // The window on the screen, in front, when it is not already the user's.
  virtual void bringBack() = 0;
  // Win+F2: the window on the screen and in front, with the keyboard, whatever it was.
  virtual void showWindow() = 0;
  // Shown, or put away when it is on the screen.
  virtual void toggleWindow() = 0;
  // The keyboard to the card's text.
  virtual void focusCard() = 0;
};

class Commands : public QObject {
  Q_OBJECT
 public:
  Commands(notebook::Notebook& notebook, ports::Clipboard& clipboard, CommandWindow& window,
           QObject* parent = nullptr);

  // Every item of `menu` whose command is here runs it.
  void connectMenu(const CardMenu& menu);
  // Runs `command`, then shows its outcome; a failure is reported and leaves the notebook as the
  // command left it. `stripChanges` says whether the command can change the strip (and so the
  // menus and the list); a plain switch does not, and keeps the list's order and selection.
  void run(const std::function<void()>& command, bool stripChanges = true);

  void switchToPosition(int position);
  void previousCard();
  void nextCard();
  void moveCardUp();
  void moveCardDown();
  void deleteCard();
  void protectCard();
  void unprotectCard();
  // "Paste into" and "Copy from" for the card numbered `card`.
  void pasteInto(int card);
  void copyFrom(int card);
  void pasteIntoCurrentCard();
  // The command line's --append: "Paste into" any card of the index, with the text given. The
  // refusal of a protected card comes back; a failure to write comes out as thrown.
  std::optional<notebook::Notice> appendText(int card, std::string_view text);
  // Ctrl+Alt+N and Win+V; the window comes back with the new card, and a key pressed in another
  // program gets a word where the user is looking. False when no card was made.
  bool newCardFromClipboard(bool fromGlobalKey);
  // Win+F2, and the command line's --toggle.
  void showWindow() { window_.showWindow(); }
  void toggleWindow() { window_.toggleWindow(); }
  // Win+n, Win+Shift+n and Win+C; what the popup said, nothing when no feed runs.
  notebook::Notice copyHotKeyText(int slot);
  notebook::Notice startLineFeed(int slot);
  std::optional<notebook::Notice> nextFeedLine();
  // An item of the line function list.
  void runLineFunction(int item);

 private:
  // The strip position of card `card`, -1 when the strip does not show it.
  int positionOf(int card) const;

  notebook::Notebook& notebook_;
  ports::Clipboard& clipboard_;
  CommandWindow& window_;
};

}  // namespace qw::gui
