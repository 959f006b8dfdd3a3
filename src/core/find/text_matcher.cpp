#include "core/find/text_matcher.h"

#include <algorithm>

#include "core/text/accent_folding.h"
#include "core/text/utf8.h"

namespace qw::find {
namespace {

void appendFolded(std::string& out, std::string_view text, bool ignoreAccents) {
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<unsigned char>(text[at]) < 0x80 || !ignoreAccents) {
      out += text::asciiLower(text[at++]);
      continue;
    }
    const char32_t c = text::nextCodePoint(text, at);
    if (text::isCombiningMark(c)) continue;
    const char32_t base = text::foldAccent(c);
    if (base < 0x80)
      out += text::asciiLower(static_cast<char>(base));
    else
      text::appendUtf8(out, base);
  }
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
  appendFolded(needle_, needle, ignoreAccents);
}

void TextMatcher::foldWithOrigins(std::string_view text) {
  folded_.clear();
  origin_.clear();
  folded_.reserve(text.size());
  origin_.reserve(text.size() + 1);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t from = at;
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      folded_ += text::asciiLower(text[at++]);
      origin_.push_back(static_cast<std::uint32_t>(from));
      continue;
    }
    const char32_t c = text::nextCodePoint(text, at);
    if (text::isCombiningMark(c)) continue;
    const std::size_t before = folded_.size();
    const char32_t base = text::foldAccent(c);
    if (base < 0x80)
      folded_ += text::asciiLower(static_cast<char>(base));
    else
      text::appendUtf8(folded_, base);
    origin_.resize(origin_.size() + (folded_.size() - before), static_cast<std::uint32_t>(from));
  }
  origin_.push_back(static_cast<std::uint32_t>(text.size()));
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
    if (!found({origin_[at], origin_[at + needle_.size()]})) return;
  }
}

}  // namespace qw::find
