#include "gui/about_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace qw::gui {
namespace {

TEST(AboutDialog, ShowsTitleVersionAndPageInTheChosenLanguage) {
  AboutDialog dialog;
  dialog.setStrings(i18n::StringTable::forLanguage("Anglais"));
  EXPECT_EQ(dialog.windowTitle(), "About");
  EXPECT_EQ(dialog.findChild<QPushButton*>("BOK")->text(), "Close");
  EXPECT_EQ(dialog.findChild<QLabel*>("StaticText1")->text(), "KTR QuillWick");
  EXPECT_EQ(dialog.findChild<QLabel*>("Label1")->text(), "Version : 1.3");
  EXPECT_TRUE(dialog.findChild<QLabel*>("Label4")->text().contains(AboutDialog::kProductPage));
  EXPECT_EQ(dialog.findChild<QLabel*>("IICon")->size(), QSize(33, 33));

  dialog.setStrings(
      i18n::StringTable::forLanguage("Fran\xC3\xA7"
                                     "ais"));
  EXPECT_EQ(dialog.windowTitle(), "A Propos");
  EXPECT_EQ(dialog.findChild<QPushButton*>("BOK")->text(), "Fermer");
}

TEST(AboutDialog, TheLinkOpensThePageAndEnterOrEscapeClose) {
  AboutDialog dialog;
  QString opened;
  dialog.setPageOpener([&](const QString& address) { opened = address; });
  emit dialog.findChild<QLabel*>("Label4")->linkActivated(AboutDialog::kProductPage);
  EXPECT_EQ(opened, AboutDialog::kProductPage);

  for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
    QTimer::singleShot(0, &dialog, [&dialog, key] { QTest::keyClick(&dialog, Qt::Key(key)); });
    dialog.exec();
    EXPECT_FALSE(dialog.isVisible()) << key;
  }
}

TEST(AboutDialog, SaysWhereTheCardsAreOnlyWhenThePerUserFolderIsUsed) {
  AboutDialog dialog;
  dialog.setStrings(i18n::StringTable::forLanguage("Anglais"));
  dialog.show();
  auto* where = dialog.findChild<QLabel*>("LDataFolder");
  EXPECT_FALSE(where->isVisible());
  dialog.setPerUserDataFolder("/home/me/.local/share/dataQuillWick");
  EXPECT_TRUE(where->isVisible());
  EXPECT_TRUE(where->text().contains("/home/me/.local/share/dataQuillWick"));
}

}  // namespace
}  // namespace qw::gui
