#include "core/text/accent_folding.h"

#include <algorithm>

namespace qw::text {

char32_t foldAccentBeyondLatin(char32_t letter) {
  const detail::AccentFold* begin = detail::kAccentFolds;
  const detail::AccentFold* end = begin + detail::kAccentFoldCount;
  const auto* found =
      std::lower_bound(begin, end, letter,
                       [](const detail::AccentFold& fold, char32_t c) { return fold.letter < c; });
  return found != end && found->letter == letter ? found->base : letter;
}

bool isCombiningMark(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
         (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) ||
         (c >= 0xFE20 && c <= 0xFE2F);
}

}  // namespace qw::text
