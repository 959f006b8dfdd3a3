#include "gui/main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/ports/platform_services.h"
#include "core/store/store_error.h"
#include "gui/card_editor.h"
#include "gui/card_menu.h"
#include "gui/card_strip_view.h"
#include "gui/folding_panel.h"
#include "gui/info_popup.h"
#include "gui/main_window_fixture.h"
#include "gui/strip_panel.h"

namespace qw::gui {
namespace {

namespace fs = std::filesystem;
using fixtures::FullWindow;
using fixtures::kCreated;
using fixtures::MainWindowTest;
using fixtures::readFile;
using fixtures::write;

// The entries of a copy menu as the user sees them when it opens.
QList<QAction*> openedMenuItems(MainWindow& window, const char* name) {
  auto* menu = window.findChild<QMenu*>(name);
  if (!menu) return {};
  emit menu->aboutToShow();
  return menu->actions();
}

TEST_F(MainWindowTest, NothingIsReadBeforeTheFirstShowWhichLoadsTheStoreAndSetsTheTitle) {
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  EXPECT_EQ(window.objectName(), "TFGQuillWick");
  EXPECT_EQ(window.windowTitle(), "KTRquillWick");
  EXPECT_FALSE(fs::exists(folder / "dataQuillWick"));

  window.show();
  ASSERT_TRUE(window.loaded());
  EXPECT_EQ(window.windowTitle(), "KTRQuillWick");
  EXPECT_TRUE(fs::exists(folder / "dataQuillWick" / "param.ini"));
  EXPECT_FALSE(window.strings().english());
}

TEST_F(MainWindowTest, EnglishSettingsGiveTheEnglishTable) {
  fs::create_directories(folder / "dataQuillWick");
  std::ofstream(folder / "dataQuillWick" / "param.ini", std::ios::binary) << "Langue=Anglais\r\n";
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  EXPECT_TRUE(window.strings().english());
}

TEST_F(MainWindowTest, QuitWritesTheIndexAndTheSettings) {
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  fs::remove(folder / "dataQuillWick" / "fiches.kvn");
  fs::remove(folder / "dataQuillWick" / "param.ini");

  EXPECT_CALL(platform, setStartAtLogon(false, folder / "quillwick"));
  window.quit();
  EXPECT_EQ(readFile(folder / "dataQuillWick" / "fiches.kvn"), "1\r\n");
  EXPECT_TRUE(fs::exists(folder / "dataQuillWick" / "param.ini"));
}

TEST_F(MainWindowTest, AnUnusableDataFolderIsReportedNotHidden) {
  // Both candidate places are files, so no data folder can be made.
  std::ofstream(folder / "dataQuillWick") << "x";
  std::ofstream(folder / "user") << "x";
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  QSignalSpy failed(&window, &MainWindow::loadFailed);
  window.show();
  EXPECT_FALSE(window.loaded());
  ASSERT_EQ(failed.count(), 1);
  // No language is known without a data folder: both.
  const QString said = failed.first().first().toString();
  EXPECT_TRUE(said.contains("quillWick ne peut pas démarrer")) << said.toStdString();
  EXPECT_TRUE(said.contains("quillWick cannot start")) << said.toStdString();

  // The start reads the data before any window shows, and stops there.
  MainWindow unshown({folder / "quillwick", folder / "user"}, platform);
  EXPECT_THROW(unshown.loadData(), store::StoreError);
  EXPECT_FALSE(unshown.isVisible());
  EXPECT_FALSE(unshown.loaded());
}

TEST_F(FullWindow, EveryNamedPartOfTheLayoutIsThere) {
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  for (const char* name :
       {"PFiche",     "SBLabel",       "LStandard",    "LLSignal",   "LBottomMenu",  "PBottomMenu",
        "PFonction",  "LMenuFonction", "IMGUp",        "IMGDown",    "LFonction",    "CBFonction",
        "LLine",      "ELine",         "LSearch",      "ESearch",    "PCategorie",   "LCateg",
        "IMGUpCateg", "IMGDownCateg",  "CLBCategorie", "BEditCateg", "BCategUpdate", "PMenuExit",
        "BExit",      "Panel1",        "PListPrecise", "ListView1",  "Splitter2",    "PText",
        "PMenuTop",   "Label1",        "BBold",        "BItalic",    "BUnderline",   "BWordWrap",
        "SEFontSize", "CBFont",        "CBColor",      "ColorBox1",  "MMain",        "PBottomFile",
        "LFileName",  "LLineNumber"})
    EXPECT_NE(window.findChild<QWidget*>(name), nullptr) << name;

  EXPECT_EQ(find<QPushButton>(window, "BExit")->text(), "Close");
  EXPECT_EQ(find<QLineEdit>(window, "ELine")->text(), "1");
  auto* functions = find<QComboBox>(window, "CBFonction");
  ASSERT_EQ(functions->count(), 7);
  EXPECT_EQ(functions->itemText(0), "Reload");
  EXPECT_EQ(functions->itemText(6), "Suppress space");
  // The functions and categories panels start closed.
  EXPECT_FALSE(functions->isVisible());
  EXPECT_TRUE(find<QWidget>(window, "IMGUp")->isVisible());
  EXPECT_FALSE(find<QWidget>(window, "IMGDown")->isVisible());
  EXPECT_EQ(find<QWidget>(window, "PFonction")->height(), 25);
  EXPECT_EQ(find<QWidget>(window, "PCategorie")->height(), 25);
  EXPECT_EQ(find<QWidget>(window, "PMenuExit")->height(), 41);
  // "AffichList=1" shows the list panel.
  EXPECT_TRUE(find<QWidget>(window, "PListPrecise")->isVisible());
  auto* list = find<QTreeWidget>(window, "ListView1");
  EXPECT_EQ(list->headerItem()->text(3), "Fichiers");
  // The category list holds Standard and every category, ticked by the filter.
  auto* categories = find<QListWidget>(window, "CLBCategorie");
  ASSERT_EQ(categories->count(), 2);
  EXPECT_EQ(categories->item(0)->text(), "Standard");
  EXPECT_EQ(categories->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(categories->item(1)->text(), "Travail");
  EXPECT_EQ(categories->item(1)->checkState(), Qt::Unchecked);
}

TEST_F(FullWindow, TheCardMenuHasEveryItemWithItsShortcutAndState) {
  MainWindow& window = shownWindow();
  struct Item {
    const char* name;
    const char* shortcut;
    bool enabled;
    bool inMenu;
  };
  const Item items[] = {
      {"NouvelleFiche1", "Ctrl+N", true, true},
      {"NouvelleFichePressePapier1", "Ctrl+Alt+N", true, true},
      {"NouveauBookmark1", "Ctrl+Alt+B", false, false},
      {"RenommerFiche1", "Ctrl+R", true, true},
      {"SupprimeFiche1", "Ctrl+Del", true, true},
      {"Prcdent1", "Ctrl+J", true, true},
      {"Suivant1", "Ctrl+K", true, true},
      {"Monter1", "", true, true},
      {"Descendre1", "", true, true},
      {"Crypter1", "", false, true},
      {"Dcrypter1", "", false, true},
      {"BookmarkPressepapier1", "", false, false},
      {"CopierPressePapierActuel1", "Ctrl+Alt+V", true, true},
      {"Afficher1", "", false, true},
      {"Rduire1", "F2", true, true},
      {"NextSearch1", "F3", true, true},
      {"Options1", "Ctrl+O", true, true},
      {"Chercher1", "Ctrl+F", true, false},
      {"SelectAll1", "Ctrl+A", true, false},
      {"APropos1", "F1", true, true},
      {"Quitter1", "Ctrl+Q", true, true},
  };
  auto* menu = window.findChild<QMenu*>("PMFiche1");
  ASSERT_NE(menu, nullptr);
  for (const Item& item : items) {
    auto* action = window.findChild<QAction*>(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_EQ(action->shortcut(), QKeySequence(item.shortcut)) << item.name;
    EXPECT_EQ(action->isEnabled(), item.enabled) << item.name;
    EXPECT_EQ(menu->actions().contains(action), item.inMenu) << item.name;
  }
  EXPECT_EQ(window.findChild<QAction*>("Quitter1")->text(), "Quit");
  EXPECT_EQ(window.findChild<QAction*>("Prcdent1")->text(), "Précédent");
  // One entry per strip position in both copy menus, the main card first.
  auto* pasteInto = window.findChild<QMenu*>("Copiervers1");
  auto* copyFrom = window.findChild<QMenu*>("Copierdepuis1");
  EXPECT_TRUE(pasteInto->actions().isEmpty()) << "made when a copy menu first opens";
  emit pasteInto->aboutToShow();
  ASSERT_EQ(pasteInto->actions().size(), 3);
  EXPECT_EQ(pasteInto->actions()[0]->text(), "ktrquillWick");
  EXPECT_EQ(pasteInto->actions()[0]->data().toInt(), -2);
  EXPECT_EQ(pasteInto->actions()[2]->text(), "Gamma");
  EXPECT_EQ(pasteInto->actions()[2]->data().toInt(), 2);
  EXPECT_EQ(copyFrom->actions().size(), 3);
}

TEST_F(FullWindow, TheStripShowsFilteredCardsWithTheDefaultOneSelected) {
  MainWindow& window = shownWindow();
  auto* strip = find<QWidget>(window, "SBLabel");
  QList<QLabel*> labels;
  for (QLabel* label : strip->findChildren<QLabel*>())
    if (label->property("tag").isValid()) labels.append(label);
  std::sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) { return a->y() < b->y(); });
  ASSERT_EQ(labels.size(), 3);  // the main card, Alpha and Gamma; Work is filtered out
  EXPECT_EQ(labels[0]->objectName(), "LStandard");
  EXPECT_EQ(labels[0]->property("tag").toInt(), -2);
  EXPECT_EQ(labels[0]->property("hint").toString(), "-2");
  EXPECT_EQ(labels[2]->text(), "Gamma");
  EXPECT_EQ(labels[2]->property("tag").toInt(), 2);
  EXPECT_EQ(labels[2]->property("hint").toString(), "2");  // card number in the index
  for (int p = 0; p < 3; ++p) EXPECT_EQ(labels[p]->y(), 10 + 24 * p);
  EXPECT_TRUE(labels[2]->font().bold());
  EXPECT_FALSE(labels[1]->font().bold());
  EXPECT_EQ(labels[1]->palette().color(QPalette::WindowText), QColor(Qt::yellow));
  EXPECT_EQ(find<QLabel>(window, "LLSignal")->y(), labels[2]->y());
  EXPECT_EQ(find<QLabel>(window, "LBottomMenu")->y(), 2 * 24 + 112);
  EXPECT_EQ(find<QLabel>(window, "Label1")->text(), "Gamma");

  QTest::mouseClick(labels[1], Qt::LeftButton);
  EXPECT_EQ(window.notebook().current().name, "Alpha");
  EXPECT_TRUE(labels[1]->font().bold());
  EXPECT_FALSE(labels[2]->font().bold());
  EXPECT_EQ(find<QLabel>(window, "Label1")->text(), "Alpha");
  EXPECT_TRUE(find<QLabel>(window, "LFileName")->text().endsWith("1.kvn"));
  EXPECT_EQ(readFile(data / "3.kvn"), "text 3");  // unchanged: not rewritten
}

TEST_F(FullWindow, TheShownCardGetsItsSnapshotsOnceItIsDrawn) {
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  window.show();
  ASSERT_TRUE(window.loaded());
  // Loading writes nothing: the copies would only slow the card's way to the screen.
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(data / "backup.ini"); }));
  EXPECT_EQ(readFile(data / "backup.ini").substr(0, 7), "Gamma\r\n");
  EXPECT_EQ(readFile(data / "3.kvn.$$$"), "text 3");
}

