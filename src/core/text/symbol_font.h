#pragma once
// The Symbol font and its own encoding (Adobe Symbol): byte 0x61 draws α, 0xB7 the bullet, and
// so on. Windows programs keep Greek, mathematical signs and list bullets in this font as its
// bytes, or as those bytes moved to U+F000 + byte in the private use area. Read as the
// characters the font draws there, such text needs the font no more: editors that are not
// Windows' show nothing for those characters in a font named Symbol.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text/utf8.h"

namespace qw::text {

// The family "Symbol", in any case.
bool isSymbolFontFamily(std::string_view family);

// The character that byte `b` of the Symbol font draws. Bytes below 0x20 are themselves; a byte
// the encoding leaves undefined is U+F000 + b, as Windows maps it.
char32_t symbolFontCharacter(unsigned char b);

// The private-use places U+F020..U+F0FF, where Windows puts the glyphs of symbol fonts.
constexpr bool isSymbolFontPlace(char32_t c) { return c >= 0xF020 && c <= 0xF0FF; }

// A character at such a place whose byte the Symbol font defines: in that font it stands for
// symbolFontCharacter of its low byte.
bool isSymbolFontPrivateUse(char32_t c);
bool hasSymbolFontPrivateUse(std::string_view utf8);

// Walks text of the Symbol font: `kept(stretch)` for the stretches without such characters,
// `drawn(character)` with the character each of them stands for, in order.
template <class Kept, class Drawn>
void splitSymbolFontPrivateUse(std::string_view utf8, Kept kept, Drawn drawn) {
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t at = pos;
    const auto c = decodeUtf8(utf8, pos);
    if (!c) {
      ++pos;
    } else if (isSymbolFontPrivateUse(*c)) {
      if (at > start) kept(utf8.substr(start, at - start));
      drawn(symbolFontCharacter(static_cast<unsigned char>(*c)));
      start = pos;
    }
  }
  if (pos > start) kept(utf8.substr(start));
}

}  // namespace qw::text
