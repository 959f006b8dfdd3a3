#pragma once
// Reading and writing the key files of the freedesktop.org desktop entry format: .desktop files
// and the mimeapps.list files that name the default application of a type.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::platform::desktop_entry {

// The raw value of `key` in the group `[group]` of key-file text; nothing when absent.
std::optional<std::string> value(std::string_view text, std::string_view group,
                                 std::string_view key);

// The items of a ';'-separated list value, empty items left out.
std::vector<std::string> listItems(std::string_view value);

// The Exec value that runs `program` without arguments: quoted when it holds a reserved
// character, then escaped as a string value, so that any path survives.
std::string execValue(std::string_view program);

// The program of an Exec value: its first argument with the string escapes and the quoting
// undone. Empty when there is none or its quote is never closed.
std::string execProgram(std::string_view value);

}  // namespace qw::platform::desktop_entry