TEST_F(FullWindow, TheTrayIconAndTheWindowIconComeOnceTheWindowIsDrawn) {
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  const auto trayShown = [&] {
    auto* tray = window.findChild<QSystemTrayIcon*>("TrayIcon");
    return tray && tray->isVisible();
  };
  window.show();
  EXPECT_FALSE(trayShown());
  EXPECT_TRUE(window.windowIcon().isNull());
  EXPECT_TRUE(QTest::qWaitFor(trayShown));
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_FALSE(window.findChild<QSystemTrayIcon*>("TrayIcon")->icon().isNull());
}

TEST_F(FullWindow, OnAWaylandDesktopWithoutItsPortalTheProgramNamesTheCommandsToBind) {
  // A Wayland session whose bus cannot be reached: no portal to ask.
  qputenv("WAYLAND_DISPLAY", "wayland-none");
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
  shownWindow();
  QMessageBox* box = nullptr;
  EXPECT_TRUE(QTest::qWaitFor([&] {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == "GlobalKeysMessage" && top->isVisible())
        box = qobject_cast<QMessageBox*>(top);
    return box != nullptr;
  }));
  qunsetenv("WAYLAND_DISPLAY");
  qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  ASSERT_NE(box, nullptr);
  EXPECT_THAT(
      box->text().toStdString(),
      ::testing::AllOf(::testing::HasSubstr("Global keys are not available on this desktop"),
                       ::testing::HasSubstr("keyboard settings"),
                       ::testing::HasSubstr("quillwick --show"),
                       ::testing::HasSubstr("quillwick --copy 1 … 9"),
                       ::testing::HasSubstr("quillwick --feed 1 … 9"),
                       ::testing::HasSubstr("quillwick --next-line"),
                       ::testing::HasSubstr("quillwick --new-from-clipboard")));
  EXPECT_FALSE(box->isModal());
}

