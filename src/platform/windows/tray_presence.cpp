#include "platform/tray_presence.h"

#include <windows.h>

namespace qw::platform {

// Explorer's task bar holds the notification area; once it is up, Qt adds the icon, and adds
// it again whenever Explorer starts anew.
bool notificationAreaIsUp() { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }

}  // namespace qw::platform
