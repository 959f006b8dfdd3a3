#pragma once
// What --list prints: one line per card in index order, the main card first as number "-",
// either as tab-separated text or as JSON; and what --find prints.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/find/find_in_cards.h"
#include "core/i18n/strings.h"
#include "core/store/store.h"

namespace qw::remote {

struct ListedCard {
  std::string number;         // as CARD takes it: "-" or the index position
  std::optional<int> hotKey;  // the key's slot, 1 to 9
  std::string category;
  std::string name;
  bool isProtected = false;
  bool linked = false;
  friend bool operator==(const ListedCard&, const ListedCard&) = default;
};

// Every card of the index, whatever the category filter shows; `isProtected` tells it of an
// index position (the main card is never protected).
std::vector<ListedCard> listedCards(const store::Store& store, const i18n::StringTable& strings,
                                    const std::function<bool(int)>& isProtected);

// number TAB hot key TAB category TAB name, one line each; a tab or a line break inside a
// name would shift the columns, so it shows as a space.
std::string listingText(const std::vector<ListedCard>& cards);
// What --find prints: number TAB line TAB name TAB the line's text, one line per hit, with
// tabs and line breaks inside the name or the text shown as spaces.
std::string foundLinesText(const std::vector<find::FoundLine>& lines);

// An array of {"number", "hotKey", "category", "name", "protected", "linked"}, one per line.
std::string listingJson(const std::vector<ListedCard>& cards);

}  // namespace qw::remote
