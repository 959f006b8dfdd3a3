#include "gui/search_controller.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <vector>

#include "gui/card_editor.h"
#include "gui/editor_panel.h"
#include "gui/folding_panel.h"
#include "gui/strip_panel.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

using Selection = ports::Selection;

// The functions panel beside the editor in one window, F3 and Ctrl+F as window shortcuts the
// way the main window's menu has them.
class SearchControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* row = new QHBoxLayout(&window);
    row->addWidget(strip);
    row->addWidget(editor);
    auto* f3 = new QAction(&window);
    f3->setShortcut(QKeySequence(Qt::Key_F3));
    auto* ctrlF = new QAction(&window);
    ctrlF->setShortcut(QKeySequence("Ctrl+F"));
    window.addAction(f3);
    window.addAction(ctrlF);
    QObject::connect(f3, &QAction::triggered, &controller, &SearchController::nextSearch);
    QObject::connect(ctrlF, &QAction::triggered, &controller, &SearchController::focusSearch);

    const auto english = i18n::StringTable::forLanguage("Anglais");
    controller.setStrings(english);
    editor->setStrings(english);
    controller.setInformer([this](const QString& text) { messages.push_back(text); });
    window.resize(900, 600);
    fixtures::showActive(&window);  // focus moves only inside the active window
  }

  // The card's text widget, as the user sees it.
  CardEditor* cardText() const { return editor->findChild<CardEditor*>("MMain"); }

  void setText(const QString& text) {
    cardText()->setPlainText(text);
    controller.restartSearch();
  }

  // Down and up as a keyboard does: each goes to whichever widget has the focus by then.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyPress(QApplication::focusWidget(), key, modifiers);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyRelease(QApplication::focusWidget(), key, modifiers);
  }

  void typeSearch(const QString& text) {
    strip->search->setFocus();
    QTest::keyClicks(strip->search, text);
  }

  // Clicks the editor just before a document position.
  void clickEditorAt(int position) {
    QTextCursor cursor(cardText()->document());
    cursor.setPosition(position);
    const QRect caret = cardText()->cursorRect(cursor);
    QTest::mouseClick(cardText()->viewport(), Qt::LeftButton, {},
                      QPoint(caret.left() + 1, caret.center().y()));
  }

  void goToLine(const QString& entry) {
    strip->lineNumber->setText(entry);
    strip->lineNumber->setFocus();
    press(Qt::Key_Return);
  }

  QString lineDisplay() { return editor->findChild<QLabel*>("LLineNumber")->text(); }
  QWidget* focus() { return QApplication::focusWidget(); }

  QWidget window;
  StripPanel* strip = new StripPanel;
  EditorPanel* editor = new EditorPanel;
  SearchController controller{*strip, *editor};
  std::vector<QString> messages;
};

TEST_F(SearchControllerTest, EnterStepsThroughEveryCaseThenReportsAndStartsAgain) {
  setText("Hello hello HELLO");
  typeSearch("hello");
  for (const long long hit : {0, 6, 12}) {
    press(Qt::Key_Return);
    EXPECT_EQ(editor->selection(), (Selection{hit, 5}));
    EXPECT_EQ(controller.searchStart(), hit + 1);
    EXPECT_EQ(focus(), strip->search);
  }
  EXPECT_TRUE(messages.empty());

  press(Qt::Key_Return);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "'hello' : No more result");
  EXPECT_EQ(controller.searchStart(), 0);
  EXPECT_EQ(editor->selection(), (Selection{12, 5}));

  // The release of the Enter that closed the message reaches the field without its press.
  QTest::keyRelease(strip->search, Qt::Key_Return);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_EQ(editor->selection(), (Selection{12, 5}));

  press(Qt::Key_Return);
  EXPECT_EQ(editor->selection(), (Selection{0, 5}));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(SearchControllerTest, HitsIgnoreOnlyTheCaseOfAsciiLetters) {
  const struct {
    QString text;
    QString needle;
    std::vector<Selection> hits;
  } cases[] = {
      {"hello world", "HELLO", {{0, 5}}},
      {"aaaa", "aa", {{0, 2}, {1, 2}, {2, 2}}},
      {QString::fromUtf8("\u00C9 \u00E9"), QString::fromUtf8("\u00E9"), {{2, 1}}},
      {QString::fromUtf8("\u00E9t\u00E9"), "e", {}},
      // Each break counts two, the emoji one: "abc" starts at 12.
      {QString::fromUtf8("\u00E9t\u00E9\nx \u00C9T\u00C9\U0001F60A Abc"), "aBc", {{12, 3}}},
  };
  for (const auto& c : cases) {
    setText(c.text);
    strip->search->setText(c.needle);
    strip->search->setFocus();
    messages.clear();
    std::vector<Selection> hits;
    for (int i = 0; i < 5 && messages.empty(); ++i) {
      press(Qt::Key_Return);
      if (messages.empty()) hits.push_back(editor->selection());
    }
    EXPECT_EQ(hits, c.hits) << c.text.toStdString();
    ASSERT_EQ(messages.size(), 1u) << c.text.toStdString();
    const char* outcome = c.hits.empty() ? " : Not found" : " : No more result";
    EXPECT_EQ(messages[0], "'" + c.needle + "'" + outcome);
  }
}

