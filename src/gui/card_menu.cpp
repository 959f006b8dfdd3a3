#include "gui/card_menu.h"

#include <QAction>
#include <QActionGroup>

#include "gui/qt_text.h"

namespace qw::gui {
using i18n::Str;

QAction* CardMenu::item(const char* name, const QKeySequence& shortcut, bool inMenu) {
  auto* action = new QAction(window_);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window_->addAction(action);
  }
  if (inMenu) addAction(action);
  return action;
}

CardMenu::CardMenu(QWidget* window) : QMenu(window), window_(window) {
  setObjectName("PMFiche1");
  newCard = item("NouvelleFiche1", QKeySequence("Ctrl+N"));
  newCardFromClipboard = item("NouvelleFichePressePapier1", QKeySequence("Ctrl+Alt+N"));
  newBookmark = item("NouveauBookmark1", QKeySequence("Ctrl+Alt+B"), false);
  newBookmark->setEnabled(false);
  addSeparator();
  cardProperties = item("RenommerFiche1", QKeySequence("Ctrl+R"));
  deleteCard = item("SupprimeFiche1", QKeySequence("Ctrl+Del"));
  previous = item("Prcdent1", QKeySequence("Ctrl+J"));
  next = item("Suivant1", QKeySequence("Ctrl+K"));
  moveUp = item("Monter1");
  moveDown = item("Descendre1");
  addSeparator();
  encrypt = item("Crypter1");
  encrypt->setEnabled(false);
  decrypt = item("Dcrypter1");
  decrypt->setEnabled(false);
  addSeparator();
  clipboardBookmark = item("BookmarkPressepapier1", {}, false);
  clipboardBookmark->setEnabled(false);
  pasteInto = addMenu(QString());
  pasteInto->setObjectName("Copiervers1");
  copyFrom = addMenu(QString());
  copyFrom->setObjectName("Copierdepuis1");
  for (QMenu* menu : {pasteInto, copyFrom})
    connect(menu, &QMenu::aboutToShow, this, &CardMenu::fillStripMenus);
  pasteInCurrent = item("CopierPressePapierActuel1", QKeySequence("Ctrl+Alt+V"));
  addSeparator();
  restore = item("Afficher1");
  restore->setCheckable(true);
  restore->setActionGroup(new QActionGroup(this));
  restore->setEnabled(false);
  minimize = item("Rduire1", QKeySequence("F2"));
  nextSearch = item("NextSearch1", QKeySequence("F3"));
  findInCards = item("FindInCards1", QKeySequence("Ctrl+Shift+F"));
  addSeparator();
  options = item("Options1", QKeySequence("Ctrl+O"));
  search = item("Chercher1", QKeySequence("Ctrl+F"), false);
  selectAll = item("SelectAll1", QKeySequence("Ctrl+A"), false);
  addSeparator();
  about = item("APropos1", QKeySequence("F1"));
  addSeparator();
  quit = item("Quitter1", QKeySequence("Ctrl+Q"));

  // These captions are the same in both languages.
  previous->setText("Précédent");
  next->setText("Suivant");
  moveUp->setText("Monter");
  moveDown->setText("Descendre");
  encrypt->setText("Crypter");
  decrypt->setText("Décrypter");
}

void CardMenu::setStrings(const i18n::StringTable& s) {
  const auto set = [&](QAction* action, Str id) { action->setText(QString::fromStdString(s[id])); };
  set(newCard, Str::sMainNewCard);
  set(newCardFromClipboard, Str::sMainNewCardFromClipboard);
  set(newBookmark, Str::sMainNewBookmarkFromClipboard);
  set(cardProperties, Str::sMainCardProperties);
  set(deleteCard, Str::sMainDeleteCard);
  set(pasteInCurrent, Str::sMainPasteInCurrent);
  set(restore, Str::sMainRestore);
  set(minimize, Str::sMainMinimize);
  set(nextSearch, Str::sMainNextSearch);
  set(findInCards, Str::sFindMenu);
  set(options, Str::sMainOptions);
  set(about, Str::sMainAbout);
  set(quit, Str::sMainQuit);
  pasteInto->setTitle(QString::fromStdString(s[Str::sMainPasteInto]));
  copyFrom->setTitle(QString::fromStdString(s[Str::sMainCopyFrom]));
}

void CardMenu::setStripEntries(const std::vector<notebook::StripEntry>& entries) {
  stripEntries_ = entries;
  stripMenusFilled_ = false;
}

void CardMenu::fillStripMenus() {
  if (stripMenusFilled_) return;
  stripMenusFilled_ = true;
  for (QMenu* menu : {pasteInto, copyFrom}) {
    menu->clear();
    for (const auto& entry : stripEntries_) {
      QAction* action = menu->addAction(mnemonicSafe(qs(entry.name)));
      action->setStatusTip(qs(entry.contentFile));
      action->setData(entry.card);
    }
  }
}

void CardMenu::popUpInTrayForm(const QPoint& at) {
  QAction* const cardItems[] = {cardProperties, deleteCard, previous, next,   moveUp,
                                moveDown,       nextSearch, encrypt,  decrypt};
  for (QAction* action : cardItems) action->setVisible(false);
  exec(at);
  for (QAction* action : cardItems) action->setVisible(true);
}

}  // namespace qw::gui
