#include "core/notebook/categories.h"

#include <string_view>
#include <utility>
#include <vector>

#include "core/store/card_index.h"
#include "core/store/index_line.h"
#include "core/text/utf8.h"

namespace qw::notebook {
namespace {

// Lower case of the letters Windows-1252 holds; every other character is its own fold.
char32_t folded(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // À..Þ except ×
  switch (c) {
    case 0x152: return 0x153;  // Œ
    case 0x160: return 0x161;  // Š
    case 0x17D: return 0x17E;  // Ž
    case 0x178: return 0xFF;   // Ÿ
    default: return c;
  }
}

// A change of the list (and filter) that is undone when the file cannot be written, so memory
// and categ.kvn never disagree.
void saveOrUndo(store::Store& store, std::vector<std::string> oldLines, std::string oldFilter) {
  try {
    store::saveCategories(store);
  } catch (...) {
    store.categories.setLines(std::move(oldLines));
    store.settings.setCategoryFilter(std::move(oldFilter));
    throw;
  }
}

// Whether a category line or a card's line names category `id`.
bool categoryIdTaken(const store::Store& store, long long id) {
  for (int k = 0; k < store.categories.count(); ++k)
    if (store::parseCounter(store.categories.id(k)) == id) return true;
  for (int card = 0; card < store.cardIndex.count(); ++card)
    if (store::parseCounter(store::categoryId(store.cardIndex.line(card))) == id) return true;
  return false;
}

}  // namespace

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size())
    if (folded(text::nextCodePoint(a, i)) != folded(text::nextCodePoint(b, j))) return false;
  return i == a.size() && j == b.size();
}

bool lineUsesCategory(const std::string& indexLine, const std::string& id) {
  const auto colon = indexLine.find(':');
  if (colon == std::string::npos) return false;
  const std::string token = ";-" + id + "-";
  return std::string_view(indexLine).substr(0, colon + 1).find(token) != std::string_view::npos;
}

bool addCategory(store::Store& store, const std::string& name) {
  // A line break would split the entry into two lines of categ.kvn.
  if (name.empty() || name.find_first_of("\r\n") != std::string::npos) return false;
  auto& categories = store.categories;
  for (int k = 0; k < categories.count(); ++k)
    if (sameNameIgnoringCase(categories.name(k), name)) return false;

  auto oldLines = categories.lines();
  std::string oldFilter = store.settings.categoryFilter();
  // Never an id some card or category holds, whatever the counter says: it may have been lost.
  long long free = categories.counter();
  while (categoryIdTaken(store, free)) ++free;
  const std::string id = std::to_string(free);
  auto lines = oldLines;
  lines.back() = id + ";:" + name;
  lines.push_back(std::to_string(free + 1));
  categories.setLines(std::move(lines));
  store.settings.setCategoryFilter(oldFilter + id + "-");
  saveOrUndo(store, std::move(oldLines), std::move(oldFilter));
  return true;
}

DeleteResult deleteCategory(store::Store& store, int k, ports::Prompts& prompts,
                            const i18n::StringTable& strings) {
  auto& categories = store.categories;
  const std::string name = categories.name(k);
  // Hand-edited files may repeat a name: the last line holding it is the one meant.
  int position = k;
  for (int j = 0; j < categories.count(); ++j)
    if (categories.name(j) == name) position = j;
  const std::string id = categories.id(position);

  const auto& index = store.cardIndex;
  for (int card = 0; card < index.count(); ++card) {
    if (lineUsesCategory(index.line(card), id)) {
      prompts.message(strings[i18n::Str::sErrCategoryInUse]);
      return DeleteResult::InUse;
    }
  }

  auto oldLines = categories.lines();
  const bool confirmed = prompts.question(strings[i18n::Str::sMsgDeleteCategoryTitle],
                                          strings[i18n::Str::sMsgDeleteCategoryQuestion] + name);
  if (confirmed) {
    auto lines = oldLines;
    lines.erase(lines.begin() + position);
    categories.setLines(std::move(lines));
  }
  saveOrUndo(store, std::move(oldLines), store.settings.categoryFilter());
  return confirmed ? DeleteResult::Deleted : DeleteResult::Declined;
}

}  // namespace qw::notebook