TEST_F(FullWindow, TheCloseBoxSavesTheCardAndStepsAsideQuitEnds) {
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.windowShown());
  auto* editor = find<CardEditor>(window, "MMain");
  editor->selectAll();
  editor->insertPlainText("typed");

  EXPECT_FALSE(window.close());
  EXPECT_FALSE(window.windowShown());
  EXPECT_NE(readFile(data / "3.kvn").find("typed"), std::string::npos);
  EXPECT_FALSE(fs::exists(data / "backup.ini"));

  window.quit();
  EXPECT_EQ(readFile(data / "fiches.kvn"),
            "1;-0-0:Alpha\r\n2;-3-0:Work\r\n3;-0-H1-0:Gamma\r\n4\r\n");
  EXPECT_EQ(readFile(data / "param.ini").substr(0, 16), "Langue=Anglais\r\n");
}

TEST_F(FullWindow, AWindowTheUserMinimisedStillStepsAsideWhenClosedOnlyAnAsideOneEnds) {
  MainWindow& window = shownWindow();
  window.showMinimized();
  EXPECT_TRUE(window.windowShown()) << "a minimise by the user is not the tray";
  EXPECT_FALSE(window.close());
  EXPECT_FALSE(window.windowShown());
  // Brought back from the task bar, it is on the screen again and closing puts it away again.
  window.showNormal();
  EXPECT_TRUE(window.windowShown());
  EXPECT_FALSE(window.close());
  EXPECT_FALSE(window.windowShown());
  // A close request while it is put away ends the program.
  EXPECT_TRUE(window.close());
}

TEST_F(FullWindow, QuitWithACardThatCannotBeWrittenStaysOpenASessionEndStillEnds) {
  MainWindow& window = shownWindow();
  auto* editor = find<CardEditor>(window, "MMain");
  editor->selectAll();
  editor->insertPlainText("typed");
  // The card's file turned into a folder under the program.
  fs::remove(data / "3.kvn");
  fs::create_directory(data / "3.kvn");

  QString reported;
  fixtures::answerNextBox(QMessageBox::Ok, &reported);
  window.quit();
  EXPECT_NE(reported.indexOf("3.kvn"), -1) << reported.toStdString();
  EXPECT_TRUE(window.isVisible()) << "the program ended with the card unsaved";
  EXPECT_EQ(editor->toPlainText(), "typed");

  // The session end cannot wait: it says so, then writes the index and the settings.
  fs::remove(data / "fiches.kvn");
  fixtures::answerNextBox(QMessageBox::Ok);
  window.endSession();
  window.close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(readFile(data / "fiches.kvn"),
            "1;-0-0:Alpha\r\n2;-3-0:Work\r\n3;-0-H1-0:Gamma\r\n4\r\n");
}

