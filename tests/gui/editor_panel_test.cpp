#include "gui/editor_panel.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>

#include "gui/card_editor.h"
#include "gui/colour_list.h"
#include "gui/font_list.h"
#include "gui/font_size_box.h"
#include "gui/format_bar.h"
#include "gui/letter_button.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

// "Hello world" with "world" in italic, then a 72-point word in a font no machine has.
constexpr std::string_view kCard =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 DejaVu Sans;}{\\f1 NoSuchFontQw;}}"
    "\\f0\\fs24 Hello {\\i world}\\par \\f1\\fs144 Big}";

// Lines "line 0" to "line <count - 1>", each ended by CR LF.
std::string numberedLines(int count) {
  std::string card;
  for (int line = 0; line < count; ++line) card += "line " + std::to_string(line) + "\r\n";
  return card;
}

class EditorPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel.resize(900, 500);
    fixtures::showActive(&panel);  // focus moves only inside the active window
    panel.load(kCard);
    panel.setModified(false);
  }

  template <typename T>
  T* child(const char* name) {
    return fixtures::namedChild<T>(&panel, name);
  }

  CardEditor* editor() { return child<CardEditor>("MMain"); }
  FontSizeBox* sizeBox() { return child<FontSizeBox>("SEFontSize"); }
  QString lineText() { return child<QLabel>("LLineNumber")->text(); }

  // Selects document positions [from, to) as the program does.
  void select(int from, int to) {
    QTextCursor cursor(editor()->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor()->setTextCursor(cursor);
  }

  // The format of the character after a document position.
  QTextCharFormat formatAt(int position) {
    QTextCursor cursor(editor()->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
  }

  // Drags the mouse across [from, to) of the text, as a user selects.
  void dragSelect(int from, int to) {
    const auto pointAt = [this](int position) {
      QTextCursor cursor(editor()->document());
      cursor.setPosition(position);
      return editor()->cursorRect(cursor).center();
    };
    QWidget* viewport = editor()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, pointAt(from));
    QTest::mouseMove(viewport, pointAt(to));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, pointAt(to));
  }

  EditorPanel panel;
};

// Positions in kCard: "Hello " 0-5, "world" 6-10, the break 11, "Big" 12-14.
constexpr int kWorld = 6;
constexpr int kBig = 12;

