#include "gui/card_properties_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "core/i18n/strings.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

using Mode = CardPropertiesDialog::Mode;
using Pick = CardPropertiesDialog::Pick;
using notebook::CardProperties;

class RecordingPrompts : public ports::Prompts {
 public:
  void message(const std::string& text) override { messages.push_back(text); }
  bool question(const std::string&, const std::string&) override { return false; }
  std::optional<std::string> password(const std::string&, bool) override { return std::nullopt; }
  std::vector<std::string> messages;
};

class CardPropertiesDialogTest : public ::testing::Test {
 protected:
  CardPropertiesDialogTest() {
    store.categories = store::Categories({"3;:Work", "7;:Perso: é \"x\"", "12;:Курсы", "13"});
    store.hotKeys[1] = {"", "First card", 0};
    store.hotKeys[4] = {"milk", "Shopping", 2};
    store.hotKeys[9] = {"", "Привет", 5};
    store.hotKeys[10] = {"", "Beyond the keys", 6};
    dialog.setPrompts(prompts);
  }

  template <typename T>
  T* child(const char* name) {
    return fixtures::namedChild<T>(&dialog, name);
  }
  QLineEdit* nameEdit() { return child<QLineEdit>("EFiche"); }
  QLineEdit* linkedEdit() { return child<QLineEdit>("EFichAssocie"); }
  QLineEdit* syncEdit() { return child<QLineEdit>("ESynchro"); }
  QComboBox* categories() { return child<QComboBox>("CBCategorie"); }
  QComboBox* hotKeys() { return child<QComboBox>("CBHotKeys"); }

  static QStringList items(QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i) all << box->itemText(i);
    return all;
  }

  // Asks, and once the dialog is up runs `whileOpen`, which must close it.
  std::optional<CardProperties> run(Mode mode, const CardProperties& initial,
                                    const std::function<void()>& whileOpen,
                                    bool encrypted = false) {
    const i18n::StringTable strings = i18n::StringTable::forLanguage(language);
    QTimer::singleShot(0, &dialog, [&] {
      EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
      whileOpen();
      if (dialog.isVisible()) {
        ADD_FAILURE() << "the dialog was left open";
        dialog.reject();
      }
    });
    return dialog.ask(mode, initial, store, strings, encrypted);
  }

  // Types text as key presses carrying it; unlike QTest::keyClicks, any character at all.
  static void type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(widget, &press);
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(widget, &release);
    }
  }

  void pressKey(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : &dialog, key);
  }

  const char* language = "Anglais";
  store::Store store;
  RecordingPrompts prompts;
  CardPropertiesDialog dialog;
};

CardProperties modifyInitial() {
  CardProperties card;
  card.name = "Notes";
  card.linkedFile = "/home/me/notes.rtf";
  card.syncLink = "/mnt/usb/notes.rtf";
  card.categoryId = "7";
  card.hotKeySlot = 4;
  return card;
}

