#include "core/store/colour.h"

#include <array>
#include <charconv>
#include <utility>

namespace qw::store {
namespace {

constexpr std::uint32_t system(std::uint32_t index) { return kSystemColourFlag | index; }

// Each value has exactly one name, so writing and reading back agree.
constexpr std::array<std::pair<std::string_view, std::uint32_t>, 52> kNames = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", kColourNone},
    {"clDefault", kColourDefault},
    // System palette indexes as Windows numbers them (index 25 has no colour).
    {"clScrollBar", system(0)},
    {"clBackground", system(1)},
    {"clActiveCaption", system(2)},
    {"clInactiveCaption", system(3)},
    {"clMenu", system(4)},
    {"clWindow", system(5)},
    {"clWindowFrame", system(6)},
    {"clMenuText", system(7)},
    {"clWindowText", system(8)},
    {"clCaptionText", system(9)},
    {"clActiveBorder", system(10)},
    {"clInactiveBorder", system(11)},
    {"clAppWorkSpace", system(12)},
    {"clHighlight", system(13)},
    {"clHighlightText", system(14)},
    {"clBtnFace", system(15)},
    {"clBtnShadow", system(16)},
    {"clGrayText", system(17)},
    {"clBtnText", system(18)},
    {"clInactiveCaptionText", system(19)},
    {"clBtnHighlight", system(20)},
    {"cl3DDkShadow", system(21)},
    {"cl3DLight", system(22)},
    {"clInfoText", system(23)},
    {"clInfoBk", system(24)},
    {"clHotLight", system(26)},
    {"clGradientActiveCaption", system(27)},
    {"clGradientInactiveCaption", system(28)},
    {"clMenuHighlight", system(29)},
    {"clMenuBar", system(30)},
}};

std::optional<std::uint32_t> parseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> parseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  // from_chars would take a second sign; only digits may follow.
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative) {
    if (value > 0x80000000u) return std::nullopt;
    return static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value));
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

bool isUnresolved(std::uint32_t colour) {
  return colour == kColourNone || colour == kColourDefault ||
         (colour & kSystemColourFlag) == kSystemColourFlag;
}

}  // namespace

std::optional<std::uint32_t> parseColour(std::string_view text) {
  for (const auto& [name, value] : kNames)
    if (name == text) return value;
  if (text.starts_with('$')) return parseHex(text.substr(1));
  return parseDecimal(text);
}

std::string colourText(std::uint32_t colour) {
  for (const auto& [name, value] : kNames)
    if (value == colour) return std::string(name);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "$";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(colour >> shift) & 0xF];
  return text;
}

std::optional<Rgb> rgbOf(std::uint32_t colour) {
  if (isUnresolved(colour)) return std::nullopt;
  return Rgb{static_cast<std::uint8_t>(colour & 0xFF),
             static_cast<std::uint8_t>((colour >> 8) & 0xFF),
             static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

std::uint32_t colourOf(Rgb rgb) {
  return static_cast<std::uint32_t>(rgb.r) | (static_cast<std::uint32_t>(rgb.g) << 8) |
         (static_cast<std::uint32_t>(rgb.b) << 16);
}

}  // namespace qw::store
