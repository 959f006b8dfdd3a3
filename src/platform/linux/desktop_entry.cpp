#include "platform/linux/desktop_entry.h"

namespace qw::platform::desktop_entry {
namespace {

constexpr std::string_view kBlank = " \t";

// Characters that oblige an Exec argument to be quoted.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// Characters escaped with a backslash inside a quoted Exec argument.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

std::string_view trimLeft(std::string_view s) {
  const auto first = s.find_first_not_of(kBlank);
  return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view trimRight(std::string_view s) {
  const auto last = s.find_last_not_of(kBlank);
  return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

// Undoes the escapes of string values. An unknown escape is kept whole, so that the quoting
// rules of Exec still see the backslash some files write before a quote.
std::string unescapeString(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    switch (s[i + 1]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default: out += s.substr(i, 2); break;
    }
    ++i;
  }
  return out;
}

std::string escapeString(std::string_view s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c; break;
    }
  }
  return out;
}

// A literal '%' would otherwise be read as a field code.
std::string escapePercent(std::string_view s) {
  std::string out;
  for (const char c : s) {
    if (c == '%') out += '%';
    out += c;
  }
  return out;
}

std::string unescapePercent(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    out += s[i];
    if (s[i] == '%' && i + 1 < s.size() && s[i + 1] == '%') ++i;
  }
  return out;
}

}  // namespace

std::optional<std::string> value(std::string_view text, std::string_view group,
                                 std::string_view key) {
  bool inGroup = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = trimLeft(line);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      inGroup = close != std::string_view::npos && line.substr(1, close - 1) == group;
      continue;
    }
    if (!inGroup) continue;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (trimRight(line.substr(0, equals)) == key) {
      return std::string(trimLeft(line.substr(equals + 1)));
    }
  }
  return std::nullopt;
}

std::vector<std::string> listItems(std::string_view value) {
  std::vector<std::string> items;
  std::string item;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == ';') {
      item += ';';
      ++i;
    } else if (value[i] == ';') {
      if (!item.empty()) items.push_back(std::move(item));
      item.clear();
    } else {
      item += value[i];
    }
  }
  if (!item.empty()) items.push_back(std::move(item));
  return items;
}

std::string execValue(std::string_view program) {
  std::string argument;
  if (program.find_first_of(kReserved) == std::string_view::npos) {
    argument = program;
  } else {
    argument = '"';
    for (const char c : program) {
      if (kEscapedInQuotes.find(c) != std::string_view::npos) argument += '\\';
      argument += c;
    }
    argument += '"';
  }
  // Quoting comes first and the string escapes last: readers undo them in the other order.
  return escapeString(escapePercent(argument));
}

std::string execProgram(std::string_view value) {
  const std::string line = unescapeString(value);
  std::string_view rest = trimLeft(line);
  std::string program;
  if (!rest.empty() && rest.front() == '"') {
    bool closed = false;
    for (size_t i = 1; i < rest.size(); ++i) {
      if (rest[i] == '"') {
        closed = true;
        break;
      }
      if (rest[i] == '\\' && i + 1 < rest.size()) ++i;
      program += rest[i];
    }
    if (!closed) return {};
  } else {
    program = rest.substr(0, rest.find_first_of(" \t\n"));
  }
  return unescapePercent(program);
}

}  // namespace qw::platform::desktop_entry
