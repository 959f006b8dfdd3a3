#pragma once
// The CARD of --print and --append: "-" for the main card, a number as --list prints it (the
// card's position in the index, whatever the category filter shows), or a display name.
// Digits are always a number, so a card named "3" is reached by its number.

#include <functional>
#include <string_view>

#include "core/notebook/card_numbers.h"
#include "core/store/card_index.h"

namespace qw::remote {

enum class CardRefusal { None, NotFound, SharedName, Protected };

struct FoundCard {
  int card = notebook::kNoCard;  // kMainCard, an index position, or kNoCard when refused
  CardRefusal refusal = CardRefusal::None;
};

// `isProtected` tells whether the card at an index position is sealed: such a card is never
// read or written from the command line, open or not.
FoundCard findCard(const store::CardIndex& index, std::string_view reference,
                   const std::function<bool(int)>& isProtected);

}  // namespace qw::remote
