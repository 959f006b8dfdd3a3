#pragma once

#include <string>

namespace qw::platform {

// The executable of the user's default web browser, or empty when none is registered.
std::string defaultBrowserPath();

}  // namespace qw::platform
