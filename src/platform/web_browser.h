#pragma once

#include <string>
#include <string_view>

namespace qw::platform {

// The executable of the user's default web browser, or empty when none is registered.
std::string defaultBrowserPath();

// The program of a registered command line such as `"C:\…\browser.exe" -nohome "%1"`: the text
// between its first two double quotes; empty when it holds fewer than two.
std::string quotedExecutable(std::string_view command);

}  // namespace qw::platform