TEST_F(FullWindow, AProgramEndedWithoutACloseStillWritesTheCardTheIndexAndTheSettings) {
  MainWindow& window = shownWindow();
  auto* editor = find<CardEditor>(window, "MMain");
  editor->setFocus();
  QTest::keyClicks(editor, "typed before the end ");
  fs::remove(data / "fiches.kvn");
  fs::remove(data / "param.ini");

  window.saveBeforeExit();
  const fs::path card = window.notebook().current().contentFile;
  EXPECT_NE(readFile(card).find("typed before the end"), std::string::npos);
  EXPECT_TRUE(fs::exists(data / "fiches.kvn"));
  EXPECT_TRUE(fs::exists(data / "param.ini"));

  // Once: asked again, it writes nothing more.
  fs::remove(data / "fiches.kvn");
  window.saveBeforeExit();
  EXPECT_FALSE(fs::exists(data / "fiches.kvn"));
}

TEST_F(FullWindow, TheStoredSelectionComesBackAndStartingDoesNotMarkTheCardModified) {
  write(data / "3.kvo", "3.kvn\r\n2\r\n3\r\n8\r\n1\r\n11\r\n1\r\n16\r\n0\r\n0\r\n0\r\n");
  MainWindow& window = shownWindow();
  auto* editor = find<CardEditor>(window, "MMain");
  EXPECT_EQ(editor->textCursor().selectedText(), "xt ");
  EXPECT_FALSE(editor->document()->isModified());
}

TEST_F(FullWindow, TheLineListSortsIgnoringCaseAndReloadBringsBackTheSavedText) {
  MainWindow& window = shownWindow();
  auto* editor = find<CardEditor>(window, "MMain");
  auto* list = find<QComboBox>(window, "CBFonction");
  ASSERT_EQ(list->count(), 7);
  editor->selectAll();
  editor->insertPlainText("banana\nApple\ncherry");

  emit list->activated(1);  // sort
  EXPECT_EQ(editor->toPlainText(), "Apple\nbanana\ncherry\n");
  emit list->activated(2);  // inverse sort; the break after the last line adds no line
  EXPECT_EQ(editor->toPlainText(), "cherry\nbanana\nApple\n");
  emit list->activated(1);
  EXPECT_EQ(editor->toPlainText(), "Apple\nbanana\ncherry\n");
  EXPECT_EQ(readFile(data / "3.kvn"), "text 3");  // sorting never saves

  emit list->activated(0);  // reload
  EXPECT_EQ(editor->toPlainText(), "text 3");
  EXPECT_FALSE(editor->document()->isModified());
}

TEST_F(FullWindow, F3AndCtrlFReachTheSearchField) {
  MainWindow& window = shownWindow();
  auto* field = find<QLineEdit>(window, "ESearch");
  auto* panel = find<FoldingPanel>(window, "PFonction");
  auto* search = find<QAction>(window, "Chercher1");
  auto* next = find<QAction>(window, "NextSearch1");
  ASSERT_TRUE(search && next && field && panel);

  window.activateWindow();  // focus moves only inside the active window
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  panel->setOpen(false);
  search->trigger();
  EXPECT_TRUE(panel->isOpen());
  EXPECT_EQ(QApplication::focusWidget(), field);

  // F3 with a text searches the card: "text 3" holds "xt" at 2.
  field->setText("xt");
  next->trigger();
  EXPECT_EQ(find<CardEditor>(window, "MMain")->textCursor().selectedText(), "xt");
}

// Only loading a card starts the search again from the top: the commands that leave the card
// in the editor keep the search where it got to.
TEST_F(FullWindow, OnlyACardLoadStartsTheSearchAgainFromTheTop) {
  MainWindow& window = shownWindow();
  auto* editor = find<CardEditor>(window, "MMain");
  find<QLineEdit>(window, "ESearch")->setText("t");  // "text 3" holds it at 0 and 3
  const auto nextHit = [&] {
    find<QAction>(window, "NextSearch1")->trigger();
    return editor->textCursor().selectionStart();
  };
  QGuiApplication::clipboard()->setText("clip");
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"Monter1", [&] { find<QAction>(window, "Monter1")->trigger(); }},
      {"Descendre1", [&] { find<QAction>(window, "Descendre1")->trigger(); }},
      {"sort", [&] { emit find<QComboBox>(window, "CBFonction")->activated(1); }},
      {"Ctrl+Alt+V", [&] { find<QAction>(window, "CopierPressePapierActuel1")->trigger(); }},
  };
  for (const auto& [name, command] : commands) {
    window.switchToPosition(window.notebook().selectedPosition());  // loads Gamma again
    ASSERT_EQ(nextHit(), 0) << name;
    command();
    ASSERT_EQ(window.notebook().current().name, "Gamma") << name;
    EXPECT_EQ(nextHit(), 3) << name;
  }
}

TEST_F(FullWindow, CardNamesWithAnAmpersandShowWholeInTheCopyMenus) {
  write(data / "fiches.kvn", "1;-0-0:R&D\r\n2;-3-0:Work\r\n3;-0-H1-0:Gamma\r\n4\r\n");
  MainWindow& window = shownWindow();
  for (const char* menu : {"Copiervers1", "Copierdepuis1"}) {
    const QList<QAction*> items = openedMenuItems(window, menu);
    ASSERT_EQ(items.size(), 3) << menu;
    // What the menu draws: "&&" as "&"; a lone "&" would underline the letter after it.
    EXPECT_EQ(items[1]->iconText(), "R&D") << menu;
    EXPECT_EQ(items[1]->data().toInt(), 0) << menu;
  }
  QGuiApplication::clipboard()->setText("clip");
  openedMenuItems(window, "Copiervers1")[1]->trigger();
  EXPECT_EQ(readFile(data / "1.kvn"), "text 1\r\nclip\r\n");
}

