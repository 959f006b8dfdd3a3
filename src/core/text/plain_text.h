#pragma once
// The plain text of a card: what search, the line functions and the hot-key texts work on.

#include <string>
#include <string_view>

#include "core/text/rich_text.h"

namespace qw::text {

// The text of the model with `lineBreak` between paragraphs and in place of every U+2028
// line separator.
std::string plainText(const RichText& text, std::string_view lineBreak = "\r\n");

// The plain text of a card file with CR LF line breaks, as plainText(readRtf(fileBytes))
// gives it, only faster.
std::string plainTextOfCard(std::string_view fileBytes);

// Bytes of a plain-text card to UTF-8: after a UTF-8 BOM the rest is UTF-8 (malformed bytes
// become U+FFFD), otherwise the bytes are Windows-1252.
std::string decodePlainText(std::string_view bytes);

}  // namespace qw::text
