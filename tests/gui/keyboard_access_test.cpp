// Every dialog used from the keyboard alone: where the focus starts, that Tab reaches every
// control once in reading order, that Enter does the default action and Escape cancels.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "core/notebook/fakes.h"
#include "gui/about_dialog.h"
#include "gui/card_properties_dialog.h"
#include "gui/categories_dialog.h"
#include "gui/message_prompts.h"
#include "gui/options_dialog.h"
#include "gui/password_dialog.h"
#include "gui/store_folder.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

namespace fs = std::filesystem;
using fixtures::interactiveWidgets;
using fixtures::tabChain;

QRect placeIn(QWidget* w, QWidget* window) { return {w->mapTo(window, QPoint(0, 0)), w->size()}; }

// Left to right within a row (the two overlap vertically), else top to bottom.
bool readsBefore(const QRect& a, const QRect& b) {
  const bool sameRow = a.top() < b.bottom() && b.top() < a.bottom();
  return sameRow ? a.left() < b.left() : a.top() < b.top();
}

QString describe(const QList<QWidget*>& widgets) {
  QStringList names;
  for (QWidget* w : widgets)
    names << (w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName());
  return names.join(", ");
}

// What is wrong with the keyboard walk of the active `window`; empty when nothing is.
std::string focusProblems(QWidget* window, QWidget* first) {
  QStringList problems;
  if (QApplication::focusWidget() != first)
    problems << "focus starts on " + describe({QApplication::focusWidget()});
  QList<QWidget*> chain = tabChain();
  QList<QWidget*> expected;
  for (QWidget* w : interactiveWidgets(window, true))
    if (w->focusPolicy() & Qt::TabFocus) expected << w;
  for (QWidget* w : chain)
    if (chain.count(w) > 1) problems << "met twice: " + describe({w});
  for (QWidget* w : expected)
    if (!chain.contains(w)) problems << "never reached: " + describe({w});
  for (QWidget* w : chain)
    if (!expected.contains(w)) problems << "focus on a hidden or disabled " + describe({w});
  // The chain is a ring: read it from its top left widget.
  const auto top = std::min_element(chain.begin(), chain.end(), [window](QWidget* a, QWidget* b) {
    const QRect ra = placeIn(a, window), rb = placeIn(b, window);
    return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
  });
  std::rotate(chain.begin(), top, chain.end());
  for (qsizetype i = 1; i < chain.size(); ++i)
    if (!readsBefore(placeIn(chain[i - 1], window), placeIn(chain[i], window)))
      problems << describe({chain[i - 1]}) + " before " + describe({chain[i]}) + " is out of order";
  if (!problems.isEmpty()) problems << "chain: " + describe(chain);
  return problems.join("\n").toStdString();
}

// Runs `user` on the modal window once it shows; `user` ends with the key that should close it.
void whenShown(const std::function<void(QWidget*)>& user) {
  QTimer::singleShot(0, [user] {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal) {
      ADD_FAILURE() << "no modal window";
      return;
    }
    fixtures::showActive(modal);
    user(modal);
    // Accepting and rejecting hide the window at once.
    if (modal && modal->isVisible()) {
      ADD_FAILURE() << describe({modal}).toStdString() << " is still open";
      modal->close();
    }
  });
}

void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

class CardPropertiesKeys : public ::testing::Test {
 protected:
  CardPropertiesKeys() {
    store.categories = store::Categories({"3;:Work", "4"});
    dialog.setPrompts(prompts);
  }
  std::optional<notebook::CardProperties> ask(CardPropertiesDialog::Mode mode,
                                              const std::function<void(QWidget*)>& user) {
    whenShown(user);
    return dialog.ask(mode, initial, store, strings);
  }
  template <typename T>
  T* child(const char* name) {
    return fixtures::namedChild<T>(&dialog, name);
  }

  store::Store store;
  i18n::StringTable strings = i18n::StringTable::forLanguage("Anglais");
  notebook::fixtures::FakePrompts prompts;
  notebook::CardProperties initial{"Notes", "", "/tmp/partner.txt", "3", 2};
  CardPropertiesDialog dialog;
};

TEST_F(CardPropertiesKeys, TabWalksEveryFieldInOrderFromTheNameInBothModes) {
  for (auto mode : {CardPropertiesDialog::Mode::Modify, CardPropertiesDialog::Mode::Add}) {
    ask(mode, [&](QWidget* window) {
      EXPECT_EQ(focusProblems(window, child<QLineEdit>("EFiche")), "");
      press(Qt::Key_Escape);
    });
  }
}

