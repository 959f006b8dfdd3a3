#pragma once
// Searching with accents ignored: a Latin letter with a diacritic stands for its base letter,
// and a combining mark after a letter is passed over.

#include "core/text/accent_folding_table.h"

namespace qw::text {

char32_t foldAccentBeyondLatin(char32_t letter);

// The base letter of a Latin letter with a diacritic (é → e, Ǖ → U, ø → o); any other code
// point unchanged. Letter case is kept. Inline: a search ignoring accents asks it of every
// letter beyond ASCII.
inline char32_t foldAccent(char32_t letter) {
  if (letter < detail::kLatinFoldsFirst) return letter;  // ASCII and Latin-1's signs
  if (letter < detail::kLatinFoldsEnd)
    return detail::kLatinFolds[letter - detail::kLatinFoldsFirst];
  return foldAccentBeyondLatin(letter);
}

// The combining diacritical marks, which decomposed text puts after its base letter.
bool isCombiningMark(char32_t codePoint);

}  // namespace qw::text
