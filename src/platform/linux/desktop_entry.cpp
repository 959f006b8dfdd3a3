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
