#include "core/store/index_line.h"

#include <charconv>

#include "core/store/card_index.h"

namespace qw::store {
namespace {

constexpr auto npos = std::string_view::npos;

// The line after its first `separator`; the whole line when there is none.
std::string_view after(std::string_view line, char separator) {
  const auto at = line.find(separator);
  return at == npos ? line : line.substr(at + 1);
}

// The text before the first `separator`; empty when there is none.
std::string_view before(std::string_view line, char separator) {
  const auto at = line.find(separator);
  return at == npos ? std::string_view() : line.substr(0, at);
}

// Where the third "-"-delimited field, the "-H<slot>" part, starts; npos when the line has
// fewer than two "-".
size_t hotKeyFieldStart(std::string_view line) {
  const auto first = line.find('-');
  if (first == npos) return npos;
  const auto second = line.find('-', first + 1);
  return second == npos ? npos : second + 1;
}

// That field; empty unless a "-" closes it.
std::string_view hotKeyField(std::string_view line) {
  const auto start = hotKeyFieldStart(line);
  return start == npos ? std::string_view() : before(line.substr(start), '-');
}

}  // namespace

std::string fileNumber(std::string_view line) { return std::string(before(line, ';')); }

std::string categoryId(std::string_view line) { return std::string(before(after(line, '-'), '-')); }

std::optional<int> hotKeySlot(std::string_view line) {
  const auto field = hotKeyField(line);
  if (field.size() < 2 || field[0] != 'H' || field[1] < '0' || field[1] > '9') return std::nullopt;
  int slot = 0;
  const auto [end, error] = std::from_chars(field.data() + 1, field.data() + field.size(), slot);
  if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return slot;
}

bool isLinked(std::string_view line) { return line.find("-1:") != npos; }

bool hasOwnFile(std::string_view line) { return line.find("-0:") != npos; }

std::string displayName(std::string_view line) { return std::string(after(line, ':')); }

std::optional<long long> cardFileNumber(std::string_view line) {
  const auto semicolon = line.find(';');
  if (semicolon == npos || line.substr(semicolon + 1, 1) != "-" ||
      line.find(':', semicolon) == npos)
    return std::nullopt;
  return parseCounter(line.substr(0, semicolon));
}

bool filterShowsCategory(std::string_view filter, std::string_view categoryId) {
  const std::string needle = "-" + std::string(categoryId) + "-";
  return filter.find(needle) != npos;
}

bool shownByFilter(std::string_view line, std::string_view filter) {
  return filterShowsCategory(filter, categoryId(line));
}

std::string withoutHotKey(std::string_view line) {
  // Only the field hotKeySlot() reads: a category id may begin with "H" as well.
  if (!hotKeySlot(line)) return std::string(line);
  const auto start = hotKeyFieldStart(line);
  const auto closing = line.find('-', start);
  return std::string(line.substr(0, start)) + std::string(line.substr(closing + 1));
}

std::string makeIndexLine(std::string_view fileNumber, std::string_view categoryId,
                          std::optional<int> hotKeySlot, bool linked, std::string_view name) {
  std::string line(fileNumber);
  line += ";-";
  line += categoryId;
  if (hotKeySlot) line += "-H" + std::to_string(*hotKeySlot);
  line += linked ? "-1:" : "-0:";
  line += name;
  return line;
}

bool isOldFormat(std::string_view firstLine) {
  const auto colon = firstLine.find(':');
  return firstLine.find(';') == npos && colon != npos && colon >= 1;
}

std::string convertOldLine(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == npos) return std::string(line);
  return std::string(line.substr(0, colon)) + ";-0-" + std::string(line.substr(colon + 1));
}

}  // namespace qw::store
