#include "gui/card_strip_view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "gui/card_editor.h"
#include "gui/main_window_fixture.h"
#include "gui/widget_walk.h"

namespace qw::gui {
namespace {

// The selected name is drawn in bold, wider than the others: the strip must hold it whole,
// whichever name is selected, and keep its width as the selection moves.
TEST(CardStripView, EveryNameShowsWholeWhenSelectedInBold) {
  CardStripView strip;
  strip.setLook({QColor(0x67, 0x74, 0xA6), Qt::yellow, Qt::white});
  strip.resize(177, 400);
  strip.setEntries({{notebook::kMainCard, "ktrquillWick", {}},
                    {0, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", {}},
                    {1, "short", {}}});
  fixtures::showActive(&strip);
  const int width = strip.widget()->width();
  for (int position : {1, 2, 0, 1}) {
    strip.select(position);
    const QLabel* label = strip.label(position);
    ASSERT_TRUE(label->font().bold());
    EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()))
        << position;
    EXPECT_LE(label->geometry().right(), strip.widget()->width() - 1) << position;
    EXPECT_EQ(strip.widget()->width(), width) << position;
  }
}

std::vector<notebook::StripEntry> entries(int cards) {
  std::vector<notebook::StripEntry> list{{notebook::kMainCard, "ktrquillWick", {}}};
  for (int c = 0; c < cards; ++c) list.push_back({c, "Card " + std::to_string(c), {}});
  return list;
}

// What a screen reader gets: a list named as the strip, one item per card named by the card,
// the current card selected, and the focus on it while the strip has the keyboard.
TEST(CardStripView, ReadsAsAListOfTheCardsWithTheCurrentOneSelected) {
  CardStripView strip;
  strip.setAccessibleName("Cards");
  strip.resize(177, 200);
  // More cards than the strip shows: those below are made when asked for.
  strip.setEntries(entries(300));
  strip.select(2);
  fixtures::showActive(&strip);
  strip.clearFocus();
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&strip);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  EXPECT_EQ(list->text(QAccessible::Name), "Cards");
  ASSERT_EQ(list->childCount(), 301);
  for (int p : {0, 1, 2, 300}) {
    QAccessibleInterface* item = list->child(p);
    ASSERT_NE(item, nullptr) << p;
    EXPECT_EQ(item->role(), QAccessible::ListItem) << p;
    EXPECT_EQ(item->text(QAccessible::Name),
              p == 0 ? "ktrquillWick" : "Card " + QString::number(p - 1));
    EXPECT_EQ(item->parent(), list) << p;
    EXPECT_EQ(list->indexOfChild(item), p);
    EXPECT_TRUE(item->state().selectable) << p;
    EXPECT_EQ(item->state().selected, p == 2) << p;
    EXPECT_FALSE(item->state().focused) << p;
  }
  EXPECT_EQ(list->childAt(-5, -5), nullptr);
  const QRect second = list->child(2)->rect();
  EXPECT_EQ(list->childAt(second.center().x(), second.center().y()), list->child(2));

  strip.setFocus();
  EXPECT_TRUE(list->child(2)->state().focused);
  strip.select(300);
  EXPECT_FALSE(list->child(2)->state().selected);
  EXPECT_TRUE(list->child(300)->state().selected);
  EXPECT_TRUE(list->child(300)->state().focused);

  // A press from the screen reader is a click on the name.
  QSignalSpy clicked(&strip, &CardStripView::clicked);
  list->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_EQ(clicked.size(), 1);
  EXPECT_EQ(clicked[0][0].toInt(), 1);
}

TEST(CardStripView, ArrowKeysWalkTheCardsWhileTheStripHasTheFocus) {
  CardStripView strip;
  strip.resize(177, 24 * 6);
  strip.setEntries(entries(30));
  fixtures::showActive(&strip);
  strip.setFocus();
  ASSERT_TRUE(strip.hasFocus());
  QSignalSpy stepped(&strip, &CardStripView::stepped);
  const auto press = [&](Qt::Key key) {
    stepped.clear();
    QTest::keyClick(&strip, key);
    return stepped.isEmpty() ? -1 : stepped.last()[0].toInt();
  };
  EXPECT_EQ(press(Qt::Key_Up), -1);  // already at the top
  EXPECT_EQ(press(Qt::Key_Down), 1);
  EXPECT_EQ(strip.selected(), 1);
  EXPECT_EQ(press(Qt::Key_Down), 2);
  EXPECT_EQ(press(Qt::Key_Up), 1);
  EXPECT_EQ(press(Qt::Key_End), 30);
  EXPECT_EQ(press(Qt::Key_Down), -1);  // and at the bottom
  EXPECT_EQ(strip.selected(), 30);
  // The last card scrolled into view.
  const QLabel* last = strip.label(30);
  EXPECT_TRUE(strip.viewport()->rect().contains(
      QRect(last->mapTo(strip.viewport(), QPoint(0, 0)), last->size())));
  const int up = press(Qt::Key_PageUp);
  EXPECT_GT(up, 0);
  EXPECT_LT(up, 29);
  EXPECT_EQ(press(Qt::Key_PageDown), 30);
  EXPECT_EQ(press(Qt::Key_Home), 0);
  EXPECT_TRUE(strip.hasFocus());
}

using StripInWindow = fixtures::FullWindow;

// In the window the arrows open the card they reach, and leave the keyboard in the strip.
TEST_F(StripInWindow, ArrowKeysOpenTheCardsAndKeepTheFocusInTheStrip) {
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  fixtures::showActive(&window);
  auto* strip = find<CardStripView>(window, "SBLabel");
  auto* editor = find<CardEditor>(window, "MMain");
  strip->setFocus();
  ASSERT_EQ(strip->selected(), 2);  // Gamma, opened at start; Work is filtered out
  ASSERT_EQ(editor->toPlainText(), "text 3");
  QTest::keyClick(strip, Qt::Key_Up);
  EXPECT_EQ(strip->selected(), 1);
  EXPECT_EQ(editor->toPlainText(), "text 1");
  EXPECT_TRUE(strip->hasFocus());
  QTest::keyClick(strip, Qt::Key_Home);
  EXPECT_EQ(strip->selected(), 0);
  EXPECT_TRUE(strip->hasFocus());
}

}  // namespace
}  // namespace qw::gui
