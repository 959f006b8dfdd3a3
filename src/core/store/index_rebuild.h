#pragma once
// The card index written afresh from the cards' own files, when fiches.kvn is gone or none of
// its card lines can be read: the cards stay listed instead of being overwritten by new ones.

#include <string>
#include <vector>

#include "core/store/store.h"

namespace qw::store {

// A card line for every card settings file ("N.kvo") of the data folder, by file number:
// category 0, no hot key, linked when the settings name a content file outside the data
// folder, named after the first line of the card's text, or "Fiche N" / "Card N" in the
// language of param.ini for a protected, empty or unreadable card. Uses store.filesAtLoad
// when it is known.
std::vector<std::string> rebuiltCardLines(const Store& store);

}  // namespace qw::store
