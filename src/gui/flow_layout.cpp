#include "gui/flow_layout.h"

#include <QWidget>
#include <algorithm>

namespace qw::gui {

FlowLayout::FlowLayout(int spacing, QWidget* parent) : QLayout(parent) {
  setSpacing(spacing);
  setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::insertWidget(int index, QWidget* widget) {
  addChildWidget(widget);
  if (index < 0 || index > count()) index = count();
  items_.insert(index, new QWidgetItem(widget));
  invalidate();
}

void FlowLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* FlowLayout::itemAt(int index) const {
  return index >= 0 && index < count() ? items_.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
  return index >= 0 && index < count() ? items_.takeAt(index) : nullptr;
}

int FlowLayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

QSize FlowLayout::minimumSize() const {
  // As narrow as the widest control, one to a row.
  QSize size;
  for (const QLayoutItem* item : items_)
    if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
  const QMargins m = contentsMargins();
  return size.grownBy(m);
}

QSize FlowLayout::sizeHint() const {
  // All on one row.
  int width = 0;
  int height = 0;
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += (width > 0 ? spacing() : 0) + item->sizeHint().width();
    height = std::max(height, item->sizeHint().height());
  }
  return QSize(width, height).grownBy(contentsMargins());
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool apply) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  // Row by row: as many items as fit side by side at their least width, each then given its
  // wished width as far as the row has room, centred on the row's height. A window wide enough
  // for the items at their least keeps them on one row, as a box layout would.
  int top = area.top();
  int first = 0;
  bool anyRow = false;
  while (first < count()) {
    int least = 0;
    int wished = 0;
    int height = 0;
    int end = first;
    for (; end < count(); ++end) {
      const QLayoutItem* item = items_.at(end);
      if (item->isEmpty()) continue;
      const int gap = least > 0 ? spacing() : 0;
      const int itemLeast = item->minimumSize().width();
      if (least > 0 && least + gap + itemLeast > area.width()) break;
      least += gap + itemLeast;
      wished += gap + item->sizeHint().width();
      height = std::max(height, item->sizeHint().height());
    }
    if (least == 0) break;  // only hidden items were left
    if (anyRow) top += spacing();
    anyRow = true;
    if (apply) {
      // What the row lacks for the wished widths is taken from each item in proportion to what
      // it can give.
      const int canGive = wished - least;
      const int taken = std::min(std::max(0, wished - area.width()), canGive);
      // Counted as running totals, so that the rounding leaves nothing over.
      int couldGive = 0;
      int given = 0;
      int x = area.left();
      for (int i = first; i < end; ++i) {
        QLayoutItem* item = items_.at(i);
        if (item->isEmpty()) continue;
        const QSize hint = item->sizeHint();
        couldGive += hint.width() - item->minimumSize().width();
        const int givenSoFar = canGive > 0 ? couldGive * taken / canGive : 0;
        const int w = std::min(hint.width() - (givenSoFar - given), area.width());
        given = givenSoFar;
        item->setGeometry(QRect(x, top + (height - hint.height()) / 2, w, hint.height()));
        x += w + spacing();
      }
    }
    top += height;
    first = end;
  }
  return top - rect.top() + contentsMargins().bottom();
}

}  // namespace qw::gui
