#pragma once
// Positions in a card's text. A stored position (the selection start kept in a card's settings
// file) counts characters (code points) with every line break counting two, CR LF. A flat
// position counts as QTextDocument and QTextCursor do: UTF-16 code units, every line break one.
//
// `text` is the plain text in UTF-8; CR LF, a lone CR, LF, U+2028 and U+2029 are each one line
// break, so plainText(model) and the GUI's document text (toRawText) both serve.

#include <cstdint>
#include <string_view>

namespace qw::text {

// Positions are clamped to the text: below 0 is 0, past the end is the end. A stored position
// between the CR and the LF of a break means the start of that break; a flat position between
// the two halves of a surrogate pair means the start of that character.
std::int64_t storedToFlat(std::string_view text, std::int64_t stored);
std::int64_t flatToStored(std::string_view text, std::int64_t flat);

std::int64_t storedLength(std::string_view text);

}  // namespace qw::text