TEST_F(FullWindow, F2PutsTheWindowAwaySavingTheCardAndTheTrayBringsItBack) {
  MainWindow& window = shownWindow();
  auto* editor = find<CardEditor>(window, "MMain");
  editor->selectAll();
  editor->insertPlainText("before F2");
  find<QAction>(window, "Rduire1")->trigger();
  // No tray on this platform: the window goes to the task bar instead of vanishing.
  EXPECT_FALSE(window.windowShown());
  EXPECT_TRUE(window.isMinimized());
  EXPECT_NE(readFile(data / "3.kvn").find("before F2"), std::string::npos);

  window.showWindow();  // what a click on the tray icon does
  EXPECT_TRUE(window.windowShown());
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
}

TEST_F(FullWindow, TheKeyboardGoesToTheCardAsTheWindowComesBackOrACardOpensButNotFromTheList) {
  MainWindow& window = shownWindow();
  auto* editor = find<CardEditor>(window, "MMain");
  auto* search = find<QLineEdit>(window, "ESearch");
  EXPECT_EQ(window.focusWidget(), editor) << "after the first show";
  const auto focusedAfter = [&](const std::function<void()>& open) {
    search->setFocus();
    open();
    return window.focusWidget();
  };

  EXPECT_EQ(focusedAfter([&] {
              find<QAction>(window, "Rduire1")->trigger();
              window.showWindow();  // Win+F2 or a click on the tray icon
            }),
            editor);
  EXPECT_EQ(focusedAfter([&] { find<QAction>(window, "Prcdent1")->trigger(); }), editor);
  EXPECT_EQ(focusedAfter([&] { find<QAction>(window, "Suivant1")->trigger(); }), editor);
  QLabel* main = find<QLabel>(window, "LStandard");
  EXPECT_EQ(focusedAfter([&] { QTest::mouseClick(main, Qt::LeftButton); }), editor);
  EXPECT_EQ(window.notebook().current().number, notebook::kMainCard);
  QGuiApplication::clipboard()->setText("pasted");
  EXPECT_EQ(focusedAfter([&] { find<QAction>(window, "NouvelleFichePressePapier1")->trigger(); }),
            editor);

  // The arrow keys in the list open the cards one after the other: the keyboard stays there.
  auto* list = find<QTreeWidget>(window, "ListView1");
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0));
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(window.notebook().current().name, "Alpha");
  EXPECT_EQ(window.focusWidget(), list);
}

TEST_F(FullWindow, TheTrayMenuLeavesOutTheCardItemsUntilItCloses) {
  MainWindow& window = shownWindow();
  auto* menu = find<CardMenu>(window, "PMFiche1");
  const QStringList cardItems = {"RenommerFiche1", "SupprimeFiche1", "Prcdent1",
                                 "Suivant1",       "Monter1",        "Descendre1",
                                 "NextSearch1",    "Crypter1",       "Dcrypter1"};
  QStringList shownInTray;
  QTimer::singleShot(0, menu, [&] {
    for (QAction* action : menu->actions())
      if (action->isVisible() && !action->isSeparator()) shownInTray << action->objectName();
    menu->close();
  });
  menu->popUpInTrayForm(QPoint(10, 10));
  for (const QString& name : cardItems) {
    EXPECT_FALSE(shownInTray.contains(name)) << name.toStdString();
    EXPECT_TRUE(find<QAction>(window, name.toUtf8().constData())->isVisible())
        << name.toStdString();
  }
  EXPECT_TRUE(shownInTray.contains("Quitter1"));
  EXPECT_TRUE(shownInTray.contains("NouvelleFiche1"));
}

TEST_F(FullWindow, ClipboardItemsMoveTextBetweenTheClipboardAndTheCards) {
  MainWindow& window = shownWindow();
  QClipboard* clipboard = QGuiApplication::clipboard();
  const auto item = [&](const char* menu, const char* card) {
    emit find<QMenu>(window, menu)->aboutToShow();  // as when the user opens it
    for (QAction* action : find<QMenu>(window, menu)->actions())
      if (action->text() == card) return action;
    ADD_FAILURE() << card;
    return static_cast<QAction*>(nullptr);
  };

  item("Copierdepuis1", "Alpha")->trigger();
  EXPECT_EQ(clipboard->text(), "text 1");

  clipboard->setText("clip\ntext");
  item("Copiervers1", "Alpha")->trigger();
  EXPECT_EQ(readFile(data / "1.kvn"), "text 1\r\nclip\r\ntext\r\n");

  find<QAction>(window, "CopierPressePapierActuel1")->trigger();  // Gamma is open
  EXPECT_EQ(find<CardEditor>(window, "MMain")->toPlainText(), "text 3\nclip\ntext\n");
  EXPECT_NE(readFile(data / "3.kvn").find("clip"), std::string::npos);

  fs::remove(data / "1.kvn");
  item("Copierdepuis1", "Alpha")->trigger();
  EXPECT_EQ(clipboard->text(), "clip\ntext");
  EXPECT_TRUE(window.popup().isVisible());
  EXPECT_EQ(window.popup().text(), "ERR#106 : File not accessible");
}

