// The editor's line operations: what counts as a line, and which formats survive each edit.

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "gui/card_editor.h"
#include "gui/editor_panel.h"

namespace qw::gui {
namespace {

using Lines = std::vector<std::string>;

// Line 0 "  plain", line 1 "bold" in bold, line 2 "  red" with "red" red, line 3 "tail".
constexpr std::string_view kFormatted =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 DejaVu Sans;}}{\\colortbl;\\red255\\green0\\blue0;}"
    "\\f0\\fs24   plain\\par {\\b bold}\\par   {\\cf1 red}\\par tail}";

class EditorLines : public ::testing::Test {
 protected:
  void SetUp() override {
    panel.resize(600, 400);
    panel.show();
  }

  void loadCard(std::string_view bytes) {
    panel.load(bytes);
    panel.setModified(false);
  }
  // The card's text widget, as the user sees it.
  CardEditor* text() { return panel.findChild<CardEditor*>("MMain"); }
  QTextDocument& doc() { return *text()->document(); }
  void caretAt(int position) {
    QTextCursor cursor(&doc());
    cursor.setPosition(position);
    text()->setTextCursor(cursor);
  }
  // The format of the first character of `word` in the text.
  QTextCharFormat formatOf(const QString& word) {
    const int at = doc().toPlainText().indexOf(word);
    EXPECT_GE(at, 0) << word.toStdString();
    QTextCursor cursor(&doc());
    cursor.setPosition(at + 1);
    return cursor.charFormat();
  }
  static bool isBold(const QTextCharFormat& format) { return format.fontWeight() > QFont::Medium; }

  EditorPanel panel;
};

