#include "core/text/text_search.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/text/utf8.h"

namespace qw::text {
namespace {

// Bytes of a multi-byte UTF-8 sequence are all 0x80 or above, so folding A to Z byte by byte
// never touches them, and a needle that starts on a character cannot match in mid-sequence.

// The byte offset of code point `index`, or nothing when the text has fewer.
std::optional<std::size_t> byteOffsetOf(std::string_view text, std::int64_t index) {
  std::int64_t seen = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!startsCodePoint(text[at])) continue;
    if (seen == index) return at;
    ++seen;
  }
  if (seen == index) return text.size();
  return std::nullopt;
}

// The text is folded a window at a time into one reused buffer rather than copied whole.
// Consecutive windows overlap by the needle's length less one, so no hit is cut in two.
constexpr std::size_t kWindow = std::size_t{1} << 16;

}  // namespace

std::optional<std::int64_t> findText(std::string_view text, std::string_view needle,
                                     std::int64_t from) {
  from = std::max<std::int64_t>(from, 0);
  const std::optional<std::size_t> start = byteOffsetOf(text, from);
  if (needle.empty() || !start) return std::nullopt;

  std::string folded(needle);
  std::transform(folded.begin(), folded.end(), folded.begin(), asciiLower);
  std::string window;
  for (std::size_t at = *start; at < text.size() && text.size() - at >= folded.size();
       at += kWindow) {
    const std::string_view part = text.substr(at, kWindow + folded.size() - 1);
    window.resize(part.size());
    std::transform(part.begin(), part.end(), window.begin(), asciiLower);
    if (const std::size_t hit = window.find(folded); hit != std::string::npos)
      return from + codePointCount(text.substr(*start, at + hit - *start));
  }
  return std::nullopt;
}

}  // namespace qw::text
