#include "platform/tray_presence.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>
#include <string>

// Last: Xlib's macros (Bool, Status, None) break Qt's headers.
#include <X11/Xlib.h>

namespace qw::platform {
namespace {

// What Qt's D-Bus tray asks before it takes that way.
bool statusNotifierHostIsUp() {
  const QString watcher = "org.kde.StatusNotifierWatcher";
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher)) return false;
  const QDBusInterface watcherObject(watcher, "/StatusNotifierWatcher", watcher, bus);
  return watcherObject.isValid() &&
         watcherObject.property("IsStatusNotifierHostRegistered").toBool();
}

// The freedesktop.org system-tray protocol: the tray owns _NET_SYSTEM_TRAY_S<screen>.
bool x11TrayIsUp() {
  if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->display() == nullptr) return false;
  Display* display = x11->display();
  const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
  return XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False)) != None;
}

}  // namespace

bool notificationAreaIsUp() { return statusNotifierHostIsUp() || x11TrayIsUp(); }

}  // namespace qw::platform
