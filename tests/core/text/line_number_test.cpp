#include "core/text/line_number.h"

#include <gtest/gtest.h>

#include <optional>

namespace qw::text {
namespace {

TEST(LineNumber, AcceptsSignedDecimalsAndPrefixedHex) {
  const struct {
    const char* text;
    std::int64_t value;
    // clang-format off
  } cases[] = {
      {"3", 3}, {"0", 0}, {"-2", -2}, {"+7", 7}, {"007", 7}, {" 5", 5}, {"   12", 12}, {"$A", 10},
      {"$a", 10}, {"x1f", 31}, {"X1F", 31}, {"0x1F", 31}, {"0X1f", 31}, {"-0", 0}, {"0x0", 0},
      {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN},
      {"$7FFFFFFFFFFFFFFF", INT64_MAX},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(parseLineNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(LineNumber, RefusesAnythingElse) {
  // clang-format off
  for (const char* text :
       {"", "   ", "abc", "3 ", "1 2", "\t5", "0x", "$", "x", "-", "+", "+-5", "--5", "-$5",
        "$-5", "$+5", "0x-5", "- 5", "1.5", "1e3", "0x0x1", "$G", "12abc", "9223372036854775808",
        "-9223372036854775809", "$8000000000000000", "99999999999999999999999"})
    // clang-format on
    EXPECT_EQ(parseLineNumber(text), std::nullopt) << '"' << text << '"';
}

}  // namespace
}  // namespace qw::text