TEST_F(CardPropertiesDialogTest, CaptionsFollowTheLanguageAndTheMode) {
  struct Case {
    const char* language;
    Mode mode;
    QString title, name, linked, sync, category, hotKey, browse, confirm, cancel, none;
  };
  const Case cases[] = {
      {"Français", Mode::Add, "Ajouter une Fiche",
       "Nom de la nouvelle fiche : ", "Associé à :", "Lien de Synchronisation",
       "Liste des Categories", "Raccourci : ", "Parcourir...", "Ajouter", "Annuler", "Aucun"},
      {"Français", Mode::Modify, "Ajouter une Fiche",
       "Nom de la nouvelle fiche : ", "Associé à :", "Lien de Synchronisation",
       "Liste des Categories", "Raccourci : ", "Parcourir...", "Modifier", "Annuler", "Aucun"},
      {"Anglais", Mode::Add, "Add a card",
       "New card name : ", "Associated to :", "Synchronisation link", "Template list",
       "Choose a HotKey", "Browse...", "Add", "Cancel", "None"},
      {"Anglais", Mode::Modify, "Add a card",
       "New card name : ", "Associated to :", "Synchronisation link", "Template list",
       "Choose a HotKey", "Browse...", "Modify", "Cancel", "None"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + (c.mode == Mode::Add ? " add" : " modify"));
    language = c.language;
    run(c.mode, modifyInitial(), [&] {
      EXPECT_EQ(dialog.objectName(), "TFManageAll");
      EXPECT_TRUE(dialog.isModal());
      EXPECT_EQ(dialog.windowTitle(), c.title);
      EXPECT_EQ(child<QLabel>("LMA")->text(), c.name);
      EXPECT_EQ(child<QLabel>("LOpen")->text(), c.linked);
      EXPECT_EQ(child<QLabel>("LSynchro")->text(), c.sync);
      EXPECT_EQ(child<QLabel>("LCateg")->text(), c.category);
      EXPECT_EQ(child<QLabel>("LHotKey")->text(), c.hotKey);
      EXPECT_EQ(child<QPushButton>("BBrowse")->text(), c.browse);
      EXPECT_EQ(child<QPushButton>("BSynchro")->text(), c.browse);
      EXPECT_EQ(child<QPushButton>("BAjouter")->text(), c.confirm);
      EXPECT_EQ(child<QPushButton>("BAnnuler")->text(), c.cancel);
      EXPECT_EQ(hotKeys()->itemText(0), c.none);
      EXPECT_EQ(categories()->itemText(0), "Standard");
      // Screen readers hear the label without its colon.
      EXPECT_EQ(nameEdit()->accessibleName(), c.name.trimmed().chopped(1).trimmed());
      EXPECT_FALSE(child<QPushButton>("BSynchro")->accessibleName().isEmpty());
      dialog.reject();
    });
  }
}

TEST_F(CardPropertiesDialogTest, HotKeyListNamesTheBoundCardsAndSelectsTheCardsSlot) {
  run(Mode::Modify, modifyInitial(), [&] {
    EXPECT_EQ(items(hotKeys()), (QStringList{"None", "1 (First card)", "2", "3", "4 (Shopping)",
                                             "5", "6", "7", "8", "9 (Привет)"}));
    EXPECT_EQ(hotKeys()->currentIndex(), 4);
    EXPECT_TRUE(hotKeys()->isEnabled());
    dialog.reject();
  });
  // Add mode starts from what the caller gives, no slot for a fresh card.
  run(Mode::Add, CardProperties{}, [&] {
    EXPECT_EQ(hotKeys()->currentIndex(), 0);
    EXPECT_EQ(hotKeys()->count(), 10);
    dialog.reject();
  });
}

TEST_F(CardPropertiesDialogTest, EncryptedCardKeepsItsHotKey) {
  const auto result = run(
      Mode::Modify, modifyInitial(),
      [&] {
        EXPECT_FALSE(hotKeys()->isEnabled());
        EXPECT_EQ(hotKeys()->currentIndex(), 4);
        pressKey(Qt::Key_Return);
      },
      /*encrypted=*/true);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->hotKeySlot, 4);
  // The next card is not encrypted: the list comes back.
  run(Mode::Modify, modifyInitial(), [&] {
    EXPECT_TRUE(hotKeys()->isEnabled());
    dialog.reject();
  });
}

TEST_F(CardPropertiesDialogTest, CategoryListHoldsStandardThenFileOrderAndSelectsTheCards) {
  const auto chosen = run(Mode::Modify, modifyInitial(), [&] {
    EXPECT_EQ(items(categories()), (QStringList{"Standard", "Work", "Perso: é \"x\"", "Курсы"}));
    EXPECT_EQ(categories()->currentIndex(), 2);
    categories()->setCurrentIndex(3);
    pressKey(Qt::Key_Return);
  });
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->categoryId, "12");
  CardProperties standard = modifyInitial();
  standard.categoryId = "0";
  const auto result = run(Mode::Modify, standard, [&] {
    EXPECT_EQ(categories()->currentIndex(), 0);
    pressKey(Qt::Key_Return);
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->categoryId, "0");
}

