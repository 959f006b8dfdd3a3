#include "core/notebook/card_list.h"

#include <algorithm>
#include <functional>

#include "core/store/index_line.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/text/utf8.h"

namespace qw::notebook {
namespace {

// The list is a view: a settings file that cannot be read only leaves its cell empty.
std::string filesOf(const store::Store& store, const std::string& indexLine) {
  try {
    const auto lines = store::readTextLines(store::cardSettingsFile(store, indexLine));
    if (lines && !lines->empty()) return lines->front();
  } catch (const store::StoreError&) {
  }
  return {};
}

// Byte order of UTF-8 text is code point order; only A-Z fold.
bool textLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(text::asciiLower(x)) <
           static_cast<unsigned char>(text::asciiLower(y));
  });
}

const std::string& cell(const CardListRow& row, int column) {
  switch (column) {
    case kTitleColumn: return row.title;
    case kGroupColumn: return row.group;
    default: return row.files;
  }
}

}  // namespace

std::string categoryName(const store::Store& store, const i18n::StringTable& strings,
                         const std::string& categoryId) {
  if (categoryId == "0") return strings[i18n::Str::sCategStandard];
  const store::Categories& categories = store.categories;
  for (int k = 0; k < categories.count(); ++k)
    if (categories.id(k) == categoryId) return categories.name(k);
  return {};
}

std::vector<CardListRow> cardListRows(const store::Store& store, const i18n::StringTable& strings) {
  std::vector<CardListRow> rows{{"-2", kMainCardListedName, "Default", "default.kvn", kMainCard}};
  const std::string& filter = store.settings.categoryFilter();
  for (int card = 0; card < store.cardIndex.count(); ++card) {
    const std::string& line = store.cardIndex.line(card);
    if (!store::shownByFilter(line, filter)) continue;
    rows.push_back({std::to_string(card), store::displayName(line),
                    categoryName(store, strings, store::categoryId(line)), filesOf(store, line),
                    card});
  }
  return rows;
}

void sortCardList(std::vector<CardListRow>& rows, int column, bool descending) {
  std::function<bool(const CardListRow&, const CardListRow&)> less;
  if (column == kNumColumn)
    less = [](const CardListRow& a, const CardListRow& b) { return a.card < b.card; };
  else
    less = [column](const CardListRow& a, const CardListRow& b) {
      return textLess(cell(a, column), cell(b, column));
    };
  if (descending)
    std::stable_sort(rows.begin(), rows.end(),
                     [&less](const CardListRow& a, const CardListRow& b) { return less(b, a); });
  else
    std::stable_sort(rows.begin(), rows.end(), less);
}

bool CardListSort::click(int column) {
  const bool sameColumnEven = column == state_ / 2 && state_ % 2 == 0;
  state_ = sameColumnEven ? 2 * column + 1 : 2 * column;
  const bool odd = state_ % 2 == 1;
  return column == kNumColumn ? !odd : odd;
}

std::string categoryFilterFrom(const std::vector<std::pair<std::string, bool>>& idsTicked) {
  std::string filter = "-";
  for (const auto& [id, ticked] : idsTicked)
    if (ticked) filter += id + "-";
  return filter;
}

int stripPositionForRow(const std::vector<StripEntry>& strip, const CardListRow& row) {
  if (row.card == kMainCard) return strip.empty() ? -1 : 0;
  for (size_t position = 0; position < strip.size(); ++position)
    if (strip[position].name == row.title) return static_cast<int>(position);
  return -1;
}

}  // namespace qw::notebook