TEST_F(SearchControllerTest, AnyOtherKeyInTheFieldStartsOverFromTheTop) {
  setText("Hello hello HELLO");
  typeSearch("hello");
  press(Qt::Key_Return);
  press(Qt::Key_Return);
  ASSERT_EQ(controller.searchStart(), 7);
  press(Qt::Key_Right);  // moves nothing, changes no text
  EXPECT_EQ(controller.searchStart(), 0);

  press(Qt::Key_Return);
  press(Qt::Key_Return);
  strip->search->setText("hell");  // a change of text from anywhere
  EXPECT_EQ(controller.searchStart(), 0);

  typeSearch("o");
  press(Qt::Key_Return);
  EXPECT_EQ(editor->selection(), (Selection{0, 5}));

  // A release whose press happened elsewhere leaves the start alone.
  QTest::keyRelease(strip->search, Qt::Key_A);
  EXPECT_EQ(controller.searchStart(), 1);
}

TEST_F(SearchControllerTest, F3SearchesFromTheClickAndStepsThroughHits) {
  setText("Hello hello HELLO");
  strip->search->setText("hello");
  clickEditorAt(1);
  EXPECT_EQ(controller.searchStart(), 1);

  press(Qt::Key_F3);
  EXPECT_EQ(editor->selection(), (Selection{6, 5}));
  EXPECT_EQ(focus(), cardText());
  EXPECT_EQ(controller.searchStart(), 7) << "the release of F3 in the editor moves nothing";
  press(Qt::Key_F3);
  EXPECT_EQ(editor->selection(), (Selection{12, 5}));
  press(Qt::Key_F3);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "'hello' : No more result");
  press(Qt::Key_F3);
  EXPECT_EQ(editor->selection(), (Selection{0, 5}));

  // Any other key released in the editor starts the next search at the caret.
  press(Qt::Key_End);
  EXPECT_EQ(controller.searchStart(), 17);
  press(Qt::Key_F3);
  EXPECT_EQ(messages.size(), 2u);
}

