#pragma once
// The card list above the editor and the category filter behind it: which rows the list shows,
// how a column click sorts them, and the filter text made from the ticked categories.

#include <string>
#include <utility>
#include <vector>

#include "core/i18n/strings.h"
#include "core/notebook/notebook.h"
#include "core/store/store.h"

namespace qw::notebook {

// One row of the list; the texts are the four columns.
struct CardListRow {
  std::string num;    // the card number in decimal, "-2" for the main card
  std::string title;  // display name
  std::string group;  // category name
  std::string files;  // line 1 of the card's settings file: a name in the data folder or a path
  int card = kMainCard;

  friend bool operator==(const CardListRow&, const CardListRow&) = default;
};

enum CardListColumn { kNumColumn, kTitleColumn, kGroupColumn, kFilesColumn };
constexpr int kCardListColumns = 4;

// The name of the category `categoryId`: the standard one's in the interface language, empty
// for an id the category list does not hold.
std::string categoryName(const store::Store& store, const i18n::StringTable& strings,
                         const std::string& categoryId);

// The main card's row, then one row per card the category filter shows, in index order. A card
// whose category has no line in the category list gets an empty group; one whose settings file
// is missing or unreadable gets an empty file cell. Nothing here fails.
std::vector<CardListRow> cardListRows(const store::Store& store, const i18n::StringTable& strings);

// Sorts by `column`: the number column by value, the others by text with A-Z compared without
// case. Rows with equal keys keep their order.
void sortCardList(std::vector<CardListRow>& rows, int column, bool descending);

// The list remembers its last sort as one number: the column times 2, plus 1 for the column's
// odd state. 0 at start.
class CardListSort {
 public:
  // A click on `column` moves the state on: the same column in its even state turns odd,
  // anything else starts that column's even state. Returns whether the column now sorts
  // descending: the number column is ascending when odd, the others when even.
  bool click(int column);
  int state() const { return state_; }

 private:
  int state_ = 0;
};

// Filter text such as -0-3-12- from the check list, item by item in list order: each item's
// category id and whether it is ticked. Nothing ticked gives "-".
std::string categoryFilterFrom(const std::vector<std::pair<std::string, bool>>& idsTicked);

// The strip position a row opens: 0 for the main card's row, otherwise the first strip entry
// whose name equals the row's title exactly (the main card's entry included). -1 when none.
int stripPositionForRow(const std::vector<StripEntry>& strip, const CardListRow& row);

}  // namespace qw::notebook
