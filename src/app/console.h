#pragma once
// The standard channels of a command: on Windows the program has no console of its own, so a
// command started from one writes to that one.

#include <cstddef>
#include <string>

namespace qw::app {

// Windows: attaches to the console of the shell that started the command when the channels
// lead nowhere (they stay as they are when redirected), and writes UTF-8 to it.
void useParentConsole();

// Bytes as they stand, never line ends translated.
void writeOut(const std::string& bytes);
void writeError(const std::string& bytes);
// Standard input to its end, or the first `limit` bytes.
std::string readInput(std::size_t limit);

}  // namespace qw::app
