#pragma once
// Conversion between the byte encodings of stored files and UTF-8, the only text form inside core.

#include <optional>
#include <string>
#include <string_view>

namespace qw::text {

// Appends the UTF-8 form of a code point; surrogates and values past U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined map to the C1
// controls of the same value, as Windows itself does, so every byte survives a round trip.
std::string decodeWindows1252(std::string_view bytes);

// UTF-8 to Windows-1252; nothing when a character has no byte there or the input is not UTF-8.
std::optional<std::string> encodeWindows1252(std::string_view utf8);

}  // namespace qw::text