TEST_F(EditorLines, LinesEndAtParagraphsAndShiftEnterBreaks) {
  EXPECT_EQ(panel.lines(), Lines{""});  // an empty editor has one empty line

  text()->setFocus();
  QTest::keyClicks(text(), "ab");
  QTest::keyClick(text(), Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(text(), "cd");
  QTest::keyClick(text(), Qt::Key_Return);
  QTest::keyClicks(text(), "e");
  QTest::keyClick(text(), Qt::Key_Return, Qt::ShiftModifier);
  ASSERT_EQ(doc().blockCount(), 2);  // the Shift+Enter breaks stay inside their paragraphs
  EXPECT_EQ(panel.lines(), (Lines{"ab", "cd", "e", ""}));
  EXPECT_EQ(text()->lineCount(), 4);
}

TEST_F(EditorLines, LineNumbersFollowEveryChangeOfTheTextAndOfTheDocument) {
  CardEditor& editor = *text();
  editor.setPlainText(QStringLiteral("a\u2028b\nc"));
  EXPECT_EQ(editor.lineCount(), 3);
  EXPECT_EQ(editor.lineOf(0), 0);
  EXPECT_EQ(editor.lineOf(2), 1);   // "b", after the break inside the paragraph
  EXPECT_EQ(editor.lineOf(4), 2);   // "c"
  EXPECT_EQ(editor.lineOf(99), 2);  // past the end: the last line

  // Typed breaks of both kinds before the lines asked about.
  QTextCursor cursor(&doc());
  cursor.setPosition(0);
  cursor.insertText(QStringLiteral("\u2028"));
  cursor.insertBlock();
  EXPECT_EQ(editor.lineCount(), 5);
  EXPECT_EQ(editor.lineOf(6), 4);
  cursor.setPosition(0);
  cursor.setPosition(2, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  EXPECT_EQ(editor.lineCount(), 3);

  // A card loaded into a document of its own.
  loadCard(kFormatted);
  EXPECT_EQ(editor.lineCount(), static_cast<int>(panel.lines().size()));
  editor.setPlainText(QStringLiteral("one line"));
  EXPECT_EQ(editor.lineCount(), 1);
}

TEST_F(EditorLines, RemovedLinesTakeTheirBreaksAndTheRestKeepsItsFormat) {
  loadCard(kFormatted);
  panel.removeLines({0, 2});
  EXPECT_EQ(panel.lines(), (Lines{"bold", "tail"}));
  EXPECT_TRUE(isBold(formatOf("bold")));
  EXPECT_FALSE(isBold(formatOf("tail")));
  EXPECT_TRUE(panel.isModified());

  // Without its last line the text loses the break before it, not a line of its own.
  panel.removeLines({1});
  EXPECT_EQ(panel.lines(), Lines{"bold"});
  EXPECT_TRUE(isBold(formatOf("bold")));

  panel.removeLines({0});
  EXPECT_EQ(panel.lines(), Lines{""});
}

TEST_F(EditorLines, RemovingLinesInsideOneParagraphAndAtTheEnd) {
  // Shift+Enter breaks inside the first paragraph, and an empty last line.
  text()->setPlainText(QStringLiteral("a\u2028\u2028\u2028b\nx\n"));
  ASSERT_EQ(panel.lines(), (Lines{"a", "", "", "b", "x", ""}));
  panel.removeLines({1, 2, 4, 5});
  EXPECT_EQ(panel.lines(), (Lines{"a", "b"}));
  EXPECT_EQ(panel.plainText(), "a\r\nb");
  panel.removeLines({7});  // past the end: nothing
  EXPECT_EQ(panel.lines(), (Lines{"a", "b"}));
}

TEST_F(EditorLines, CutLineStartsKeepsTheFormatOfWhatStays) {
  loadCard(kFormatted);
  panel.cutLineStarts({{0, 2}, {2, 2}, {3, 99}});
  EXPECT_EQ(panel.lines(), (Lines{"plain", "bold", "red", ""}));
  EXPECT_EQ(formatOf("red").foreground().color(), QColor(Qt::red));
  EXPECT_TRUE(isBold(formatOf("bold")));
  EXPECT_TRUE(panel.isModified());

  // A line after a Shift+Enter break, and a character outside the 16-bit range counted once.
  text()->setPlainText(QStringLiteral("x\u2028   \U0001F600y"));
  panel.cutLineStarts({{1, 3}});
  EXPECT_EQ(panel.lines(), (Lines{"x", "\xF0\x9F\x98\x80y"}));
  panel.cutLineStarts({{1, 1}});
  EXPECT_EQ(panel.lines(), (Lines{"x", "y"}));
}

TEST_F(EditorLines, SetLinesRewritesInTheTypingFormatAsOneUndoStep) {
  loadCard(kFormatted);
  caretAt(static_cast<int>(doc().toPlainText().indexOf("tail")) + 2);  // in plain text
  panel.setLines({"red", "bold", "new"});
  EXPECT_EQ(panel.lines(), (Lines{"red", "bold", "new", ""}));
  for (const QString word : {"red", "bold", "new"}) {
    EXPECT_FALSE(isBold(formatOf(word))) << word.toStdString();
    EXPECT_FALSE(formatOf(word).hasProperty(QTextFormat::ForegroundBrush)) << word.toStdString();
  }
  EXPECT_TRUE(panel.isModified());

  doc().undo();
  EXPECT_EQ(panel.lines(), (Lines{"  plain", "bold", "  red", "tail"}));
  EXPECT_TRUE(isBold(formatOf("bold")));

  panel.setLines({});
  EXPECT_EQ(panel.lines(), Lines{""});
  EXPECT_TRUE(text()->updatesEnabled());
}

TEST_F(EditorLines, AppendLinesGoesAfterTheLastLineWhateverTheCaret) {
  loadCard(kFormatted);
  caretAt(0);
  panel.appendLines({"one", "two"});
  EXPECT_EQ(panel.lines(), (Lines{"  plain", "bold", "  red", "tail", "one", "two", ""}));
  EXPECT_EQ(text()->textCursor().position(), 0);
  EXPECT_TRUE(panel.isModified());
  EXPECT_TRUE(isBold(formatOf("bold")));

  // An empty last line takes the first appended line.
  panel.appendLines({"three"});
  EXPECT_EQ(panel.lines(), (Lines{"  plain", "bold", "  red", "tail", "one", "two", "three", ""}));

  // The typing format is the caret's, here inside bold text.
  caretAt(static_cast<int>(doc().toPlainText().indexOf("bold")) + 2);
  panel.appendLines({"added"});
  EXPECT_TRUE(isBold(formatOf("added")));

  loadCard("");
  panel.appendLines({"only"});
  EXPECT_EQ(panel.plainText(), "only\r\n");
}

TEST_F(EditorLines, AHundredThousandLinesInOneEdit) {
  Lines many;
  for (int i = 0; i < 100000; ++i) many.push_back(i % 2 ? "" : "   line " + std::to_string(i));
  panel.setLines(many);
  ASSERT_EQ(panel.lines().size(), many.size() + 1);

  std::vector<int> empty;
  std::vector<ports::LineCut> cuts;
  for (int i = 0; i < 100000; ++i) (i % 2 ? empty.push_back(i) : cuts.push_back({i, 3}));
  // One change each, so the text is laid out once.
  QSignalSpy changes(&doc(), &QTextDocument::contentsChange);
  panel.cutLineStarts(cuts);
  EXPECT_EQ(changes.count(), 1);
  panel.removeLines(empty);
  EXPECT_EQ(changes.count(), 2);
  const Lines result = panel.lines();
  ASSERT_EQ(result.size(), 50001u);
  EXPECT_EQ(result[0], "line 0");
  EXPECT_EQ(result[49999], "line 99998");

  doc().undo();  // the removal alone
  EXPECT_EQ(panel.lines().size(), 100001u);
  EXPECT_EQ(panel.lines()[2], "line 2");
}

}  // namespace
}  // namespace qw::gui
