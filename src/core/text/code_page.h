#pragma once
// Conversion between the byte encodings of stored files and UTF-8, the only text form inside core.

#include <optional>
#include <string>
#include <string_view>

#include "core/text/utf8.h"

namespace qw::text {

// Windows' own numbers for the two code pages that are not tables of bytes.
constexpr int kSymbolCodePage = 42;  // a symbol font's byte b is U+F000 + b
constexpr int kUtf8CodePage = 65001;
// Ours, outside the numbers a document can name: the Symbol font's encoding (symbol_font.h).
constexpr int kSymbolFontCodePage = -2;

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined map to the C1
// controls of the same value, as Windows itself does, so every byte survives a round trip.
std::string decodeWindows1252(std::string_view bytes);

// UTF-8 to Windows-1252; nothing when a character has no byte there or the input is not UTF-8.
std::optional<std::string> encodeWindows1252(std::string_view utf8);

// The Windows-1252 byte of a code point (the five C1 controls included), or -1.
int windows1252Byte(char32_t codePoint);

// Bytes in a Windows code page to UTF-8, appended to `out`. Single-byte: 437, 850, 874,
// 1250-1258, 10000 (Mac Roman); double-byte: 932, 936, 949, 950, where a lead byte and its
// trail byte are decoded together; also kSymbolCodePage, kSymbolFontCodePage and kUtf8CodePage.
// A byte or pair the code page leaves undefined becomes U+FFFD; any other code page is read
// as 1252.
void appendDecoded(std::string& out, std::string_view bytes, int codePage);
std::string decodeCodePage(std::string_view bytes, int codePage);

// The code page of an RTF \fcharsetN (a Windows character set number); 0 when the character
// set has none of its own (DEFAULT_CHARSET, unknown values): the document's code page applies.
int codePageOfCharset(int fcharset);

}  // namespace qw::text
