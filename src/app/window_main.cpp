// The window program's start sequence: one copy per user, the data folder read while the main
// window is built, then the window and the socket the command line talks to.

#include <QApplication>
#include <QMessageBox>
#include <QSessionManager>
#include <future>
#include <type_traits>

#include "app/client.h"
#include "app/command_line.h"
#include "app/remote_client.h"
#include "app/store_location.h"
#include "app/termination_signals.h"
#include "app/tray_wait.h"
#include "app/window_program.h"
#include "core/notebook/error_text.h"
#include "gui/global_keys.h"
#include "gui/main_window.h"
#include "gui/performance_trace.h"
#include "gui/remote_server.h"
#include "platform/desktop_session.h"
#include "platform/instance_lock.h"
#include "platform/remote_socket_name.h"
#include "platform/system_services.h"
#include "platform/tray_presence.h"

namespace {

using namespace std::chrono_literals;

// How long a start at logon waits for the panel's tray before it shows the window instead.
constexpr auto kTrayWaitAtLogon = 30s;

// A second start: the running copy shows its window, as Win+F2 does. True when it answered.
bool showRunningCopy() {
  const qw::app::Reply reply =
      qw::app::askRunningCopy(qw::platform::remoteSocketName(),
                              qw::remote::Request{qw::remote::Command::Show, {}, {}}, 1s, 1s);
  return reply.delivery == qw::app::Reply::Delivery::Answered;
}

}  // namespace

#ifdef _WIN32
#define QW_WINDOW_EXPORT __declspec(dllexport)
#else
#define QW_WINDOW_EXPORT __attribute__((visibility("default")))
#endif

extern "C" QW_WINDOW_EXPORT int quillwickWindowMain(int* argc, char** argv, int startMode,
                                                    int portable) {
  static_assert(std::is_same_v<decltype(&quillwickWindowMain), qw::app::WindowEntry>);
  qw::gui::trace::mark("main");
  // Held until the process ends; the system frees it even after a crash.
  const qw::platform::InstanceLock lock(qw::app::kInstanceLockName);

#ifndef _WIN32
  // WORKAROUND: on a Wayland session the window runs through XWayland, unless the user asked
  // for another platform. A native Wayland client may neither place its windows (the notice of
  // the keys stands in the screen's corner, above the others) nor write the clipboard while
  // another program has the focus, which is when the keys are pressed.
  if (qw::platform::isWaylandSession() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
      !qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
#endif

  QApplication app(*argc, argv);
  QApplication::setApplicationName("quillwick");
  // Lets the desktop match the windows to the installed launcher and its icon.
  QGuiApplication::setDesktopFileName("org.quillwick.QuillWick");
  // A tray program: closing a dialog while the window is hidden must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  const auto mode = static_cast<qw::app::StartMode>(startMode);
  if (lock.state() == qw::platform::InstanceLock::State::HeldElsewhere) {
    // A copy started for a command, or by the session, finds the copy it wanted already there.
    if (mode != qw::app::StartMode::Window || showRunningCopy()) return 0;
    QMessageBox::information(nullptr, "Information", qw::gui::alreadyStartedMessage());
    return 0;
  }

  qw::platform::SystemServices platform;
  const qw::store::StoreLocation location = qw::app::storeLocation(portable != 0);
  // The data folder is read while the window is built: with a second core, for nothing.
  auto loading = std::async(std::launch::async, [&location, &platform] {
    return qw::store::loadStore(location, platform);
  });
  qw::gui::MainWindow window(location, platform, nullptr, std::move(loading));
  if (mode == qw::app::StartMode::InTray) window.startInTray();
  qw::app::TerminationSignals termination;
  if (mode == qw::app::StartMode::AtLogon) {
    qw::app::TrayWait wait(&qw::platform::notificationAreaIsUp, kTrayWaitAtLogon);
    QObject::connect(&termination, &qw::app::TerminationSignals::received, &wait,
                     &qw::app::TrayWait::cancel);
    // Nothing is shown yet: a session that ends meanwhile just ends the program.
    if (wait.run() == qw::app::TrayWait::Outcome::Cancelled) return 0;
  }
  // A start without usable data says why before any window shows, and ends. The language is
  // in the data, so the message speaks both, as the second-copy message does.
  try {
    window.loadData();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, "quillWick",
                          QString::fromStdString(qw::notebook::startFailureText(error)));
    return 1;
  }
  // The desktop is logging off: the close that follows ends the program.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager&) { window.endSession(); });
  // The end of a Windows session quits without closing the window first.
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &window,
                   &qw::gui::MainWindow::saveBeforeExit);
  QObject::connect(&termination, &qw::app::TerminationSignals::received, &window, [&window] {
    window.endSession();
    window.quit();
  });

  window.show();
  // Listens once the notebook is open: a command that comes earlier waits for it.
  qw::gui::RemoteServer remote(
      [&window](const qw::remote::ReadRequest& request) { return window.answerRemote(request); });
  // Only the lock's holder may take the place of a socket that a killed copy left.
  remote.listen(QString::fromStdString(qw::platform::remoteSocketName()),
                lock.state() == qw::platform::InstanceLock::State::Acquired);
  return app.exec();
}
