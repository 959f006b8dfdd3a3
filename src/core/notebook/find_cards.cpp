#include "core/notebook/find_cards.h"

#include "core/notebook/settings_commands.h"
#include "core/store/index_line.h"

namespace qw::notebook {

std::vector<find::SearchedCard> cardsToSearch(const Notebook& notebook, bool shownCategoriesOnly) {
  const store::Store& store = notebook.store();
  const CurrentCard& open = notebook.current();
  const bool openShown = notebook.cardShown();
  std::vector<find::SearchedCard> cards;
  cards.reserve(store.cardIndex.count() + 1);
  cards.push_back({kMainCard, "-", kMainCardListedName, mainContentFile(store), {}, {}, true});
  const std::string& filter = store.settings.categoryFilter();
  for (int card = 0; card < store.cardIndex.count(); ++card) {
    const std::string& line = store.cardIndex.line(card);
    if (shownCategoriesOnly && !store::shownByFilter(line, filter)) continue;
    cards.push_back({card,
                     std::to_string(card),
                     store::displayName(line),
                     {},
                     store::cardSettingsFile(store, line),
                     {}});
  }
  for (find::SearchedCard& card : cards)
    if (openShown && card.card == open.number) card.openText = notebook.openCardText();
  return cards;
}

namespace {

std::string filterWith(const std::string& filter, const std::string& categoryId) {
  return (filter.empty() || filter == "-" ? "-" : filter) + categoryId + "-";
}

int stripPositionOf(const Notebook& notebook, int card) {
  const auto& strip = notebook.strip();
  for (std::size_t position = 0; position < strip.size(); ++position)
    if (strip[position].card == card) return static_cast<int>(position);
  return -1;
}

}  // namespace

bool openFoundCard(Notebook& notebook, store::Store& store, const find::FoundLine& hit,
                   ports::PlatformServices& platform) {
  if (hit.card != kMainCard) {
    if (hit.card < 0 || hit.card >= store.cardIndex.count()) return false;
    const std::string& line = store.cardIndex.line(hit.card);
    if (store::displayName(line) != hit.name) return false;
    if (!store::shownByFilter(line, store.settings.categoryFilter()))
      changeCategoryFilter(notebook, store,
                           filterWith(store.settings.categoryFilter(), store::categoryId(line)),
                           platform);
  }
  const int position = stripPositionOf(notebook, hit.card);
  if (position < 0) return false;  // a card whose settings name no content file
  if (position != notebook.selectedPosition() || !notebook.cardShown())
    notebook.switchToPosition(position);
  if (notebook.current().number != hit.card || !notebook.cardShown()) return false;
  notebook.selectInOpenCard({hit.position, hit.length});
  return true;
}

}  // namespace qw::notebook
