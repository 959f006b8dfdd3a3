// On a Linux desktop no browser executable is looked up: the about dialog's link goes to
// QDesktopServices, which opens pages the desktop's way (xdg-open, the portals in a sandbox).
#include "platform/web_browser.h"

namespace qw::platform {

std::string defaultBrowserPath() { return {}; }

}  // namespace qw::platform
