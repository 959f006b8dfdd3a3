#pragma once
// What kind of desktop session the program runs in, read from the environment before any Qt
// platform exists.

#include <cstdlib>
#include <string_view>

namespace qw::platform {

// A Wayland session, whether the program talks to it natively or through XWayland: there, X key
// grabs see only the keys typed into X windows, so the keys must go through the desktop.
inline bool isWaylandSession() {
#if defined(_WIN32)
  return false;
#else
  const char* type = std::getenv("XDG_SESSION_TYPE");
  if (type != nullptr && std::string_view(type) == "wayland") return true;
  const char* display = std::getenv("WAYLAND_DISPLAY");
  return display != nullptr && *display != '\0';
#endif
}

}  // namespace qw::platform
