#pragma once
// UTF-8, the only text form inside core: encoding, strict and lenient decoding.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qw::text {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Only A to Z change: the case rule of searches, name sorts and font names.
constexpr char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Appends the UTF-8 form of a code point; surrogates and values past U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// Decodes the sequence at `pos` and moves past it; nothing (and `pos` unchanged) on a
// truncated, overlong, surrogate or otherwise malformed sequence. Inline: the writer and the
// model checks call it for every character beyond ASCII.
inline std::optional<char32_t> decodeUtf8(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  int extra;
  char32_t cp;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (pos + extra >= s.size()) return std::nullopt;
  for (int i = 1; i <= extra; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + i]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += extra + 1;
  return cp;
}

// As decodeUtf8, but a malformed sequence yields U+FFFD and moves past one byte.
char32_t nextCodePoint(std::string_view s, std::size_t& pos);

bool isValidUtf8(std::string_view s);

// Whether a byte starts a code point rather than continuing one.
constexpr bool startsCodePoint(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// How many code points the bytes hold: every byte that does not continue a sequence counts.
std::int64_t codePointCount(std::string_view bytes);

// The text with every malformed byte replaced by U+FFFD.
std::string toValidUtf8(std::string_view s);

}  // namespace qw::text
