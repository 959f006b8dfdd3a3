#include "core/text/line_number.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace qw::text {
namespace {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// All of `digits` as one number in `base`; from_chars would also take a sign, so the first
// character must already be a digit.
std::optional<std::int64_t> wholeNumber(std::string_view digits, int base, bool negative) {
  const bool digitFirst =
      !digits.empty() && (base == 16 ? isHexDigit(digits[0]) : isDecimalDigit(digits[0]));
  if (!digitFirst) return std::nullopt;
  // A negative number is read with its minus sign so that the lowest value still fits.
  std::string buffer;
  if (negative) buffer = "-";
  buffer += digits;
  std::int64_t value = 0;
  const char* end = buffer.data() + buffer.size();
  const auto [stop, error] = std::from_chars(buffer.data(), end, value, base);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::int64_t> parseLineNumber(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (text.starts_with("0x") || text.starts_with("0X"))
    return wholeNumber(text.substr(2), 16, false);
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
    return wholeNumber(text.substr(1), 16, false);
  if (text.starts_with('+') || text.starts_with('-'))
    return wholeNumber(text.substr(1), 10, text[0] == '-');
  return wholeNumber(text, 10, false);
}

}  // namespace qw::text