TEST_F(FullWindow, ANewCardFromTheClipboardJoinsTheStripAndTheMenus) {
  MainWindow& window = shownWindow();
  QGuiApplication::clipboard()->setText("pasted");
  find<QAction>(window, "NouvelleFichePressePapier1")->trigger();
  EXPECT_EQ(readFile(data / "fiches.kvn"),
            "1;-0-0:Alpha\r\n2;-3-0:Work\r\n3;-0-H1-0:Gamma\r\n4;-0-0:KTRquillWick 1\r\n5\r\n");
  EXPECT_EQ(readFile(data / "4.kvn"), "pasted\r\n");
  EXPECT_EQ(find<CardEditor>(window, "MMain")->toPlainText(), "pasted\n");
  EXPECT_EQ(openedMenuItems(window, "Copiervers1").back()->text(), "KTRquillWick 1");
  EXPECT_EQ(window.notebook().current().name, "KTRquillWick 1");
}

TEST_F(FullWindow, ProtectingACardThroughTheMenuAsksAPasswordAndSealsIt) {
  MainWindow& window = shownWindow();
  auto* protect = find<QAction>(window, "Crypter1");
  auto* unprotect = find<QAction>(window, "Dcrypter1");
  EXPECT_FALSE(protect->isEnabled());  // Gamma is on a hot key
  window.switchToPosition(1);          // Alpha
  EXPECT_TRUE(protect->isEnabled());
  EXPECT_FALSE(unprotect->isEnabled());

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "TFPassword");
    EXPECT_EQ(dialog->windowTitle(), "Password for  'Alpha'");
    auto* entry = dialog->findChild<QLineEdit*>("Edit1");
    entry->setText("pw");
    dialog->findChild<QPushButton*>("BOK")->click();
  });
  protect->trigger();
  EXPECT_TRUE(fs::exists(data / "1.kvc"));
  EXPECT_FALSE(fs::exists(data / "1.kvn"));
  EXPECT_FALSE(protect->isEnabled());
  EXPECT_FALSE(unprotect->isEnabled());
  EXPECT_TRUE(find<QLabel>(window, "LFileName")->text().endsWith("1.kvc"));
}

// Closes the modal dialog `name` as soon as it shows; true when it did show.
bool closesWhenShown(MainWindow& window, const char* name, const std::function<void()>& open) {
  bool shown = false;
  QTimer::singleShot(0, &window, [&] {
    if (auto* dialog = window.findChild<QDialog*>(name); dialog && dialog->isVisible()) {
      shown = true;
      dialog->reject();
    }
  });
  open();
  return shown;
}

TEST_F(FullWindow, OptionsAndCategoriesOpenFromTheMenuAndTheStripPanel) {
  MainWindow& window = shownWindow();
  EXPECT_TRUE(closesWhenShown(window, "TFOptions",
                              [&] { window.findChild<QAction*>("Options1")->trigger(); }));
  EXPECT_TRUE(closesWhenShown(window, "TFCategorie",
                              [&] { find<QPushButton>(window, "BEditCateg")->click(); }));
}

TEST_F(FullWindow, ANewLanguageIsSaidToApplyAtTheNextStartInThatLanguage) {
  MainWindow& window = shownWindow();
  // The message box comes once the options are closed: answered whenever it shows.
  QString said;
  QTimer boxes;
  boxes.setInterval(10);
  QObject::connect(&boxes, &QTimer::timeout, [&said] {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
        said = box->text();
        box->accept();
      }
  });
  boxes.start();
  const auto confirm = [&](int language) {
    QTimer::singleShot(0, &window, [&window, language] {
      auto* dialog = window.findChild<QDialog*>("TFOptions");
      ASSERT_NE(dialog, nullptr);
      dialog->findChild<QComboBox*>("CBLanguage")->setCurrentIndex(language);
      dialog->findChild<QPushButton*>("BSaveAndClose")->click();
    });
    window.findChild<QAction*>("Options1")->trigger();
  };
  confirm(0);  // Français, from English
  EXPECT_EQ(said, "La langue choisie s'appliquera au prochain démarrage de quillWick.");
  EXPECT_NE(readFile(data / "param.ini")
                .find("Langue=Fran\xE7"
                      "ais"),
            std::string::npos);
  EXPECT_TRUE(window.strings().english());  // until the next start

  // The same language again says nothing.
  said.clear();
  confirm(0);
  QTest::qWait(50);
  EXPECT_TRUE(said.isEmpty()) << said.toStdString();
}

TEST_F(FullWindow, NewCardFromTheMenuGoesThroughTheDialogIntoTheStripAndTheList) {
  MainWindow& window = shownWindow();
  QTimer::singleShot(0, &window, [&] {
    auto* dialog = window.findChild<QDialog*>("TFManageAll");
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>("EFiche")->setText("Idées: été");
    dialog->findChild<QPushButton*>("BAjouter")->click();
  });
  window.findChild<QAction*>("NouvelleFiche1")->trigger();

  EXPECT_EQ(window.notebook().current().name, "Idées: été");
  EXPECT_EQ(find<QLabel>(window, "Label1")->text(), "Idées: été");
  const auto index = readFile(data / "fiches.kvn");
  EXPECT_NE(index.find("4;-0-0:Id\xE9"
                       "es: \xE9t\xE9\r\n5\r\n"),
            std::string::npos)
      << index;
  auto* list = find<QTreeWidget>(window, "ListView1");
  find<QToolButton>(window, "IListPrecise")->click();
  ASSERT_GT(list->topLevelItemCount(), 0);
  EXPECT_EQ(list->topLevelItem(list->topLevelItemCount() - 1)->text(1), "Idées: été");
  EXPECT_EQ(openedMenuItems(window, "Copiervers1").size(), 4);
}

