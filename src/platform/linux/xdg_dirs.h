#pragma once
// The per-user and system folders of the XDG base directory rules. Variables that are unset,
// empty or hold a relative path are ignored in favour of the defaults, as those rules ask.

#include <filesystem>
#include <vector>

namespace qw::platform::xdg {

// $HOME, else the home folder of the user database; empty when neither is known.
std::filesystem::path homeDir();

// $XDG_CONFIG_HOME or ~/.config; empty when there is no home folder.
std::filesystem::path configHome();

// $XDG_DATA_HOME or ~/.local/share; empty when there is no home folder.
std::filesystem::path dataHome();

// $XDG_CONFIG_DIRS or /etc/xdg, most important first.
std::vector<std::filesystem::path> configDirs();

// $XDG_DATA_DIRS or /usr/local/share and /usr/share, most important first.
std::vector<std::filesystem::path> dataDirs();

}  // namespace qw::platform::xdg