TEST_F(CardPropertiesKeys, EnterConfirmsFromTheFieldsAndEscapeCancels) {
  const auto typed = ask(CardPropertiesDialog::Mode::Modify, [&](QWidget*) {
    press(Qt::Key_End);
    QTest::keyClicks(QApplication::focusWidget(), " 2");
    press(Qt::Key_Return);
  });
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->name, "Notes 2");

  // From a list as well: Enter on a closed list is the dialog's, not the list's.
  const auto fromList = ask(CardPropertiesDialog::Mode::Modify, [&](QWidget*) {
    child<QComboBox>("CBHotKeys")->setFocus();
    press(Qt::Key_Down);
    press(Qt::Key_Return);
  });
  ASSERT_TRUE(fromList);
  EXPECT_EQ(fromList->hotKeySlot, 3);

  EXPECT_FALSE(ask(CardPropertiesDialog::Mode::Modify, [&](QWidget*) {
    QTest::keyClicks(QApplication::focusWidget(), "changed");
    press(Qt::Key_Escape);
  }));
}

class StoreDialogKeys : public fixtures::StoreFolder {
 protected:
  StoreDialogKeys() { loadStore().cardIndex.setLines({"1;-0-0:Alpha", "2"}); }
};

TEST_F(StoreDialogKeys, CategoriesWalkFromTheNameEnterAddsEscapeCloses) {
  CategoriesDialog dialog(*store, strings, &prompts);
  fixtures::showActive(&dialog);
  EXPECT_EQ(focusProblems(&dialog, dialog.findChild<QLineEdit*>("EAjout")), "");

  auto* name = dialog.findChild<QLineEdit*>("EAjout");
  name->setFocus();
  QTest::keyClicks(name, "Ideas");
  press(Qt::Key_Return);
  auto* list = dialog.findChild<QListWidget*>("LBCategorie");
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), "Ideas");

  press(Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(StoreDialogKeys, OptionsWalkFromTheLanguageEnterSavesEscapeCancels) {
  OptionsDialog dialog(*store, strings, platform, &prompts);
  const fs::path settings = store->dataFolder / "param.ini";
  fs::remove(settings);
  whenShown([&](QWidget* window) {
    EXPECT_EQ(focusProblems(window, dialog.findChild<QComboBox*>("CBLanguage")), "");
    press(Qt::Key_Return);
  });
  EXPECT_TRUE(dialog.run());
  EXPECT_TRUE(fs::exists(settings));

  fs::remove(settings);
  whenShown([](QWidget*) { press(Qt::Key_Escape); });
  EXPECT_FALSE(dialog.run());
  EXPECT_FALSE(fs::exists(settings));
}

TEST(PasswordKeys, WalkFromTheEntryEnterGivesThePasswordEscapeCancels) {
  PasswordDialog dialog;
  const auto strings = i18n::StringTable::forLanguage("Anglais");
  whenShown([&](QWidget* window) {
    EXPECT_EQ(focusProblems(window, dialog.findChild<QLineEdit*>("Edit1")), "");
    QTest::keyClicks(QApplication::focusWidget(), "pw");
    press(Qt::Key_Return);
  });
  EXPECT_EQ(dialog.ask(strings, "Bank", false), "pw");

  whenShown([](QWidget*) {
    QTest::keyClicks(QApplication::focusWidget(), "pw");
    press(Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.ask(strings, "Bank", false), std::nullopt);
}

TEST(AboutKeys, FocusStartsOnCloseSoEnterClosesRatherThanOpeningTheLink) {
  AboutDialog dialog;
  dialog.setStrings(i18n::StringTable::forLanguage("Anglais"));
  int opened = 0;
  dialog.setPageOpener([&](const QString&) { ++opened; });
  whenShown([&](QWidget* window) {
    EXPECT_EQ(focusProblems(window, dialog.findChild<QPushButton*>("BOK")), "");
    press(Qt::Key_Return);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(opened, 0);
}

TEST(MessageBoxKeys, EnterAnswersYesOrOkEscapeAnswersNo) {
  QWidget owner;
  MessagePrompts prompts(&owner);
  whenShown([](QWidget* box) {
    auto* yes = static_cast<QMessageBox*>(box)->button(QMessageBox::Yes);
    EXPECT_EQ(focusProblems(box, yes), "");
    press(Qt::Key_Return);
  });
  EXPECT_TRUE(prompts.question("Delete", "Delete the card?"));

  whenShown([](QWidget*) { press(Qt::Key_Escape); });
  EXPECT_FALSE(prompts.question("Delete", "Delete the card?"));

  whenShown([](QWidget*) { press(Qt::Key_Return); });
  prompts.message("Err#101 : You must enter a card name");
}

}  // namespace
}  // namespace qw::gui
