#pragma once
// The line functions of the functions panel: sorts, empty lines, leading spaces. Lines are
// UTF-8 without their breaks; the editor side reads and rewrites them.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::text {

// The number a line starts with, after its leading spaces: a signed decimal, or hexadecimal
// after "$", "x", "X", "0x" or "0X". The sign counts only when the number is the whole rest of
// the line ("-5" is -5, "-5 apples" is 5); no digits give 0. Values beyond 32 bits clamp to
// INT32_MIN / INT32_MAX.
std::int32_t numericKey(std::string_view line);

// A three-way comparison: below 0, 0 or above 0.
using Collate = std::function<int(const std::string&, const std::string&)>;

// Both return the lines in the order they end up in the editor: ascending, or descending when
// asked. Lines that compare equal come in no particular order.
std::vector<std::string> sortLinesText(std::vector<std::string> lines, const Collate& collate,
                                       bool descending);
std::vector<std::string> sortLinesNumeric(std::vector<std::string> lines, bool descending);

// Ascending indices of the lines removing empty lines deletes: every empty line but the last
// line, which stays even when empty.
std::vector<int> emptyLinesToRemove(const std::vector<std::string>& lines);

// How many U+0020 spaces a line starts with; a tab is not one.
int leadingSpaces(std::string_view line);

}  // namespace qw::text
