#pragma once
// UTF-8, the only text form inside core: encoding, strict and lenient decoding.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qw::text {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Appends the UTF-8 form of a code point; surrogates and values past U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// Decodes the sequence at `pos` and moves past it; nothing (and `pos` unchanged) on a
// truncated, overlong, surrogate or otherwise malformed sequence.
std::optional<char32_t> decodeUtf8(std::string_view s, std::size_t& pos);

// As decodeUtf8, but a malformed sequence yields U+FFFD and moves past one byte.
char32_t nextCodePoint(std::string_view s, std::size_t& pos);

bool isValidUtf8(std::string_view s);

// The text with every malformed byte replaced by U+FFFD.
std::string toValidUtf8(std::string_view s);

}  // namespace qw::text
