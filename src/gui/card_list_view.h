#pragma once

#include <QTreeWidget>
#include <functional>
#include <optional>
#include <vector>

#include "core/notebook/card_list.h"

namespace qw::gui {

// The table of shown cards above the editor: number, title, category and file of each. A click
// on a column header sorts by it; releasing any key opens the selected row's card. A mouse
// click only selects.
class CardListView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CardListView(QWidget* parent = nullptr);

  using RowSource = std::function<std::vector<notebook::CardListRow>()>;
  // Shows the rows in the given order, at once or when the list next shows. The sort state is
  // kept but not applied.
  void setRows(std::vector<notebook::CardListRow> rows);
  // The same, the rows asked of `source` only when they are needed.
  void setRowSource(RowSource source);
  // The rows in the order shown.
  const std::vector<notebook::CardListRow>& rows() const;
  std::optional<notebook::CardListRow> selectedRow() const;
  int sortState() const { return sort_.state(); }

 public slots:
  // What a click on the header of `column` does.
  void sortOnColumnClick(int column);

 signals:
  // A key was released while a row was selected.
  void openCard(int card);

 protected:
  void keyReleaseEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void showRows();

  mutable RowSource source_;  // rows not asked for yet
  mutable std::vector<notebook::CardListRow> rows_;
  notebook::CardListSort sort_;
  bool rowsShown_ = false;  // the items hold rows_
};

}  // namespace qw::gui