TEST_F(FullWindow, ANewCardMadeWhileTheWindowIsAsideBringsItBack) {
  MainWindow& window = shownWindow();
  find<QAction>(window, "Rduire1")->trigger();
  ASSERT_FALSE(window.windowShown());
  // "New Card" from the tray menu; a cancelled dialog leaves the window aside.
  QTimer::singleShot(0, &window, [&] { window.findChild<QDialog*>("TFManageAll")->reject(); });
  window.findChild<QAction*>("NouvelleFiche1")->trigger();
  EXPECT_FALSE(window.windowShown());

  QTimer::singleShot(0, &window, [&] {
    auto* dialog = window.findChild<QDialog*>("TFManageAll");
    dialog->findChild<QLineEdit*>("EFiche")->setText("From the tray");
    dialog->findChild<QPushButton*>("BAjouter")->click();
  });
  window.findChild<QAction*>("NouvelleFiche1")->trigger();
  EXPECT_EQ(window.notebook().current().name, "From the tray");
  EXPECT_TRUE(window.windowShown());
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isMinimized());
}

TEST_F(FullWindow, TheMainCardHasNoPropertiesToEdit) {
  fs::remove(data / "param.ini");  // opens the main card
  MainWindow& window = shownWindow();
  bool refused = false;
  QTimer::singleShot(0, &window, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
        refused = box->text().startsWith("Err#102");
        box->accept();
      }
    }
  });
  window.findChild<QAction*>("RenommerFiche1")->trigger();
  EXPECT_TRUE(refused);
}

TEST_F(FullWindow, TheUpdateButtonAppliesTheTicksAndTheListToggleIsRemembered) {
  MainWindow& window = shownWindow();
  auto* categories = find<QListWidget>(window, "CLBCategorie");
  categories->item(0)->setCheckState(Qt::Unchecked);
  categories->item(1)->setCheckState(Qt::Checked);
  find<QPushButton>(window, "BCategUpdate")->click();

  EXPECT_EQ(window.store().settings.categoryFilter(), "-3-");
  EXPECT_NE(readFile(data / "param.ini").find("LCategories=-3-\r\n"), std::string::npos);
  EXPECT_EQ(window.notebook().current().number, notebook::kMainCard);
  auto* list = find<QTreeWidget>(window, "ListView1");
  ASSERT_EQ(list->topLevelItemCount(), 2);  // the main card and Work
  EXPECT_EQ(list->topLevelItem(1)->text(1), "Work");
  EXPECT_EQ(openedMenuItems(window, "Copiervers1").size(), 2);

  // "AffichList=1" at start: the list is shown and its hide button offered.
  auto* hide = find<QToolButton>(window, "IListPrecise1");
  EXPECT_TRUE(hide->isVisible());
  hide->click();
  EXPECT_FALSE(find<QWidget>(window, "PListPrecise")->isVisible());
  EXPECT_TRUE(find<QToolButton>(window, "IListPrecise")->isVisible());
  window.quit();
  EXPECT_NE(readFile(data / "param.ini").find("AffichList=0\r\n"), std::string::npos);
}

// A filter that cannot be saved is not half applied: memory, param.ini, the strip and the ticks
// all keep the filter in force.
TEST_F(FullWindow, AFilterThatCannotBeSavedLeavesTheStripAndTheTicksAsTheyWere) {
  MainWindow& window = shownWindow();
  const std::string filter = window.store().settings.categoryFilter();
  const int stripLength = static_cast<int>(window.notebook().strip().size());
  const int shownCard = window.notebook().current().number;
  fs::remove(data / "param.ini");
  fs::create_directory(data / "param.ini");  // the atomic writer cannot replace a folder

  auto* categories = find<QListWidget>(window, "CLBCategorie");
  const Qt::CheckState workTick = categories->item(1)->checkState();
  categories->item(1)->setCheckState(workTick == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  QString error;
  fixtures::answerNextBox(QMessageBox::Ok, &error);
  find<QPushButton>(window, "BCategUpdate")->click();

  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(window.store().settings.categoryFilter(), filter);
  EXPECT_EQ(static_cast<int>(window.notebook().strip().size()), stripLength);
  EXPECT_EQ(window.notebook().current().number, shownCard);
  EXPECT_EQ(categories->item(1)->checkState(), workTick);
}

TEST_F(FullWindow, AListHiddenAtStartHoldsTheShownCardsWhenItOpens) {
  std::string settings = readFile(data / "param.ini");
  settings.replace(settings.find("AffichList=1"), 12, "AffichList=0");
  write(data / "param.ini", settings);
  MainWindow& window = shownWindow();
  EXPECT_FALSE(find<QWidget>(window, "PListPrecise")->isVisible());
  // A card moved while the list is hidden is in its new place once it opens.
  ASSERT_EQ(window.notebook().current().name, "Gamma");
  window.findChild<QAction*>("Monter1")->trigger();

  find<QToolButton>(window, "IListPrecise")->click();
  auto* list = find<QTreeWidget>(window, "ListView1");
  EXPECT_TRUE(list->isVisible());
  EXPECT_EQ(list->accessibleName(), "Cards");
  QStringList titles;
  for (int row = 0; row < list->topLevelItemCount(); ++row)
    titles << list->topLevelItem(row)->text(1);
  EXPECT_EQ(titles, QStringList({"quillWick", "Gamma", "Alpha"}));

  // Its rows open their cards.
  list->setCurrentItem(list->topLevelItem(2));
  QTest::keyRelease(list, Qt::Key_Control);
  EXPECT_EQ(window.notebook().current().name, "Alpha");
}

TEST_F(FullWindow, OpeningACardFromTheListKeepsTheListsOrderAndSelection) {
  MainWindow& window = shownWindow();
  auto* list = find<QTreeWidget>(window, "ListView1");
  list->header()->sectionClicked(1);  // Title, ascending
  list->header()->sectionClicked(1);  // Title, descending: quillWick, Gamma, Alpha
  ASSERT_EQ(list->topLevelItem(0)->text(1), "quillWick");
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(1));
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(window.notebook().current().name, "Alpha");
  EXPECT_EQ(list->currentItem()->text(1), "Alpha");
  EXPECT_EQ(list->topLevelItem(0)->text(1), "quillWick");
}

