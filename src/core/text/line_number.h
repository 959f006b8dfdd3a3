#pragma once
// The whole number typed into the go-to-line field.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qw::text {

// Optional leading spaces, then either an optional "+" or "-" and decimal digits, or
// hexadecimal digits (either case) after "$", "x", "X", "0x" or "0X". Anything else, trailing
// spaces and an empty text included, and any value outside 64 bits gives nothing.
std::optional<std::int64_t> parseLineNumber(std::string_view text);

}  // namespace qw::text
