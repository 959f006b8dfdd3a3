#pragma once
// The generated table behind foldAccent: Latin letters with a diacritic and their base letter,
// sorted by letter.

#include <cstddef>

namespace qw::text::detail {

struct AccentFold {
  char32_t letter;
  char32_t base;
};

extern const AccentFold kAccentFolds[];
extern const std::size_t kAccentFoldCount;

}  // namespace qw::text::detail