// The message after the last hit is a real box, closed by Enter as a user does: its press
// closes the box, its release reaches the editor, which has the focus back by then.
TEST_F(SearchControllerTest, AfterTheNoMoreResultBoxClosedWithEnterF3StartsAtTheTop) {
  controller.setInformer([this](const QString& text) {
    messages.push_back(text);
    QMessageBox::information(&window, "KTRQuillWick", text);
  });
  setText("one two one");
  strip->search->setText("one");
  clickEditorAt(0);
  press(Qt::Key_F3);
  press(Qt::Key_F3);
  ASSERT_EQ(editor->selection(), (Selection{8, 3}));

  bool closed = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    QTest::keyRelease(box, Qt::Key_F3);
    // Its button takes the focus once the box is active.
    ASSERT_TRUE(QTest::qWaitFor([box] { return box->isAncestorOf(QApplication::focusWidget()); }));
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Return);
    closed = !box->isVisible();
  });
  // Whatever goes wrong above, the box must not wait for a user forever.
  QTimer::singleShot(5000, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  QTest::keyPress(focus(), Qt::Key_F3);
  ASSERT_TRUE(closed);
  ASSERT_EQ(messages, std::vector<QString>{"'one' : No more result"});
  fixtures::showActive(&window);  // as the window manager gives it back its activation
  ASSERT_EQ(focus(), cardText());
  QTest::keyRelease(focus(), Qt::Key_Return);
  EXPECT_EQ(controller.searchStart(), 0);

  press(Qt::Key_F3);
  EXPECT_EQ(editor->selection(), (Selection{0, 3}));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(SearchControllerTest, ACardLoadStartsTheSearchAtTheTopAndOtherEditsDoNot) {
  editor->load("alpha beta alpha");
  strip->search->setText("alpha");
  press(Qt::Key_F3);
  ASSERT_EQ(controller.searchStart(), 1);
  editor->appendLines({"alpha"});  // what pasting the clipboard into the card does
  EXPECT_EQ(controller.searchStart(), 1);
  editor->load("alpha beta alpha");
  EXPECT_EQ(controller.searchStart(), 0);

  press(Qt::Key_F3);
  press(Qt::Key_F3);
  ASSERT_EQ(controller.searchStart(), 12);
  editor->setAvailable(false);  // a failed load: no text left to search
  EXPECT_EQ(controller.searchStart(), 0);
  goToLine("1");
  EXPECT_EQ(lineDisplay(), "") << "no card, no line to go to";
}

TEST_F(SearchControllerTest, F3AndCtrlFWithoutTextOpenThePanelOnTheSearchField) {
  setText("Hello hello HELLO");
  ASSERT_FALSE(strip->functions->isOpen());
  clickEditorAt(5);
  press(Qt::Key_F3);
  EXPECT_TRUE(strip->functions->isOpen());
  EXPECT_EQ(focus(), strip->search);
  EXPECT_EQ(controller.searchStart(), 5) << "the release of F3 is not the field's own key";
  EXPECT_TRUE(messages.empty());

  strip->functions->setOpen(false);
  strip->search->setText("world");
  cardText()->setFocus();
  press(Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(strip->functions->isOpen());
  EXPECT_EQ(focus(), strip->search);
  EXPECT_TRUE(messages.empty()) << "Ctrl+F only focuses, it does not search";
}

TEST_F(SearchControllerTest, EnterInTheLineFieldSelectsTheLineWithItsBreak) {
  setText("one\ntwo\nthree\nfour\nfive");
  goToLine("3");
  EXPECT_EQ(editor->selection(), (Selection{10, 7}));
  EXPECT_EQ(lineDisplay(), "3 / 5 Lines ");
  EXPECT_EQ(focus(), strip->lineNumber);

  for (const char* ignored : {"0", "-2", "abc", "3 ", "", "0x"}) {
    goToLine(ignored);
    EXPECT_EQ(editor->selection(), (Selection{10, 7})) << ignored;
    EXPECT_EQ(lineDisplay(), "3 / 5 Lines ") << ignored;
  }

  goToLine(" 5");  // the last line has no break to take
  EXPECT_EQ(editor->selection(), (Selection{23, 4}));
  goToLine("9");
  EXPECT_EQ(editor->selection(), (Selection{23, 0}));
  EXPECT_EQ(lineDisplay(), "9 / 5 Lines ");
}

TEST_F(SearchControllerTest, LineNumbersInHexAndLinesOfWideCharacters) {
  QString twelve;
  for (int i = 1; i <= 12; ++i) twelve += "line" + QString::number(i) + "\n";
  setText(twelve);  // a last, empty, line 13 follows the final break
  goToLine("$A");
  EXPECT_EQ(editor->selection(), (Selection{9 * 7, 8}));
  EXPECT_EQ(lineDisplay(), "10 / 13 Lines ");

  setText(QString::fromUtf8("\u00E9\U0001F60A\nxyz\nend"));
  goToLine("2");
  EXPECT_EQ(editor->selection(), (Selection{4, 5}));

  setText("only");
  goToLine("1");
  EXPECT_EQ(editor->selection(), (Selection{0, 4}));
  EXPECT_EQ(lineDisplay(), "1 / 1 Line ");
}

}  // namespace
}  // namespace qw::gui
