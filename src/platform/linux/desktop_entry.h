#pragma once
// The Exec line of a freedesktop.org desktop entry (the autostart entry's): its quoting and
// escapes, both ways.

#include <string>
#include <string_view>

namespace qw::platform::desktop_entry {

// The Exec value that runs `program` without arguments: quoted when it holds a reserved
// character, then escaped as a string value, so that any path survives.
std::string execValue(std::string_view program);

// The program of an Exec value: its first argument with the string escapes and the quoting
// undone. Empty when there is none or its quote is never closed.
std::string execProgram(std::string_view value);

}  // namespace qw::platform::desktop_entry