// The names of the panel's controls are checked with the whole window's layout.
TEST_F(EditorPanelTest, ScrollBarsAlwaysShowAndAnUnfocusedSelectionKeepsItsColour) {
  EXPECT_EQ(editor()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  const QPalette p = editor()->palette();
  EXPECT_EQ(p.color(QPalette::Inactive, QPalette::Highlight),
            p.color(QPalette::Active, QPalette::Highlight));
}

TEST_F(EditorPanelTest, StyleButtonsToggleOneBitAndKeepTheOthers) {
  select(kWorld, kWorld + 5);  // italic "world"
  QTest::mouseClick(child<QToolButton>("BBold"), Qt::LeftButton);
  EXPECT_EQ(formatAt(kWorld).fontWeight(), QFont::Bold);
  EXPECT_TRUE(formatAt(kWorld + 4).fontItalic());
  EXPECT_NE(formatAt(0).fontWeight(), QFont::Bold);  // outside the selection
  EXPECT_TRUE(panel.isModified());

  QTest::mouseClick(child<QToolButton>("BBold"), Qt::LeftButton);
  EXPECT_NE(formatAt(kWorld).fontWeight(), QFont::Bold);
  EXPECT_TRUE(formatAt(kWorld).fontItalic());

  QTest::mouseClick(child<QToolButton>("BItalic"), Qt::LeftButton);
  EXPECT_FALSE(formatAt(kWorld).fontItalic());
  QTest::mouseClick(child<QToolButton>("BUnderline"), Qt::LeftButton);
  EXPECT_TRUE(formatAt(kWorld).fontUnderline());
  QTest::mouseClick(child<QToolButton>("BUnderline"), Qt::LeftButton);
  EXPECT_FALSE(formatAt(kWorld).fontUnderline());
}

TEST_F(EditorPanelTest, EveryTextOfTheSizeFieldIsAppliedAndLeavingBoundsIt) {
  select(0, 5);
  sizeBox()->setFocus();
  QTest::keyClick(sizeBox(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(sizeBox(), Qt::Key_Backspace);
  EXPECT_EQ(formatAt(0).fontPointSize(), 8);  // an empty field counts as 8

  QTest::keyClicks(sizeBox(), "1");
  EXPECT_EQ(formatAt(0).fontPointSize(), 1);
  QTest::keyClicks(sizeBox(), "2");
  EXPECT_EQ(formatAt(4).fontPointSize(), 12);
  EXPECT_EQ(formatAt(kWorld).fontPointSize(), 12) << "only the selection changes";

  QTest::keyClicks(sizeBox(), "x");  // not a size: refused
  EXPECT_EQ(sizeBox()->text(), "12");

  QTest::keyClick(sizeBox(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(sizeBox(), "50");
  EXPECT_EQ(formatAt(0).fontPointSize(), 50);
  EXPECT_EQ(sizeBox()->text(), "50");

  editor()->setFocus();  // leaving the field
  EXPECT_EQ(sizeBox()->text(), "40");
  EXPECT_EQ(formatAt(0).fontPointSize(), 40);
}

TEST_F(EditorPanelTest, TheSizeArrowsStayWithin8And40) {
  select(0, 5);
  sizeBox()->setValue(39);
  QTest::keyClick(sizeBox(), Qt::Key_Up);
  QTest::keyClick(sizeBox(), Qt::Key_Up);
  EXPECT_EQ(sizeBox()->text(), "40");
  EXPECT_EQ(formatAt(0).fontPointSize(), 40);
  sizeBox()->setValue(8);
  QTest::keyClick(sizeBox(), Qt::Key_Down);
  EXPECT_EQ(sizeBox()->text(), "8");
  EXPECT_EQ(formatAt(0).fontPointSize(), 8);
}

TEST_F(EditorPanelTest, MouseReleaseShowsTheSelectionsSizeWithin8To40AndAppliesIt) {
  ASSERT_EQ(formatAt(kBig).fontPointSize(), 72);
  ASSERT_EQ(sizeBox()->value(), 8);
  dragSelect(kBig, kBig + 3);
  ASSERT_EQ(editor()->textCursor().selectedText(), "Big");
  EXPECT_EQ(sizeBox()->text(), "40");
  EXPECT_EQ(formatAt(kBig).fontPointSize(), 40);
  EXPECT_EQ(formatAt(kBig + 2).fontPointSize(), 40);
}

TEST_F(EditorPanelTest, MouseReleaseShowsTheFontIgnoringCaseOrNoneWhenNotInstalled) {
  const QStringList families = QFontDatabase::families();
  ASSERT_FALSE(families.isEmpty());
  auto* fonts = child<FontList>("CBFont");
  ASSERT_EQ(fonts->count(), families.size()) << "filled at the first show";

  const QString family = families.last();
  panel.load("{\\rtf1{\\fonttbl{\\f0 " + family.toLower().toStdString() +
             ";}{\\f1 NoSuchFontQw;}}\\f0 installed\\par\\f1 missing}");
  dragSelect(0, 4);
  EXPECT_EQ(fonts->currentText(), family);

  dragSelect(10, 14);  // in "missing"
  EXPECT_EQ(fonts->currentIndex(), -1);
  EXPECT_EQ(fonts->currentText(), "");
  EXPECT_EQ(formatAt(10).fontFamilies().toStringList(), QStringList{"NoSuchFontQw"});
}

TEST_F(EditorPanelTest, OnlyAChoiceFromTheFontListAppliesAFont) {
  auto* fonts = child<FontList>("CBFont");
  ASSERT_GE(fonts->count(), 2);
  select(0, 5);
  const QString before = editor()->selectionFamily();

  // A family typed in full and confirmed: nothing applies.
  fonts->setFocus();
  fonts->lineEdit()->selectAll();
  QTest::keyClicks(fonts->lineEdit(), fonts->itemText(1));
  QTest::keyClick(fonts->lineEdit(), Qt::Key_Return);
  editor()->setFocus();
  EXPECT_EQ(editor()->selectionFamily(), before);

  // Stepping through the list is a choice.
  fonts->setCurrentIndex(0);
  QTest::keyClick(fonts, Qt::Key_Down);
  EXPECT_EQ(editor()->selectionFamily(), fonts->itemText(1));
  EXPECT_EQ(formatAt(kWorld).fontFamilies().toStringList().value(0), "DejaVu Sans");
}

TEST_F(EditorPanelTest, TextColourGoesToTheSelectionBackgroundToTheWholeEditor) {
  select(0, 5);
  auto* textColours = child<ColourList>("CBColor");
  ASSERT_EQ(textColours->currentIndex(), 1);
  QTest::keyClick(textColours, Qt::Key_Down);  // Maroon
  EXPECT_EQ(formatAt(0).foreground().color(), QColor(0x80, 0, 0));
  EXPECT_FALSE(formatAt(kWorld).hasProperty(QTextFormat::ForegroundBrush));

  panel.setModified(false);
  const std::string text = panel.rtf();
  auto* background = child<ColourList>("ColorBox1");
  ASSERT_EQ(background->currentIndex(), 16);
  QTest::keyClick(background, Qt::Key_Up);  // Aqua
  EXPECT_EQ(editor()->palette().color(QPalette::Base), QColor(0, 0xFF, 0xFF));
  EXPECT_EQ(editor()->viewport()->palette().color(QPalette::Base), QColor(0, 0xFF, 0xFF));
  EXPECT_EQ(panel.look().backgroundItem, 15);
  EXPECT_EQ(panel.rtf(), text) << "the background is not part of the text";
  EXPECT_FALSE(panel.isModified());

  panel.setBackgroundItem(5);
  EXPECT_EQ(background->currentIndex(), 5);
  EXPECT_EQ(editor()->background(), QColor(0, 0, 0x80));
  panel.setBackgroundItem(99);
  EXPECT_EQ(background->currentIndex(), -1);
  EXPECT_EQ(editor()->background(), QColor(Qt::white));
}

TEST_F(EditorPanelTest, TheCustomColourIsAskedOnlyWhenChosenFromTheOpenList) {
  auto* background = child<ColourList>("ColorBox1");
  std::optional<QColor> answer = QColor(0x12, 0x34, 0x56);
  int asked = 0;
  background->setPicker([&](const QColor&, QWidget*) {
    ++asked;
    return answer;
  });
  const auto chooseFromList = [&](int item) {
    background->showPopup();
    background->view()->setCurrentIndex(background->model()->index(item, 0));
    QTest::keyClick(background->view(), Qt::Key_Return);
  };

  chooseFromList(0);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(editor()->background(), QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(panel.look().backgroundItem, 0);

  panel.setBackgroundItem(3);
  answer.reset();  // the user cancels the dialog
  chooseFromList(0);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(background->currentIndex(), 3);
  EXPECT_EQ(editor()->background(), QColor(0, 0x80, 0));

  // A card that keeps item 0 gets the colour last picked, without a dialog.
  panel.setBackgroundItem(0);
  EXPECT_EQ(editor()->background(), QColor(0x12, 0x34, 0x56));
  QTest::keyClick(background, Qt::Key_Down);
  QTest::keyClick(background, Qt::Key_Up);  // stepping back onto item 0
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(editor()->background(), QColor(0x12, 0x34, 0x56));
}

TEST_F(EditorPanelTest, WordWrapButtonFaceFollowsItsClicksButNotACardLoad) {
  auto* button = child<LetterButton>("BWordWrap");
  ASSERT_TRUE(panel.wordWrap());
  EXPECT_TRUE(button->font().bold() && button->slanted());

  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(panel.wordWrap());
  EXPECT_EQ(editor()->lineWrapMode(), QTextEdit::NoWrap);
  EXPECT_FALSE(button->font().bold());
  EXPECT_TRUE(button->slanted());

  panel.setWordWrap(true);  // as a card load does
  EXPECT_EQ(editor()->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_FALSE(button->font().bold()) << "a load keeps the face";

  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(panel.wordWrap());
  EXPECT_FALSE(button->font().bold());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(panel.wordWrap());
  EXPECT_TRUE(button->font().bold() && button->slanted());
}

TEST_F(EditorPanelTest, CaretLineDisplayInBothLanguages) {
  panel.setStrings(i18n::StringTable::forLanguage("Anglais"));
  panel.load("one line");
  panel.setSelection({0, 0});
  EXPECT_EQ(lineText(), "1 / 1 Line ");
  EXPECT_EQ(child<QLabel>("LLineNumber")->property("tag").toInt(), 1);
  panel.load("");
  panel.setSelection({0, 0});
  EXPECT_EQ(lineText(), "1 / 1 Line ");
  panel.load("two\r\n");  // the empty line after a final break counts
  panel.setSelection({5, 0});
  EXPECT_EQ(lineText(), "2 / 2 Lines ");

  panel.setStrings(i18n::StringTable::forLanguage("Français"));
  panel.load("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
  panel.setSelection({6, 0});  // line 3, stored positions count CR LF
  EXPECT_EQ(lineText(), "3 / 10 Lignes ");
  EXPECT_EQ(child<QLabel>("LLineNumber")->property("tag").toInt(), 10);

  QTest::keyClick(editor(), Qt::Key_Down);  // a key release refreshes it
  EXPECT_EQ(lineText(), "4 / 10 Lignes ");
}

TEST_F(EditorPanelTest, TextChangesRefreshTheCaretLineOnlyWithACardName) {
  panel.setStrings(i18n::StringTable::forLanguage("Anglais"));
  panel.load("a");
  panel.setSelection({1, 0});
  editor()->insertPlainText("\nb");
  EXPECT_EQ(lineText(), "1 / 1 Line ");

  panel.setCardName("Notes");
  EXPECT_EQ(child<QLabel>("Label1")->text(), "Notes");
  editor()->insertPlainText("\nc");
  EXPECT_EQ(lineText(), "3 / 3 Lines ");
  editor()->insertPlainText(QString(QChar::LineSeparator) + "d");  // Shift+Enter is a line too
  EXPECT_EQ(lineText(), "4 / 4 Lines ");
}

TEST_F(EditorPanelTest, PortLoadsAndGivesBackTheText) {
  EXPECT_EQ(panel.plainText(), "Hello world\r\nBig");
  EXPECT_FALSE(editor()->document()->isUndoAvailable()) << "a load cannot be undone";

  const std::string bytes = panel.rtf();
  panel.load("other");
  panel.load(bytes);
  EXPECT_EQ(panel.rtf(), bytes);
  EXPECT_EQ(panel.plainText(), "Hello world\r\nBig");

  panel.load("plain \xE9t\xE9");  // a plain-text file is Windows-1252
  EXPECT_EQ(panel.plainText(), "plain été");
}

TEST_F(EditorPanelTest, ALoadKeepsTheEditorsOptionsAndItsSignals) {
  const qreal tabStop = editor()->tabStopDistance();
  panel.setWordWrap(true);
  panel.load("one\r\ntwo");
  panel.setModified(false);  // as after every load of a card
  QSignalSpy changed(&panel, &EditorPanel::modifiedChanged);
  EXPECT_EQ(editor()->tabStopDistance(), tabStop);
  EXPECT_TRUE(panel.wordWrap());
  EXPECT_EQ(editor()->textCursor().position(), 0);

  QTest::keyClicks(editor(), "ab");
  EXPECT_EQ(panel.plainText(), "abone\r\ntwo") << "the caret moves on as text is typed";
  EXPECT_TRUE(panel.isModified());
  EXPECT_EQ(changed.count(), 1);

  const QPointer<QTextDocument> left = editor()->document();
  panel.load("three");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(left.isNull()) << "a card left behind is freed";
}

TEST_F(EditorPanelTest, ABigCardIsLaidOutOnlyAsFarAsTheCaret) {
  const std::string card = numberedLines(20'000);
  panel.load(card);
  panel.setSelection({120, 0});
  panel.completeLoad();
  // The layout reaches past the caret, not to the end: the rest follows in the background.
  const QTextBlock last = editor()->document()->lastBlock();
  EXPECT_FALSE(last.layout()->lineCount() > 0) << "the last line was laid out during the load";
  EXPECT_EQ(panel.selection(), (ports::Selection{120, 0}));
}

TEST_F(EditorPanelTest, ABigCardShowsItsFirstPartThenComesInWholeAfterThePaint) {
  const std::string card = numberedLines(5'000);
  panel.load(card);
  panel.setModified(false);  // as a card load does
  ASSERT_TRUE(panel.loadPending());
  EXPECT_LT(editor()->document()->blockCount(), 5'000);

  // Nothing but the repaint and the event loop.
  editor()->viewport()->repaint();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !panel.loadPending(); }));
  EXPECT_EQ(editor()->document()->blockCount(), 5'001);  // the last line break opens one more
  EXPECT_FALSE(panel.isModified()) << "the rest of a card is no edit";
  EXPECT_EQ(editor()->textCursor().position(), 0);
  EXPECT_EQ(panel.plainText(), card);
}

TEST_F(EditorPanelTest, EveryReaderAndEveryKeyGetsTheWholeCardOfAPendingLoad) {
  const std::string card = numberedLines(5'000);
  // Readers and editors of the text, each on a fresh load.
  panel.load(card);
  EXPECT_EQ(panel.plainText(), card);
  panel.load(card);
  EXPECT_EQ(panel.lines().size(), 5'001u);
  panel.load(card);
  EXPECT_NE(panel.rtf().find("line 4999"), std::string::npos);
  panel.load(card);
  panel.appendLines({"appended"});
  const auto lines = panel.lines();
  ASSERT_EQ(lines.size(), 5'002u);
  EXPECT_EQ(lines[4'999], "line 4999");
  EXPECT_EQ(lines[5'000], "appended") << "after the whole card, not after its first part";

  // A stored selection far into the card.
  panel.load(card);
  const int at = static_cast<int>(card.find("line 4321"));
  panel.setSelection({at, 9});
  EXPECT_EQ(editor()->textCursor().selectedText(), "line 4321");

  // A key pressed before the rest came in: Ctrl+End goes to the end of the whole card.
  panel.load(card);
  ASSERT_TRUE(panel.loadPending());
  editor()->setFocus();
  QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(editor(), "typed");
  EXPECT_FALSE(panel.loadPending());
  EXPECT_EQ(panel.plainText(), card + "typed");

  // A card replaced before its rest came in leaves nothing of itself behind.
  panel.load(card);
  panel.load("small");
  EXPECT_FALSE(panel.loadPending());
  EXPECT_EQ(panel.plainText(), "small");
}

TEST_F(EditorPanelTest, ModifiedByTypingAndFormattingClearedByTheCaller) {
  QSignalSpy changed(&panel, &EditorPanel::modifiedChanged);
  EXPECT_FALSE(panel.isModified());
  QTest::keyClicks(editor(), "x");
  EXPECT_TRUE(panel.isModified());
  EXPECT_EQ(changed.count(), 1);
  panel.setModified(false);
  EXPECT_FALSE(panel.isModified());
}

TEST_F(EditorPanelTest, SelectionIsInStoredPositions) {
  panel.setSelection({4, 5});  // "o wor"
  EXPECT_EQ(editor()->textCursor().selectedText(), "o wor");

  panel.setSelection({10, 4});  // "d", CR LF, "B"
  EXPECT_EQ(editor()->textCursor().selectedText(), "d" + QString(QChar::ParagraphSeparator) + "B");
  EXPECT_EQ(panel.selection(), (ports::Selection{10, 4}));

  select(kBig + 1, kBig + 2);  // "i"
  EXPECT_EQ(panel.selection(), (ports::Selection{14, 1}));

  panel.setSelection({100, 3});  // past the end: clamped
  EXPECT_EQ(panel.selection(), (ports::Selection{16, 0}));
}

TEST_F(EditorPanelTest, TabIsTypedAndTabNavigationSkipsTheEditor) {
  EXPECT_EQ(editor()->focusPolicy(), Qt::ClickFocus);
  panel.setSelection({0, 0});
  editor()->setFocus();
  QTest::keyClick(editor(), Qt::Key_Tab);
  EXPECT_EQ(panel.plainText(), "\tHello world\r\nBig");
}

TEST_F(EditorPanelTest, AvailabilityHidesAndDisablesTheText) {
  panel.setAvailable(false);
  EXPECT_FALSE(editor()->isVisible());
  EXPECT_FALSE(editor()->isEnabled());
  panel.setAvailable(true);
  EXPECT_TRUE(editor()->isVisible());
  EXPECT_TRUE(editor()->isEnabled());
}

// A failed load: the bars stay where they were around the hidden text, which holds nothing of
// the card before, and no caret line shows.
TEST_F(EditorPanelTest, WithoutACardTheBarsKeepTheirPlacesAndNoCaretLineShows) {
  QWidget* bar = child<QWidget>("PMenuTop");
  QWidget* status = child<QWidget>("PBottomFile");
  const QRect barBefore = bar->geometry();
  const QRect statusBefore = status->geometry();
  ASSERT_EQ(statusBefore.bottom(), panel.height() - 1);
  panel.load("a\r\nb");
  panel.refreshCaretLine();
  ASSERT_EQ(lineText(), "1 / 2 Lignes ");

  panel.setAvailable(false);
  panel.layout()->activate();
  EXPECT_EQ(bar->geometry(), barBefore);
  EXPECT_EQ(status->geometry(), statusBefore);
  EXPECT_EQ(lineText(), "");
  EXPECT_EQ(panel.plainText(), "");
  panel.refreshCaretLine();  // as every command does when it is done
  EXPECT_EQ(lineText(), "");

  panel.load("a\r\nb\r\nc");
  panel.setAvailable(true);
  panel.refreshCaretLine();
  EXPECT_EQ(lineText(), "1 / 3 Lignes ");
}

TEST_F(EditorPanelTest, FormattingEnabledCoversTheStyleButtonsAndTheTextColour) {
  panel.setFormattingEnabled(false);
  for (const char* name : {"BBold", "BItalic", "BUnderline", "CBColor"})
    EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
  for (const char* name : {"BWordWrap", "SEFontSize", "CBFont", "ColorBox1"})
    EXPECT_TRUE(child<QWidget>(name)->isEnabled()) << name;
  panel.setFormattingEnabled(true);
  EXPECT_TRUE(child<QWidget>("BBold")->isEnabled());
}

TEST_F(EditorPanelTest, LookGathersTheFieldsAndTheFirstVisibleLine) {
  std::string lines;
  for (int i = 0; i < 300; ++i) lines += "line\r\n";
  panel.load(lines);
  sizeBox()->setValue(17);
  child<FontList>("CBFont")->setCurrentIndex(2);
  child<ColourList>("CBColor")->setCurrentIndex(10);
  panel.setBackgroundItem(12);
  editor()->verticalScrollBar()->setValue(editor()->verticalScrollBar()->maximum());

  const ports::EditorLook look = panel.look();
  EXPECT_EQ(look.fontSize, 17);
  EXPECT_EQ(look.fontItem, 2);
  EXPECT_EQ(look.colourItem, 10);
  EXPECT_EQ(look.backgroundItem, 12);
  EXPECT_GT(look.firstVisibleLine, 200);
  EXPECT_EQ(look.firstVisibleLine, editor()->cursorForPosition({0, 0}).blockNumber());
  EXPECT_EQ(look.baseFontSize, editor()->font().pointSize());
}

TEST_F(EditorPanelTest, SelectAllGivesTheTextTheFocusWithEverythingSelected) {
  sizeBox()->setFocus();
  panel.selectAllText();
  EXPECT_EQ(editor()->textCursor().selectedText(),
            "Hello world" + QString(QChar::ParagraphSeparator) + "Big");
  EXPECT_EQ(QApplication::focusWidget(), editor());
}

}  // namespace
}  // namespace qw::gui

namespace qw::gui {
namespace {

TEST_F(EditorPanelTest, ALookIsPutBackWithoutTouchingTheText) {
  const std::string before = panel.rtf();
  ports::EditorLook look;
  look.fontSize = 14;
  look.fontItem = -1;  // leaves the font as it is
  look.colourItem = 10;
  look.backgroundItem = 12;
  panel.setLook(look);
  EXPECT_EQ(sizeBox()->value(), 14);
  EXPECT_EQ(editor()->font().pointSize(), 14);
  EXPECT_EQ(editor()->textColor(), QColor(0xFF, 0, 0));
  const ports::EditorLook now = panel.look();
  EXPECT_EQ(now.colourItem, 10);
  EXPECT_EQ(now.backgroundItem, 12);
  EXPECT_EQ(panel.rtf(), before);
  EXPECT_FALSE(panel.isModified());
}

}  // namespace
}  // namespace qw::gui
