#include "core/remote/card_listing.h"

#include <cstdio>

#include "core/notebook/card_list.h"
#include "core/store/index_line.h"

namespace qw::remote {
namespace {

std::string oneCell(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace

std::vector<ListedCard> listedCards(const store::Store& store, const i18n::StringTable& strings,
                                    const std::function<bool(int)>& isProtected) {
  std::vector<ListedCard> cards{
      {"-", std::nullopt, {}, notebook::kMainCardListedName, false, false}};
  for (int card = 0; card < store.cardIndex.count(); ++card) {
    const std::string& line = store.cardIndex.line(card);
    std::optional<int> slot = store::hotKeySlot(line);
    if (slot && (*slot < 1 || *slot > 9)) slot.reset();  // the tenth slot has no key
    cards.push_back({std::to_string(card), slot,
                     notebook::categoryName(store, strings, store::categoryId(line)),
                     store::displayName(line), isProtected(card), store::isLinked(line)});
  }
  return cards;
}

std::string listingText(const std::vector<ListedCard>& cards) {
  std::string out;
  for (const ListedCard& card : cards)
    out += card.number + "\t" + (card.hotKey ? std::to_string(*card.hotKey) : "") + "\t" +
           oneCell(card.category) + "\t" + oneCell(card.name) + "\n";
  return out;
}

std::string foundLinesText(const std::vector<find::FoundLine>& lines) {
  std::string out;
  for (const find::FoundLine& line : lines)
    out += line.number + "\t" + std::to_string(line.line) + "\t" + oneCell(line.name) + "\t" +
           oneCell(line.text) + "\n";
  return out;
}

std::string listingJson(const std::vector<ListedCard>& cards) {
  std::string out = "[";
  for (std::size_t i = 0; i < cards.size(); ++i) {
    const ListedCard& card = cards[i];
    out += i == 0 ? "\n" : ",\n";
    out += "  {\"number\": " + jsonString(card.number) +
           ", \"hotKey\": " + (card.hotKey ? std::to_string(*card.hotKey) : "null") +
           ", \"category\": " + jsonString(card.category) + ", \"name\": " + jsonString(card.name) +
           ", \"protected\": " + (card.isProtected ? "true" : "false") +
           ", \"linked\": " + (card.linked ? "true" : "false") + "}";
  }
  return out + "\n]\n";
}

}  // namespace qw::remote
