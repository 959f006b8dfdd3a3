// Colours the program sets itself next to the desktop's: with a dark desktop palette the card's
// own paper and the About link must stay readable.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPalette>

#include "gui/about_dialog.h"
#include "gui/card_editor.h"

namespace qw::gui {
namespace {

// A dark desktop for the length of a test.
class DarkDesktop : public ::testing::Test {
 protected:
  DarkDesktop() : light_(QApplication::palette()) {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
    QApplication::setPalette(dark);
  }
  ~DarkDesktop() override { QApplication::setPalette(light_); }

 private:
  QPalette light_;
};

TEST_F(DarkDesktop, UncolouredTextReadsOnEveryPaperOfTheCard) {
  CardEditor editor;
  for (const QColor paper : {QColor(Qt::white), QColor(Qt::yellow), QColor(0, 0, 0x80),
                             QColor(Qt::black), QColor(0xC0, 0xC0, 0xC0)}) {
    editor.setBackground(paper);
    const QColor ink = editor.palette().color(QPalette::Active, QPalette::Text);
    EXPECT_GT(std::abs(ink.lightness() - paper.lightness()), 100)
        << paper.name().toStdString() << " with " << ink.name().toStdString();
    EXPECT_EQ(editor.palette().color(QPalette::Inactive, QPalette::Text), ink);
    EXPECT_EQ(editor.background(), paper);
  }
}

TEST_F(DarkDesktop, TheAboutLinkTurnsLightOnADarkWindowAndStaysBlueOnALightOne) {
  AboutDialog dialog;
  dialog.show();
  const QString dark = dialog.findChild<QLabel*>("Label4")->text();
  EXPECT_FALSE(dark.contains("color: blue")) << dark.toStdString();
  EXPECT_TRUE(dark.contains(AboutDialog::kProductPage));
  dialog.hide();

  QPalette light = dialog.palette();
  light.setColor(QPalette::Window, QColor(0xef, 0xef, 0xef));
  dialog.setPalette(light);
  dialog.show();
  EXPECT_TRUE(dialog.findChild<QLabel*>("Label4")->text().contains("color: blue"));
}

}  // namespace
}  // namespace qw::gui
