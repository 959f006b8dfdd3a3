#include "core/remote/card_reference.h"

#include <algorithm>
#include <charconv>

#include "core/store/index_line.h"

namespace qw::remote {

FoundCard findCard(const store::CardIndex& index, std::string_view reference,
                   const std::function<bool(int)>& isProtected) {
  if (reference == "-") return {notebook::kMainCard};
  int card = notebook::kNoCard;
  const bool digits =
      !reference.empty() &&
      std::all_of(reference.begin(), reference.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (digits) {
    const auto [end, error] =
        std::from_chars(reference.data(), reference.data() + reference.size(), card);
    if (error != std::errc() || card >= index.count())
      return {notebook::kNoCard, CardRefusal::NotFound};
  } else {
    for (int position = 0; position < index.count(); ++position) {
      if (store::displayName(index.line(position)) != reference) continue;
      if (card != notebook::kNoCard) return {notebook::kNoCard, CardRefusal::SharedName};
      card = position;
    }
    if (card == notebook::kNoCard) return {notebook::kNoCard, CardRefusal::NotFound};
  }
  if (isProtected(card)) return {notebook::kNoCard, CardRefusal::Protected};
  return {card};
}

}  // namespace qw::remote
