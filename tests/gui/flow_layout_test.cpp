#include "gui/flow_layout.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QWidget>

namespace qw::gui {
namespace {

// Three fixed buttons and a combo box that may shrink, as in the formatting bar.
struct Row {
  Row() {
    layout = new FlowLayout(4, &window);
    for (int i = 0; i < 3; ++i) {
      buttons[i] = new QPushButton("B", &window);
      buttons[i]->setFixedSize(40, 24);
      layout->addWidget(buttons[i]);
    }
    combo = new QComboBox(&window);
    combo->addItem(QString(40, 'x'));
    combo->setMinimumWidth(60);
    layout->addWidget(combo);
  }
  // Lays the row out in `width`.
  void layOut(int width) { layout->setGeometry(QRect(0, 0, width, 200)); }
  int wished() const { return 3 * 40 + 3 * 4 + combo->sizeHint().width(); }

  QWidget window;
  FlowLayout* layout;
  QPushButton* buttons[3];
  QComboBox* combo;
};

TEST(FlowLayout, ShrinksWhatMayShrinkBeforeItWrapsAndWrapsBelowTheLeastWidth) {
  Row row;
  ASSERT_GT(row.combo->sizeHint().width(), 100);
  const int least = 3 * 40 + 3 * 4 + 60;

  // Room for every wish: one row, the combo at its wished width.
  row.layOut(row.wished() + 50);
  EXPECT_LT(row.combo->geometry().top(), row.buttons[0]->geometry().bottom());  // one row
  EXPECT_EQ(row.combo->width(), row.combo->sizeHint().width());

  // Short of the wishes but not of the least: still one row, the combo gives the difference.
  row.layOut(least + 10);
  EXPECT_LT(row.combo->geometry().top(), row.buttons[0]->geometry().bottom());  // one row
  EXPECT_EQ(row.combo->geometry().right(), least + 10 - 1);
  EXPECT_GE(row.combo->width(), 60);
  EXPECT_EQ(row.layout->heightForWidth(least + 10), 24);

  // Every item gives its share, and the row ends exactly at the edge.
  row.buttons[1]->setMinimumSize(30, 24);
  row.buttons[1]->setMaximumSize(40, 24);
  row.layout->invalidate();
  row.layOut(least + 3);
  EXPECT_EQ(row.combo->geometry().right(), least + 3 - 1);
  row.buttons[1]->setFixedSize(40, 24);
  row.layout->invalidate();

  // Below the least: the combo goes to a second row, the buttons keep their size.
  row.layOut(least - 1);
  EXPECT_GT(row.combo->geometry().top(), row.buttons[2]->geometry().bottom());
  EXPECT_EQ(row.buttons[2]->width(), 40);
  EXPECT_GT(row.layout->heightForWidth(least - 1), 24 + 4);
}

}  // namespace
}  // namespace qw::gui
