#pragma once
// Whether the desktop's notification area is there yet, asked without Qt's tray code: Qt
// chooses between the D-Bus tray and the X11 one at its first question and keeps that answer,
// so asking it before the panel is up would pin the wrong one.

namespace qw::platform {

// True once the desktop shows a notification area: on Linux a StatusNotifier host on the
// session bus or an X11 tray manager owning the system-tray selection; on Windows the task
// bar. Needs the GUI application.
bool notificationAreaIsUp();

}  // namespace qw::platform
