#include "core/find/text_matcher.h"

#include <algorithm>
#include <cstring>

#include "core/text/accent_folding.h"
#include "core/text/utf8.h"

namespace qw::find {
namespace {

// A letter beyond ASCII as a search ignoring accents sees it; a combining mark is dropped.
void appendFoldedLetter(std::string& out, char32_t c) {
  if (text::isCombiningMark(c)) return;
  const char32_t base = text::foldAccent(c);
  if (base < 0x80)
    out += text::asciiLower(static_cast<char>(base));
  else
    text::appendUtf8(out, base);
}

// How many bytes from the start are ASCII, looked at eight at a time.
std::size_t asciiRunLength(std::string_view text) {
  constexpr std::uint64_t kTopBits = 0x8080808080808080;
  std::size_t at = 0;
  for (std::uint64_t word; at + 8 <= text.size(); at += 8) {
    std::memcpy(&word, text.data() + at, sizeof word);
    if (word & kTopBits) break;
  }
  while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) ++at;
  return at;
}

// Where the next search starts after a hit at `start`: the next code point.
std::size_t nextStart(std::string_view text, std::size_t start) {
  ++start;
  while (start < text.size() && !text::startsCodePoint(text[start])) ++start;
  return start;
}

}  // namespace

TextMatcher::TextMatcher(std::string_view needle, bool ignoreAccents)
    : ignoreAccents_(ignoreAccents) {
  if (ignoreAccents) {
    foldWithOrigins(needle);
    needle_ = folded_;
  } else {
    needle_.resize(needle.size());
    std::transform(needle.begin(), needle.end(), needle_.begin(), text::asciiLower);
  }
}

void TextMatcher::foldWithOrigins(std::string_view text) {
  folded_.clear();
  origins_.clear();
  folded_.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    // A run of ASCII folds byte for byte and needs no entry of its own.
    const std::size_t run = asciiRunLength(text.substr(at));
    const std::size_t before = folded_.size();
    folded_.resize(before + run);
    std::transform(text.data() + at, text.data() + at + run, folded_.data() + before,
                   text::asciiLower);
    at += run;
    if (at >= text.size()) break;
    const std::size_t from = at;
    const std::size_t foldedFrom = folded_.size();
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead >= 0xC3 && lead <= 0xC9 && at + 1 < text.size() &&
        (static_cast<unsigned char>(text[at + 1]) & 0xC0) == 0x80) {
      // Two bytes of Latin-1 or Latin Extended, decoded here: most accented letters of a card.
      appendFoldedLetter(folded_, (char32_t(lead & 0x1F) << 6) | (text[at + 1] & 0x3F));
      at += 2;
    } else {
      appendFoldedLetter(folded_, text::nextCodePoint(text, at));
    }
    // Only where the folded character is shorter does the mapping shift.
    if (folded_.size() - foldedFrom != at - from) origins_.push_back({folded_.size(), at});
  }
}

std::size_t TextMatcher::originOf(std::size_t folded) const {
  // The last entry at or before `folded`; from there the bytes are ASCII, one for one.
  auto after = std::upper_bound(origins_.begin(), origins_.end(), folded,
                                [](std::size_t f, const Origin& o) { return f < o.folded; });
  if (after == origins_.begin()) return folded;
  --after;
  return after->text + (folded - after->folded);
}

void TextMatcher::forEach(std::string_view text, const std::function<bool(Occurrence)>& found) {
  if (needle_.empty() || text.empty()) return;
  if (!ignoreAccents_) {
    // A to Z only: the folded text has the same bytes at the same places.
    folded_.resize(text.size());
    std::transform(text.begin(), text.end(), folded_.begin(), text::asciiLower);
    const std::string_view haystack = folded_;
    for (std::size_t at = haystack.find(needle_); at != std::string_view::npos;
         at = haystack.find(needle_, nextStart(haystack, at)))
      if (!found({at, at + needle_.size()})) return;
    return;
  }
  foldWithOrigins(text);
  const std::string_view haystack = folded_;
  for (std::size_t at = haystack.find(needle_); at != std::string_view::npos;
       at = haystack.find(needle_, nextStart(haystack, at))) {
    // Marks passed over after the hit's last letter belong to it: the next folded byte's origin
    // lies past them.
    if (!found({originOf(at), originOf(at + needle_.size())})) return;
  }
}

}  // namespace qw::find