TEST_F(CardPropertiesDialogTest, VanishedCategoryShowsNoneAndConfirmsAsStandard) {
  CardProperties card = modifyInitial();
  card.categoryId = "42";
  const auto result = run(Mode::Modify, card, [&] {
    EXPECT_EQ(categories()->currentIndex(), -1);
    pressKey(Qt::Key_Return);
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->categoryId, "0");
}

TEST_F(CardPropertiesDialogTest, EmptyNameIsRefusedAndTheDialogStays) {
  const auto result = run(Mode::Add, CardProperties{}, [&] {
    pressKey(Qt::Key_Return);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Err#101 : You must enter a card name"});
    EXPECT_TRUE(dialog.isVisible());
    child<QPushButton>("BAjouter")->click();
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_TRUE(dialog.isVisible());
    // A blank is a name.
    type(nameEdit(), " ");
    pressKey(Qt::Key_Return);
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->name, " ");
}

TEST_F(CardPropertiesDialogTest, EmptyNameMessageBoxIsInTheCardsLanguage) {
  CardPropertiesDialog own;  // message boxes of its own, not the recording prompts
  const i18n::StringTable strings = i18n::StringTable::forLanguage("Français");
  QString shown;
  bool stayedOpen = false;
  QTimer::singleShot(0, &own, [&] {
    QTimer::singleShot(0, &own, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shown = box->text();
      box->accept();
    });
    own.findChild<QPushButton*>("BAjouter")->click();
    stayedOpen = own.isVisible();
    own.reject();
  });
  EXPECT_FALSE(own.ask(Mode::Add, CardProperties{}, store, strings));
  EXPECT_EQ(shown, "Err#101 : Vous devez entrer un nom de Fiche");
  EXPECT_TRUE(stayedOpen);
}

TEST_F(CardPropertiesDialogTest, ConfirmReturnsExactlyWhatWasTyped) {
  const QString names[] = {"a:b-c;d", "\"quoted\" 'too'", "Éléments à noter", "Привет",
                           "  spaced  "};
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const auto result = run(Mode::Add, CardProperties{}, [&] {
      type(nameEdit(), name);
      type(linkedEdit(), "C:\\Mes docs\\é-1:x.txt");
      hotKeys()->setCurrentIndex(9);
      pressKey(Qt::Key_Return);
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->name, name.toStdString());
    EXPECT_EQ(result->linkedFile, "C:\\Mes docs\\é-1:x.txt");
    EXPECT_EQ(result->syncLink, "");
    EXPECT_EQ(result->categoryId, "0");
    EXPECT_EQ(result->hotKeySlot, 9);
  }
}

TEST_F(CardPropertiesDialogTest, ModifyShowsAndReturnsTheCardsValues) {
  CardProperties card = modifyInitial();
  card.name = "Привет: \"x\" - é";
  const auto same = run(Mode::Modify, card, [&] {
    EXPECT_EQ(nameEdit()->text(), "Привет: \"x\" - é");
    EXPECT_EQ(linkedEdit()->text(), "/home/me/notes.rtf");
    EXPECT_EQ(syncEdit()->text(), "/mnt/usb/notes.rtf");
    EXPECT_TRUE(syncEdit()->isEnabled());
    child<QPushButton>("BAjouter")->click();
  });
  ASSERT_TRUE(same);
  EXPECT_EQ(same->name, card.name);
  EXPECT_EQ(same->linkedFile, card.linkedFile);
  EXPECT_EQ(same->syncLink, card.syncLink);
  EXPECT_EQ(same->categoryId, "7");
  EXPECT_EQ(same->hotKeySlot, 4);

  const auto cleared = run(Mode::Modify, card, [&] {
    linkedEdit()->clear();
    syncEdit()->clear();
    hotKeys()->setCurrentIndex(0);
    pressKey(Qt::Key_Return);
  });
  ASSERT_TRUE(cleared);
  EXPECT_EQ(cleared->linkedFile, "");
  EXPECT_EQ(cleared->syncLink, "");
  EXPECT_EQ(cleared->hotKeySlot, 0);
}

TEST_F(CardPropertiesDialogTest, AddModeOffersNoSynchronisationLink) {
  const auto result = run(Mode::Add, modifyInitial(), [&] {
    EXPECT_EQ(syncEdit()->text(), "");
    EXPECT_FALSE(syncEdit()->isEnabled());
    EXPECT_FALSE(child<QPushButton>("BSynchro")->isEnabled());
    pressKey(Qt::Key_Return);
  });
  ASSERT_TRUE(result);
  EXPECT_EQ(result->syncLink, "");
}

TEST_F(CardPropertiesDialogTest, CancelEscapeAndFrameCloseReturnNothing) {
  const std::function<void()> closers[] = {
      [&] { child<QPushButton>("BAnnuler")->click(); },
      [&] { pressKey(Qt::Key_Escape); },
      [&] { dialog.close(); },
  };
  for (const auto& close : closers) {
    EXPECT_FALSE(run(Mode::Modify, modifyInitial(), [&] {
      type(nameEdit(), " changed");
      hotKeys()->setCurrentIndex(1);
      close();
    }));
  }
}

TEST_F(CardPropertiesDialogTest, EveryAskStartsFromItsOwnData) {
  run(Mode::Modify, modifyInitial(), [&] {
    type(nameEdit(), " left over");
    categories()->setCurrentIndex(1);
    dialog.reject();
  });
  store.hotKeys[4] = {};
  store.categories = store::Categories({"20;:Only", "21"});
  run(Mode::Add, CardProperties{}, [&] {
    EXPECT_EQ(nameEdit()->text(), "");
    EXPECT_EQ(linkedEdit()->text(), "");
    EXPECT_EQ(items(categories()), (QStringList{"Standard", "Only"}));
    EXPECT_EQ(categories()->currentIndex(), 0);
    EXPECT_EQ(hotKeys()->itemText(4), "4");
    EXPECT_EQ(child<QPushButton>("BAjouter")->text(), "Add");
    dialog.reject();
  });
}

TEST_F(CardPropertiesDialogTest, KeyboardStartsInTheNameAndTabsThroughTheFields) {
  // Where the focus was left last time does not matter.
  run(Mode::Modify, modifyInitial(), [&] {
    hotKeys()->setFocus();
    dialog.reject();
  });
  run(Mode::Modify, modifyInitial(), [&] {
    EXPECT_EQ(QApplication::focusWidget(), nameEdit());
    const char* order[] = {"EFichAssocie", "BBrowse",  "ESynchro", "BSynchro", "CBCategorie",
                           "CBHotKeys",    "BAjouter", "BAnnuler", "EFiche"};
    for (const char* next : order) {
      pressKey(Qt::Key_Tab);
      ASSERT_NE(QApplication::focusWidget(), nullptr);
      EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
    }
    dialog.reject();
  });
  // With nothing in the way, Enter in the name field confirms.
  EXPECT_TRUE(
      run(Mode::Modify, modifyInitial(), [&] { QTest::keyClick(nameEdit(), Qt::Key_Enter); }));
}

TEST_F(CardPropertiesDialogTest, BrowseButtonsFillTheirFieldsFromThePicker) {
  std::vector<std::pair<Pick, QString>> asked;
  std::optional<QString> answer = "/picked/file one.txt";
  dialog.setFilePicker([&](Pick pick, const QString& current, QWidget* parent) {
    EXPECT_EQ(parent, &dialog);
    asked.emplace_back(pick, current);
    return answer;
  });
  const auto result = run(Mode::Modify, modifyInitial(), [&] {
    child<QPushButton>("BBrowse")->click();
    EXPECT_EQ(linkedEdit()->text(), "/picked/file one.txt");
    answer = "/new/partner.rtf";
    child<QPushButton>("BSynchro")->click();
    EXPECT_EQ(syncEdit()->text(), "/new/partner.rtf");
    // A cancelled pick leaves the field as it was.
    answer.reset();
    child<QPushButton>("BBrowse")->click();
    EXPECT_EQ(linkedEdit()->text(), "/picked/file one.txt");
    pressKey(Qt::Key_Return);
  });
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0], std::make_pair(Pick::LinkedFile, QString("/home/me/notes.rtf")));
  EXPECT_EQ(asked[1], std::make_pair(Pick::SyncLink, QString("/mnt/usb/notes.rtf")));
  EXPECT_EQ(asked[2].first, Pick::LinkedFile);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->linkedFile, "/picked/file one.txt");
  EXPECT_EQ(result->syncLink, "/new/partner.rtf");
}

}  // namespace
}  // namespace qw::gui
