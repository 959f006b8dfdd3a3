#include "gui/info_popup.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "core/i18n/strings.h"

namespace qw::gui {
namespace {

TEST(InfoPopup, ShowsInTheLowerRightCornerAndClosesAfter1200Ms) {
  InfoPopup popup;
  QElapsedTimer clock;
  clock.start();
  popup.popUp("a\n\r > \n\rb", InfoPopup::errorColour());
  ASSERT_TRUE(popup.isVisible());
  EXPECT_EQ(popup.size(), QSize(201, 41));
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(popup.geometry().bottom() + 1, area.bottom() + 1 - 5);
  EXPECT_EQ(popup.geometry().right() + 1, area.right() + 1 - 40);
  EXPECT_EQ(popup.text(), "a\n > \nb");
  auto* panel = popup.findChild<QLabel*>("Panel1");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(panel->palette().color(QPalette::WindowText), QColor(Qt::white));

  // A second showing while visible changes nothing, the timer included.
  QTest::qWait(600);
  popup.popUp("second", InfoPopup::successColour());
  EXPECT_EQ(popup.text(), "a\n > \nb");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !popup.isVisible(); }, 3000));
  const qint64 shown = clock.elapsed();
  EXPECT_GE(shown, 1200);
  EXPECT_LT(shown, 2500);  // generous: a loaded machine delays the event loop

  // Once closed, the next showing takes its own text and colour.
  popup.popUp("second", InfoPopup::successColour());
  EXPECT_EQ(popup.text(), "second");
  EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0x78, 0x85, 0xB7));
}

// The popup keeps its size whatever it is given, so the texts of its own must fit it whole.
TEST(InfoPopup, TheRefusalOfAProtectedCardFitsInBothLanguages) {
  for (const char* language : {"Français", "Anglais"}) {
    const auto strings = i18n::StringTable::forLanguage(language);
    InfoPopup popup;
    popup.popUp(QString::fromStdString(strings[i18n::Str::sErrProtectedCardTransfer]),
                InfoPopup::errorColour());
    const auto* panel = popup.findChild<QLabel*>("Panel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_LE(panel->sizeHint().width(), panel->width()) << language;
    EXPECT_LE(panel->sizeHint().height(), panel->height()) << language;
    popup.close();
  }
}

TEST(InfoPopup, AClickClosesIt) {
  InfoPopup popup;
  popup.popUp("x", InfoPopup::successColour());
  QTest::mouseClick(&popup, Qt::LeftButton, {}, QPoint(100, 20));
  EXPECT_FALSE(popup.isVisible());
}

}  // namespace
}  // namespace qw::gui
