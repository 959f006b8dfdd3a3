#pragma once
// Find in all cards, on the notebook's side: which cards a search reads, and opening a hit.

#include <vector>

#include "core/find/find_in_cards.h"
#include "core/notebook/notebook.h"
#include "core/ports/platform_services.h"
#include "core/store/store.h"

namespace qw::notebook {

// The main card, then every card of the index in its order, or only those the category filter
// shows. The open card comes with the editor's text, unsaved edits included.
std::vector<find::SearchedCard> cardsToSearch(const Notebook& notebook, bool shownCategoriesOnly);

// Opens the card of `hit` as a switch does (the open card saved first, a protected card asking
// its password) and selects the hit. A card of a category the filter hides first has its
// category added to the filter. False, with nothing changed, when the card is no longer the one
// found (deleted or renamed since); false too when it stays closed. Throws StoreError as a
// switch does.
bool openFoundCard(Notebook& notebook, store::Store& store, const find::FoundLine& hit,
                   ports::PlatformServices& platform);

}  // namespace qw::notebook
