#pragma once
// The generated tables behind foldAccent: the base letter of every code point from U+00C0 to
// U+024F, where nearly every accented letter of a card lies, then the other Latin letters with
// a diacritic and their base letter, sorted by letter.

#include <cstddef>

namespace qw::text::detail {

inline constexpr char32_t kLatinFoldsFirst = 0x00C0;
inline constexpr char32_t kLatinFoldsEnd = 0x0250;
extern const char16_t kLatinFolds[];

struct AccentFold {
  char32_t letter;
  char32_t base;
};

extern const AccentFold kAccentFolds[];
extern const std::size_t kAccentFoldCount;

}  // namespace qw::text::detail
