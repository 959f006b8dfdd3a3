#pragma once

#include <QMenu>
#include <vector>

#include "core/i18n/strings.h"
#include "core/notebook/notebook.h"

class QAction;

namespace qw::gui {

// The card menu PMFiche1: every item with its object name, shortcut and state at creation.
// Items whose commands live elsewhere are reached through the public pointers.
class CardMenu : public QMenu {
  Q_OBJECT
 public:
  // Shortcuts work while `window` has the focus, also for the items the menu does not show.
  explicit CardMenu(QWidget* window);

  void setStrings(const i18n::StringTable& strings);
  // One entry per strip position in "Paste into" and "Copy from", made when one of the two
  // next opens: a thousand menu entries would otherwise be a third of the strip at start.
  void setStripEntries(const std::vector<notebook::StripEntry>& entries);
  // Makes the entries now, if they wait.
  void fillStripMenus();
  // The menu as the tray shows it, at `at`: without the items that act on the open card, which
  // come back once it closes. Returns when the menu has closed.
  void popUpInTrayForm(const QPoint& at);

  QAction* newCard;
  QAction* newCardFromClipboard;
  QAction* newBookmark;  // never shown
  QAction* cardProperties;
  QAction* deleteCard;
  QAction* previous;
  QAction* next;
  QAction* moveUp;
  QAction* moveDown;
  QAction* encrypt;
  QAction* decrypt;
  QAction* clipboardBookmark;  // never shown
  QMenu* pasteInto;
  QMenu* copyFrom;
  QAction* pasteInCurrent;
  QAction* restore;
  QAction* minimize;
  QAction* nextSearch;
  QAction* findInCards;
  QAction* options;
  QAction* search;     // not shown in the menu; its shortcut works
  QAction* selectAll;  // not shown in the menu; its shortcut works
  QAction* about;
  QAction* quit;

 private:
  QAction* item(const char* name, const QKeySequence& shortcut = {}, bool inMenu = true);

  QWidget* window_;
  std::vector<notebook::StripEntry> stripEntries_;
  bool stripMenusFilled_ = true;
};

}  // namespace qw::gui
