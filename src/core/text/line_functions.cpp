#include "core/text/line_functions.h"

#include <algorithm>
#include <limits>

namespace qw::text {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
// Past this the magnitude stops growing: it is out of range either way, and it cannot overflow.
constexpr std::int64_t kMagnitudeCap = kInt32Max + 2;

int digitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  return value < base ? value : -1;
}

std::size_t skipSpaces(std::string_view s) {
  std::size_t at = 0;
  while (at < s.size() && s[at] == ' ') ++at;
  return at;
}

}  // namespace

std::int32_t numericKey(std::string_view line) {
  std::size_t at = skipSpaces(line);
  bool negative = false;
  int base = 10;
  if (at < line.size() && (line[at] == '-' || line[at] == '+')) {
    negative = line[at] == '-';
    ++at;
  } else if (at < line.size() && (line[at] == '$' || line[at] == 'x' || line[at] == 'X')) {
    base = 16;
    ++at;
  } else if (at + 1 < line.size() && line[at] == '0' &&
             (line[at + 1] == 'x' || line[at + 1] == 'X')) {
    base = 16;
    at += 2;
  }
  std::int64_t magnitude = 0;
  for (int digit; at < line.size() && (digit = digitValue(line[at], base)) >= 0; ++at)
    magnitude = std::min(magnitude * base + digit, kMagnitudeCap);
  // A number followed by anything else keeps only its digits, not its sign.
  const std::int64_t key = at == line.size() && negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp(key, kInt32Min, kInt32Max));
}

std::vector<std::string> sortLinesText(std::vector<std::string> lines, const Collate& collate,
                                       bool descending) {
  if (descending)
    std::sort(lines.begin(), lines.end(),
              [&](const std::string& a, const std::string& b) { return collate(b, a) < 0; });
  else
    std::sort(lines.begin(), lines.end(),
              [&](const std::string& a, const std::string& b) { return collate(a, b) < 0; });
  return lines;
}

std::vector<std::string> sortLinesNumeric(std::vector<std::string> lines, bool descending) {
  // Each key is read once; the strings move once, into their final place.
  struct Keyed {
    std::int32_t key;
    std::size_t index;
  };
  std::vector<Keyed> order(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) order[i] = {numericKey(lines[i]), i};
  if (descending)
    std::sort(order.begin(), order.end(), [](Keyed a, Keyed b) { return a.key > b.key; });
  else
    std::sort(order.begin(), order.end(), [](Keyed a, Keyed b) { return a.key < b.key; });
  std::vector<std::string> sorted;
  sorted.reserve(lines.size());
  for (const Keyed& k : order) sorted.push_back(std::move(lines[k.index]));
  return sorted;
}

std::vector<int> emptyLinesToRemove(const std::vector<std::string>& lines) {
  // Deleting a line never moves the last line from the end, so the loop that re-examines the
  // same index after a deletion sees exactly every line but the last.
  std::vector<int> removed;
  const int last = static_cast<int>(lines.size()) - 1;
  for (int i = 0; i < last; ++i)
    if (lines[static_cast<std::size_t>(i)].empty()) removed.push_back(i);
  return removed;
}

int leadingSpaces(std::string_view line) { return static_cast<int>(skipSpaces(line)); }

}  // namespace qw::text
