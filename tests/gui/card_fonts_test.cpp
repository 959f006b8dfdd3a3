// The faces of a card's text through the whole window: chosen, typed, saved, started again.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include "core/text/rtf_reader.h"
#include "gui/card_editor.h"
#include "gui/font_list.h"
#include "gui/main_window_fixture.h"

namespace qw::gui {
namespace {

using fixtures::FullWindow;
using fixtures::readFile;
namespace fs = std::filesystem;

// The family of every run of a card file's text.
std::vector<std::string> familiesOf(const fs::path& file) {
  std::vector<std::string> families;
  for (const text::Paragraph& p : text::readRtf(readFile(file)).paragraphs)
    for (const text::Run& run : p.runs) families.push_back(run.format.font);
  return families;
}

int positionOf(MainWindow& window, const std::string& name) {
  const auto& strip = window.notebook().strip();
  for (std::size_t p = 0; p < strip.size(); ++p)
    if (strip[p].name == name) return static_cast<int>(p);
  return -1;
}

class CardFonts : public FullWindow {
 protected:
  // Chooses `family` in the font list as a user does, stepping onto it.
  static void chooseFont(FontList* fonts, const QString& family) {
    const int item = fonts->findText(family);
    ASSERT_GT(item, 0) << family.toStdString() << " is not installed";
    fonts->setCurrentIndex(item - 1);
    QTest::keyClick(fonts, Qt::Key_Down);
    ASSERT_EQ(fonts->currentText(), family);
  }

  static void newCard(MainWindow& window, const QString& name) {
    QTimer::singleShot(0, &window, [&window, name] {
      auto* dialog = window.findChild<QDialog*>("TFManageAll");
      ASSERT_NE(dialog, nullptr);
      dialog->findChild<QLineEdit*>("EFiche")->setText(name);
      dialog->findChild<QPushButton*>("BAjouter")->click();
    });
    window.findChild<QAction*>("NouvelleFiche1")->trigger();
  }
};

TEST_F(CardFonts, ANewCardTypedInTheChosenFontComesBackInItAfterARestart) {
  MainWindow& window = shownWindow();
  chooseFont(find<FontList>(window, "CBFont"), "DejaVu Serif");
  newCard(window, "Serif");  // it opens in the font of the card shown before
  auto* editor = find<CardEditor>(window, "MMain");
  QTest::keyClicks(editor, "in serif");
  window.switchToPosition(1);

  // The new card is file 4 (the index counter said so).
  EXPECT_EQ(familiesOf(data / "4.kvn"), std::vector<std::string>{"DejaVu Serif"});

  MainWindow& again = shownWindow();
  const int serif = positionOf(again, "Serif");
  ASSERT_GT(serif, 0);
  again.switchToPosition(serif);
  auto* shown = find<CardEditor>(again, "MMain");
  ASSERT_EQ(shown->toPlainText(), "in serif");
  const QTextCharFormat typed = shown->document()->firstBlock().begin().fragment().charFormat();
  EXPECT_EQ(QFontInfo(typed.font()).family().toStdString(), "DejaVu Serif");
}

TEST_F(CardFonts, TextTypedInTheEditorsOwnFontIsSavedInThatFace) {
  MainWindow& window = shownWindow();
  window.switchToPosition(1);  // Alpha: plain text, no font of its own
  auto* editor = find<CardEditor>(window, "MMain");
  const std::string face = QFontInfo(editor->font()).family().toStdString();
  ASSERT_FALSE(face.empty());
  editor->moveCursor(QTextCursor::End);
  QTest::keyClicks(editor, " typed");
  window.switchToPosition(0);

  EXPECT_EQ(text::readRtfPlainText(readFile(data / "1.kvn")), "text 1 typed");
  EXPECT_EQ(familiesOf(data / "1.kvn"), std::vector<std::string>{face});
}

TEST_F(CardFonts, BulletsOfTheSymbolFontShowAsBullets) {
  // A list as WordPad saves it: each bullet a Symbol-font byte and a tab before the item.
  fixtures::write(
      data / "3.kvn",
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
      "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n\\viewkind4\\uc1\\pard{\\pntext\\f1\\'B7\\tab}"
      "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-720\\li720\\f0\\fs20 "
      "One\\par\r\n{\\pntext\\f1\\'B7\\tab}Two\\par\r\n}\r\n");
  MainWindow& window = shownWindow();  // Gamma, card 3, opens at start
  auto* editor = find<CardEditor>(window, "MMain");
  EXPECT_EQ(editor->toPlainText(), QString::fromUtf8("•\tOne\n•\tTwo"));
}

}  // namespace
}  // namespace qw::gui
