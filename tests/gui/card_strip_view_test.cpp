#include "gui/card_strip_view.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>

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

}  // namespace
}  // namespace qw::gui
