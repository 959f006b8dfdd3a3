#pragma once
// Searching with accents ignored: a Latin letter with a diacritic stands for its base letter,
// and a combining mark after a letter is passed over.

namespace qw::text {

// The base letter of a Latin letter with a diacritic (é → e, Ǖ → U, ø → o); any other code
// point unchanged. Letter case is kept.
char32_t foldAccent(char32_t letter);

// The combining diacritical marks, which decomposed text puts after its base letter.
bool isCombiningMark(char32_t codePoint);

}  // namespace qw::text