TEST(FoldingPanels, ArrowsAndDoubleClickOpenAndCloseAtTheirHeights) {
  StripPanel panel;
  panel.resize(177, 700);
  panel.show();
  struct Case {
    FoldingPanel* panel;
    const char* openButton;
    const char* closeButton;
    int openHeight;
  };
  for (const Case& c : {Case{panel.functions, "IMGUp", "IMGDown", 168},
                        Case{panel.categories, "IMGUpCateg", "IMGDownCateg", 160}}) {
    auto* open = c.panel->findChild<QToolButton*>(c.openButton);
    auto* close = c.panel->findChild<QToolButton*>(c.closeButton);
    ASSERT_TRUE(open && close);
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_TRUE(c.panel->isOpen());
    EXPECT_EQ(c.panel->height(), c.openHeight) << c.openButton;
    EXPECT_FALSE(open->isVisible());
    EXPECT_TRUE(close->isVisible());
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(c.panel->height(), FoldingPanel::kClosedHeight);
    EXPECT_TRUE(open->isVisible());
    QTest::mouseDClick(c.panel, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(c.panel->height(), c.openHeight);
    QTest::mouseDClick(c.panel, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(c.panel->height(), FoldingPanel::kClosedHeight);
  }
}

TEST(CardStrip, LabelsBelowTheScreenComeWhenTheyCouldBeSeenOrAreNeeded) {
  std::vector<notebook::StripEntry> entries(400);
  for (int p = 0; p < 400; ++p)
    entries[p] = {p == 0 ? notebook::kMainCard : p - 1, "card " + std::to_string(p), {}};
  const auto made = [](CardStripView& strip) {
    return strip.findChild<QWidget*>("SBLabelCanvas")->findChildren<QLabel*>().size() - 2;
  };
  {
    CardStripView strip;
    strip.setEntries(entries);
    EXPECT_EQ(strip.count(), 400);
    strip.resize(177, 300);
    strip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    QTest::qWait(50);
    EXPECT_LT(made(strip), 400);  // marker and bottom label aside
    strip.verticalScrollBar()->setValue(strip.verticalScrollBar()->value() + 24);
    EXPECT_EQ(made(strip), 400);
    EXPECT_EQ(strip.label(399)->text(), "card 399");
    EXPECT_EQ(strip.label(399)->y(), strip.label(398)->y() + 24);
  }
  {
    // Taller than the labels made: what shows below them comes right after.
    CardStripView strip;
    strip.setEntries(entries);
    const int shown = static_cast<int>(made(strip));
    strip.resize(177, 24 * shown + 100);
    strip.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return made(strip) == 400; })) << made(strip);
  }
  {
    CardStripView strip;  // never drawn: selecting a card far down makes them
    strip.setEntries(entries);
    strip.select(350);
    EXPECT_EQ(made(strip), 400);
    EXPECT_EQ(strip.label(350)->text(), "card 350");
    EXPECT_TRUE(strip.label(350)->font().bold());
    EXPECT_FALSE(strip.label(349)->font().bold());
  }
}

TEST(CardStrip, SelectingScrollsOnlyToKeepTheMarkerInView) {
  CardStripView strip;
  std::vector<notebook::StripEntry> entries(60);
  for (int p = 0; p < 60; ++p)
    entries[p] = {p == 0 ? notebook::kMainCard : p - 1, "card " + std::to_string(p), {}};
  strip.setEntries(entries);
  strip.resize(177, 300);
  strip.show();
  auto* bar = strip.verticalScrollBar();
  const int height = strip.viewport()->height();
  const auto markerTop = [&] { return strip.label(strip.selected())->y() - bar->value(); };

  strip.select(3);  // in view: nothing moves
  EXPECT_EQ(bar->value(), 0);
  for (int p = 4; p <= 30; ++p) {  // stepping down keeps the marker 45 pixels above the bottom
    strip.select(p);
    EXPECT_LE(markerTop(), height - 45) << p;
  }
  EXPECT_EQ(markerTop(), height - 45);
  const int scrolled = bar->value();
  strip.select(25);  // still in view
  EXPECT_EQ(bar->value(), scrolled);
  strip.select(2);  // above the top: the strip goes back to the label's place
  EXPECT_EQ(bar->value(), 48);
  EXPECT_EQ(markerTop(), 10);
}

}  // namespace
}  // namespace qw::gui
