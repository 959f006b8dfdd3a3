#include "gui/card_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <utility>

#include "gui/qt_text.h"

namespace qw::gui {

CardListView::CardListView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("ListView1");
  // The captions are the same in every language.
  setHeaderLabels({"Num", "Title", "Groupe", "Fichiers"});
  // 30 pixels, or what the caption needs with a larger font.
  setColumnWidth(notebook::kNumColumn,
                 std::max(30, header()->sectionSizeHint(notebook::kNumColumn)));
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Sorting is ours: the view's own would re-sort on every fill.
  setSortingEnabled(false);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  connect(header(), &QHeaderView::sectionClicked, this, &CardListView::sortOnColumnClick);
}

void CardListView::setRows(std::vector<notebook::CardListRow> rows) {
  setRowSource([rows = std::move(rows)] { return rows; });
}

void CardListView::setRowSource(RowSource source) {
  // The list is hidden by default: 500 rows, the card files they name and their column widths
  // wait until it shows.
  source_ = std::move(source);
  rowsShown_ = false;
  if (isVisible()) showRows();
}

const std::vector<notebook::CardListRow>& CardListView::rows() const {
  if (source_) rows_ = std::exchange(source_, nullptr)();
  return rows_;
}

void CardListView::showEvent(QShowEvent* event) {
  if (!rowsShown_) showRows();
  QTreeWidget::showEvent(event);
}

void CardListView::showRows() {
  rowsShown_ = true;
  setUpdatesEnabled(false);
  clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows().size()));
  for (const auto& row : rows()) {
    auto* item =
        new QTreeWidgetItem(QStringList{qs(row.num), qs(row.title), qs(row.group), qs(row.files)});
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    items.append(item);
  }
  addTopLevelItems(items);
  for (int column = notebook::kTitleColumn; column < notebook::kCardListColumns; ++column)
    resizeColumnToContents(column);
  setUpdatesEnabled(true);
}

std::optional<notebook::CardListRow> CardListView::selectedRow() const {
  const auto selected = selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  const int index = indexOfTopLevelItem(selected.front());
  if (index < 0 || index >= static_cast<int>(rows_.size())) return std::nullopt;
  return rows_[static_cast<size_t>(index)];
}

void CardListView::sortOnColumnClick(int column) {
  if (column < 0 || column >= notebook::kCardListColumns) return;
  const bool descending = sort_.click(column);
  // The selected row stays selected wherever the sort puts it.
  const auto selected = selectedRow();
  rows();  // asked for now if they still wait
  notebook::sortCardList(rows_, column, descending);
  showRows();
  if (!selected) return;
  for (int index = 0; index < topLevelItemCount(); ++index) {
    if (rows_[static_cast<size_t>(index)].card == selected->card) {
      setCurrentItem(topLevelItem(index));
      break;
    }
  }
}

void CardListView::keyReleaseEvent(QKeyEvent* event) {
  QTreeWidget::keyReleaseEvent(event);
  // A held key repeats its release; the card opens once, when the key really comes up.
  if (event->isAutoRepeat()) return;
  if (const auto row = selectedRow()) emit openCard(row->card);
}

}  // namespace qw::gui
