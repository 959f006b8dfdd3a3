#pragma once
// Colour values of the settings file: 32-bit 0x00BBGGRR values, written as a colour name or
// as "$" with eight upper-case hexadecimal digits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/rich_text.h"

namespace qw::store {

constexpr std::uint32_t kColourNone = 0x1FFFFFFF;
constexpr std::uint32_t kColourDefault = 0x20000000;
// A system colour is this flag with the index of the colour in the system palette.
constexpr std::uint32_t kSystemColourFlag = 0xFF000000;

// A colour name (exact case), "$" with 1 to 8 hexadecimal digits (any case), or a decimal
// 32-bit integer (negative values stand for their two's complement); nothing otherwise.
std::optional<std::uint32_t> parseColour(std::string_view text);

// The name of the colour when it has one, else "$" and eight upper-case hexadecimal digits.
std::string colourText(std::uint32_t colour);

// The same red, green and blue as the rich text's colours.
using Rgb = text::Rgb;

// The red, green and blue of a plain colour; nothing for system colours, clNone and clDefault,
// which only the GUI's palette can resolve.
std::optional<Rgb> rgbOf(std::uint32_t colour);
std::uint32_t colourOf(Rgb rgb);

}  // namespace qw::store
