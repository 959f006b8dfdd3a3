#pragma once
// The window program is a module of its own (quillwick-window.so, .dll), so that a start with a
// command, which only talks to the running copy, loads none of the GUI libraries: main() loads
// the module for every other start and calls its entry.

namespace qw::app {

// The entry's name in the module, and its type: the arguments (QApplication keeps a reference
// to the count), how the program was started (a StartMode), and whether the data folder may be
// beside the executable. Returns the exit code.
inline constexpr char kWindowEntry[] = "quillwickWindowMain";
using WindowEntry = int (*)(int* argc, char** argv, int startMode, int portable);

}  // namespace qw::app
