// Find in all cards in the window: the dialog fills as one types, a hit opens its card with the
// hit selected, and the command line's --find reads the same cards.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include "gui/find_in_cards_dialog.h"
#include "gui/main_window_fixture.h"

namespace qw::gui {
namespace {

using fixtures::FullWindow;

class FindInCardsTest : public FullWindow {
 protected:
  // Ctrl+Shift+F's item, as the menu and the tray run it.
  FindInCardsDialog& openSearch(MainWindow& window) {
    window.findChild<QAction*>("FindInCards1")->trigger();
    auto* dialog = window.findChild<FindInCardsDialog*>("FindInCardsDialog");
    EXPECT_NE(dialog, nullptr);
    return *dialog;
  }
  // The rows once the search has ended, as "card|line|text".
  static QStringList rowsWhenDone(FindInCardsDialog& dialog) {
    auto* status = dialog.findChild<QLabel*>("LFindStatus");
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && (status->text().isEmpty() || status->text().endsWith("...")))
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QStringList rows;
    auto* list = dialog.findChild<QTreeWidget*>("LVFoundLines");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = list->topLevelItem(i);
      rows << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
    }
    return rows;
  }
};

TEST_F(FindInCardsTest, TypingFillsTheListWithEveryCardWhateverTheFilter) {
  MainWindow& window = shownWindow();
  FindInCardsDialog& dialog = openSearch(window);
  ASSERT_TRUE(dialog.isVisible());
  auto* field = dialog.findChild<QLineEdit*>("EFindAll");
  EXPECT_EQ(dialog.focusWidget(), field);
  // Gamma is open: what is typed in it counts before it is saved.
  window.findChild<QTextEdit*>("MMain")->append("Texture");
  QTest::keyClicks(field, "tex");
  EXPECT_EQ(rowsWhenDone(dialog),
            (QStringList{"Alpha|1|text 1", "Work|1|text 2", "Gamma|1|text 3", "Gamma|2|Texture"}));
  EXPECT_EQ(dialog.findChild<QLabel*>("LFindStatus")->text(), "4 hit(s) in 3 card(s)");

  // Work's category is not shown by the filter.
  dialog.findChild<QCheckBox*>("CBShownCategoriesOnly")->setChecked(true);
  EXPECT_EQ(rowsWhenDone(dialog).size(), 3);
  QTest::keyClicks(field, "t 9");
  EXPECT_TRUE(rowsWhenDone(dialog).isEmpty());
  EXPECT_EQ(dialog.findChild<QLabel*>("LFindStatus")->text(), "Not found");
}

TEST_F(FindInCardsTest, EnterOpensTheHitsCardWithTheHitSelectedAndF3GoesOnThere) {
  fixtures::write(data / "2.kvn", "text 2 and once more: text 2");
  MainWindow& window = shownWindow();
  FindInCardsDialog& dialog = openSearch(window);
  auto* field = dialog.findChild<QLineEdit*>("EFindAll");
  QTest::keyClicks(field, "TEXT 2");
  ASSERT_EQ(rowsWhenDone(dialog).size(), 2);
  // Down to the list, down to the second hit, Enter.
  QTest::keyClick(field, Qt::Key_Down);
  auto* list = dialog.findChild<QTreeWidget*>("LVFoundLines");
  QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(window.notebook().current().name, "Work");
  // Its category joined the filter, so the card has its label in the strip.
  EXPECT_EQ(window.notebook().store().settings.categoryFilter(), "-0-3-");
  auto* editor = window.findChild<QTextEdit*>("MMain");
  EXPECT_EQ(editor->textCursor().selectedText(), "text 2");
  EXPECT_EQ(editor->textCursor().selectionStart(), 22);
  EXPECT_EQ(window.findChild<QLineEdit*>("ESearch")->text(), "TEXT 2");

  // F3 goes on after the hit by the card search's rules: nothing more, then from the top.
  bool told = false;
  QTimer::singleShot(0, [&told] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      told = box->text().endsWith("No more result");
      box->accept();
    }
  });
  window.findChild<QAction*>("NextSearch1")->trigger();
  EXPECT_TRUE(told);
  window.findChild<QAction*>("NextSearch1")->trigger();
  EXPECT_EQ(editor->textCursor().selectionStart(), 0);
  EXPECT_EQ(editor->textCursor().selectedText(), "text 2");
}

TEST_F(FindInCardsTest, TheCommandLinesFindPrintsEveryHitAndSaysWhenThereIsNone) {
  MainWindow& window = shownWindow();
  const auto found = window.answerRemote({remote::Request{remote::Command::Find, {"Text"}, {}}});
  EXPECT_EQ(found.code, remote::ExitCode::Done);
  EXPECT_EQ(found.out, "0\t1\tAlpha\ttext 1\n1\t1\tWork\ttext 2\n2\t1\tGamma\ttext 3\n");
  EXPECT_EQ(found.error, "");
  const auto none = window.answerRemote({remote::Request{remote::Command::Find, {"nowhere"}, {}}});
  EXPECT_EQ(none.code, remote::ExitCode::NothingFound);
  EXPECT_EQ(none.error, "No card holds: nowhere");
}

}  // namespace
}  // namespace qw::gui
