#include "gui/password_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace qw::gui {
namespace {

class PasswordDialogTest : public ::testing::Test {
 protected:
  PasswordDialog dialog;
  i18n::StringTable english = i18n::StringTable::forLanguage("Anglais");

  QLineEdit* entry() { return dialog.findChild<QLineEdit*>("Edit1"); }
  // Runs `user` once the dialog shows, then asks.
  std::optional<std::string> ask(bool visible, const std::function<void()>& user) {
    QTimer::singleShot(0, &dialog, user);
    return dialog.ask(english, "Bank", visible);
  }
};

TEST_F(PasswordDialogTest, OpeningMasksTheEntryAndOkGivesTheTypedText) {
  const auto typed = ask(false, [&] {
    EXPECT_EQ(dialog.windowTitle(), "Password for  'Bank'");
    EXPECT_EQ(dialog.findChild<QLabel*>("Label1")->text(), "Enter the password : ");
    EXPECT_EQ(entry()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(entry()->text(), "");
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("CheckBox1")->isVisible());
    entry()->insert("s3cret \u00e9");
    QTest::keyClick(entry(), Qt::Key_Return);
  });
  EXPECT_EQ(typed, "s3cret \xC3\xA9");
  EXPECT_EQ(entry()->text(), "");  // nothing left behind in the widget
}

// The caption names the card: the dialog is wider than that caption takes in its own font, a
// short name keeps the dialog's usual width, and a name longer than the screen stops there.
TEST_F(PasswordDialogTest, TheDialogIsWideEnoughForItsCaption) {
  struct Shown {
    int width = 0;
    int caption = 0;  // the caption's width in the dialog's own font
  };
  const auto shownFor = [&](const std::string& name) {
    Shown shown;
    QTimer::singleShot(0, &dialog, [&] {
      shown = {dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle())};
      dialog.reject();
    });
    dialog.ask(english, name, false);
    return shown;
  };
  const Shown usual = shownFor("Bank");
  EXPECT_GT(usual.width, usual.caption);
  EXPECT_GE(entry()->minimumWidth(), 220);
  const Shown longer = shownFor("Accounts of the association, year 2025");
  EXPECT_GT(longer.width, longer.caption);
  EXPECT_GT(longer.width, usual.width);
  EXPECT_EQ(shownFor("Bank").width, usual.width);
  EXPECT_LE(shownFor(std::string(400, 'W')).width, dialog.screen()->availableGeometry().width());
}

TEST_F(PasswordDialogTest, ProtectingShowsThePlaceholderSelectedForTyping) {
  const auto typed = ask(true, [&] {
    EXPECT_EQ(entry()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(entry()->selectedText(), "<password>");
    QTest::keyClicks(entry(), "new");
    dialog.findChild<QPushButton*>("BOK")->click();
  });
  EXPECT_EQ(typed, "new");
}

TEST_F(PasswordDialogTest, AnEmptyPasswordIsRefusedAndEveryOtherWayOutCancels) {
  QString said;
  const auto typed = ask(false, [&] {
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      said = box->text();
      box->accept();
      EXPECT_TRUE(dialog.isVisible());  // still asking
      QTest::keyClicks(entry(), "x");
      dialog.findChild<QPushButton*>("BOK")->click();
    });
    dialog.findChild<QPushButton*>("BOK")->click();
  });
  EXPECT_EQ(said, "ERR#111 : The password cannot be empty");
  EXPECT_EQ(typed, "x");

  EXPECT_FALSE(ask(false, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }));
  EXPECT_FALSE(ask(false, [&] { dialog.findChild<QPushButton*>("BCancel")->click(); }));
  EXPECT_FALSE(ask(false, [&] {
    QTest::keyClicks(entry(), "typed");
    dialog.close();  // the frame's close box
  }));
}

}  // namespace
}  // namespace qw::gui
