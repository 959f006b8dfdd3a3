// Both sets of system-wide keys: every action once, and no key the program's own menu or the
// desktop already uses.

#include "gui/global_keys.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QStringList>
#include <QWidget>
#include <set>
#include <string>

#include "gui/card_menu.h"

namespace qw::gui {
namespace {

using platform::HotKey;

// As Qt's shortcuts hold it.
int combination(const HotKey& key) {
  Qt::KeyboardModifiers modifiers;
  if (key.modifiers & HotKey::Super) modifiers |= Qt::MetaModifier;
  if (key.modifiers & HotKey::Control) modifiers |= Qt::ControlModifier;
  if (key.modifiers & HotKey::Alt) modifiers |= Qt::AltModifier;
  if (key.modifiers & HotKey::Shift) modifiers |= Qt::ShiftModifier;
  return QKeyCombination(modifiers, Qt::Key(key.key)).toCombined();
}

// Why a desktop keeps `key` from programs, or empty when none does.
std::string reservedBy(const HotKey& key) {
  constexpr unsigned kControlAlt = HotKey::Control | HotKey::Alt;
  const bool printable = (key.key >= Qt::Key_0 && key.key <= Qt::Key_9) ||
                         (key.key >= Qt::Key_A && key.key <= Qt::Key_Z);
  const bool functionKey = key.key >= Qt::Key_F1 && key.key <= Qt::Key_F12;
  if ((key.modifiers & kControlAlt) == kControlAlt && printable)
    return "Windows: it is AltGr with a key that types a character";
  if (key.modifiers == kControlAlt && functionKey) return "Linux: switches to a text console";
  if (key.modifiers == kControlAlt && (key.key == Qt::Key_Backspace || key.key == Qt::Key_Delete))
    return "Linux: ends the session or restarts";
  if (key.modifiers == HotKey::Alt && functionKey) return "window managers: window commands";
  return {};
}

TEST(GlobalKeys, TheRuleCatchesTheKeysTheDesktopsKeep) {
  EXPECT_NE(reservedBy({0, HotKey::Control | HotKey::Alt, Qt::Key_F2}), "");
  EXPECT_NE(reservedBy({0, HotKey::Control | HotKey::Alt, Qt::Key_2}), "");
  EXPECT_NE(reservedBy({0, HotKey::Control | HotKey::Alt | HotKey::Shift, Qt::Key_V}), "");
  EXPECT_NE(reservedBy({0, HotKey::Control | HotKey::Alt, Qt::Key_Backspace}), "");
  EXPECT_NE(reservedBy({0, HotKey::Alt, Qt::Key_F4}), "");
  EXPECT_EQ(reservedBy({0, HotKey::Control | HotKey::Alt | HotKey::Shift, Qt::Key_F2}), "");
  EXPECT_EQ(reservedBy({0, HotKey::Super, Qt::Key_2}), "");
}

TEST(GlobalKeys, EachSetHasEveryActionOnceOnKeysNeitherTheMenuNorTheDesktopUses) {
  QWidget window;
  CardMenu menu(&window);
  std::set<int> menuKeys;
  for (const QAction* action : window.actions())
    for (const QKeySequence& sequence : action->shortcuts())
      menuKeys.insert(sequence[0].toCombined());
  ASSERT_GE(menuKeys.size(), 14u);  // the card menu's shortcuts, hidden items' included
  ASSERT_TRUE(menuKeys.contains(QKeySequence("Ctrl+Alt+V")[0].toCombined()));

  for (const bool alternative : {false, true}) {
    SCOPED_TRACE(globalKeySetName(alternative).toStdString());
    const std::vector<HotKey> table = globalKeyTable(alternative);
    ASSERT_EQ(table.size(), 21u);
    std::set<int> keys;
    std::set<int> ids;
    int copies = 0, feeds = 0;
    for (const HotKey& key : table) {
      const std::string name = platform::describe(key).toStdString();
      EXPECT_TRUE(keys.insert(combination(key)).second) << name << " twice";
      EXPECT_TRUE(ids.insert(key.id).second) << name;
      EXPECT_FALSE(menuKeys.contains(combination(key))) << name << " is a key of the card menu";
      EXPECT_EQ(reservedBy(key), "") << name;
      const std::optional<GlobalKey> action = globalKeyOf(key.id);
      ASSERT_TRUE(action) << name;
      copies += action->action == GlobalKey::CopySlot;
      feeds += action->action == GlobalKey::StartLineFeed;
    }
    EXPECT_EQ(copies, 9);
    EXPECT_EQ(feeds, 9);
    EXPECT_EQ(globalKeyOf(table.front().id)->action, GlobalKey::ShowWindow);
  }
}

TEST(GlobalKeys, KeysAreNamedWithTheWinKeyAsTheKeyboardShowsIt) {
  EXPECT_EQ(globalKeyName({3, HotKey::Super, Qt::Key_3}), "Win+3");
  EXPECT_EQ(globalKeyName({13, HotKey::Super | HotKey::Shift, Qt::Key_3}), "Win+Shift+3");
  EXPECT_EQ(globalKeyName({20, HotKey::Control | HotKey::Shift, Qt::Key_F11}), "Ctrl+Shift+F11");
}

TEST(GlobalKeys, ASecondStartNamesTheKeysOfBothSetsThatShowTheWindowInBothLanguages) {
  EXPECT_EQ(showWindowKeyName(false), "Win+F2");
  EXPECT_EQ(showWindowKeyName(true), "Ctrl+Shift+F10");
  const QStringList languages = alreadyStartedMessage().split("\n\r");
  ASSERT_EQ(languages.size(), 2);
  EXPECT_TRUE(languages[0].startsWith("quillWick est déjà lancé.\n"));
  EXPECT_TRUE(languages[1].startsWith("quillWick is already started.\n"));
  for (const QString& text : languages) {
    EXPECT_TRUE(text.contains("Win+F2")) << text.toStdString();
    EXPECT_TRUE(text.contains("Ctrl+Shift+F10")) << text.toStdString();
  }
}

TEST(GlobalKeys, BothSetsKeepTheSameLastingNamesAndSayWhatEachKeyDoes) {
  // The desktop keeps the user's own choice of keys by these names, whichever set asked.
  const std::vector<HotKey> win = globalKeyTable(false);
  std::vector<HotKey> alternative = globalKeyTable(true);
  ASSERT_EQ(win.size(), alternative.size());
  std::set<std::string> names;
  for (std::size_t i = 0; i < win.size(); ++i) {
    EXPECT_EQ(win[i].name, alternative[i].name);
    names.insert(win[i].name);
  }
  EXPECT_EQ(names.size(), win.size());
  EXPECT_TRUE(names.count("HotkeyActivate") && names.count("Hotkey9") && names.count("Hotkey9up") &&
              names.count("HotkeyAdd") && names.count("HotkeyCopyText"));

  describeGlobalKeys(alternative, i18n::StringTable::forLanguage(i18n::Language::French));
  std::set<std::string> descriptions;
  for (const HotKey& key : alternative) descriptions.insert(key.description);
  EXPECT_EQ(descriptions.size(), alternative.size());  // each says something of its own
  EXPECT_TRUE(descriptions.count("Copier la fiche 7 dans le presse-papiers"));
  EXPECT_TRUE(descriptions.count("Donner la fiche 2 ligne par ligne"));
  EXPECT_TRUE(descriptions.count("Afficher la fenêtre de quillWick"));
}

}  // namespace
}  // namespace qw::gui
