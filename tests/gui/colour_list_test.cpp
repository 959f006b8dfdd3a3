#include "gui/colour_list.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>

namespace qw::gui {
namespace {

// The colour in the middle of an item's swatch; invalid when the item has none.
QColor swatchColour(const ColourList& list, int item) {
  const QIcon icon = list.itemIcon(item);
  if (icon.isNull()) return {};
  const QImage image = icon.pixmap(list.iconSize()).toImage();
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

TEST(ColourList, EveryItemShowsItsColourWhenItCanBeSeen) {
  ColourList list;
  // The item shown in the closed list, whichever way it became the shown one.
  list.setCurrentIndex(5);
  EXPECT_EQ(swatchColour(list, 5), QColor(0, 0, 0x80));
  list.setCurrentIndex(16);
  EXPECT_EQ(swatchColour(list, 16), QColor(Qt::white));

  // Every item of the open list.
  list.show();
  list.showPopup();
  for (int item = 1; item < ColourList::kItemCount; ++item)
    EXPECT_EQ(swatchColour(list, item), *list.colourAt(item)) << item;
  EXPECT_EQ(swatchColour(list, ColourList::kCustomItem), QColor(Qt::black));
  list.hidePopup();

  // A new custom colour is shown at once.
  list.setCustomColour(QColor(0x12, 0x34, 0x56));
  EXPECT_EQ(swatchColour(list, ColourList::kCustomItem), QColor(0x12, 0x34, 0x56));
}

}  // namespace
}  // namespace qw::gui
