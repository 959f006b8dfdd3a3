// Start sequence: one copy per user, the data folder read while the main window is built, then
// the window and the socket the command line talks to. A start with a command is only a client
// of that copy.

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSessionManager>
#include <QStandardPaths>
#include <future>

#include "app/client.h"
#include "app/command_line.h"
#include "app/remote_client.h"
#include "app/termination_signals.h"
#include "core/notebook/error_text.h"
#include "gui/global_keys.h"
#include "gui/main_window.h"
#include "gui/performance_trace.h"
#include "gui/remote_server.h"
#include "platform/instance_lock.h"
#include "platform/remote_socket_name.h"
#include "platform/system_services.h"

namespace {

std::filesystem::path perUserDataHome() {
#ifdef _WIN32
  const QString appData = qEnvironmentVariable("APPDATA");
  if (!appData.isEmpty()) return appData.toStdWString();
#endif
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
}

std::filesystem::path executablePath() {
#ifdef _WIN32
  // Qt's path has forward slashes; every path the program shows is built on this one.
  return QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdWString();
#else
  return QCoreApplication::applicationFilePath().toStdString();
#endif
}

qw::store::StoreLocation storeLocation() {
  return {executablePath(), perUserDataHome(), QUILLWICK_PORTABLE != 0};
}

// A second start: the running copy shows its window, as Win+F2 does. True when it answered.
bool showRunningCopy() {
  using namespace std::chrono_literals;
  const qw::app::Reply reply =
      qw::app::askRunningCopy(qw::platform::remoteSocketName(),
                              qw::remote::Request{qw::remote::Command::Show, {}, {}}, 1s, 1s);
  return reply.delivery == qw::app::Reply::Delivery::Answered;
}

}  // namespace

int main(int argc, char** argv) {
  qw::gui::trace::mark("main");
  const qw::app::StartMode mode = qw::app::startMode(argc, argv);
  if (mode == qw::app::StartMode::Client) {
    // No GUI: a command is over before a window could have been drawn.
    const QCoreApplication client(argc, argv);
    return qw::app::runClient(storeLocation());
  }
  // Held until the process ends; the system frees it even after a crash.
  const qw::platform::InstanceLock lock(qw::app::kInstanceLockName);

  QApplication app(argc, argv);
  QApplication::setApplicationName("quillwick");
  // Lets the desktop match the windows to the installed launcher and its icon.
  QGuiApplication::setDesktopFileName("org.quillwick.QuillWick");
  // A tray program: closing a dialog while the window is hidden must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  if (lock.state() == qw::platform::InstanceLock::State::HeldElsewhere) {
    // A copy started for a command finds the copy that serves it already there.
    if (mode == qw::app::StartMode::InTray || showRunningCopy()) return 0;
    QMessageBox::information(nullptr, "Information", qw::gui::alreadyStartedMessage());
    return 0;
  }

  qw::platform::SystemServices platform;
  const qw::store::StoreLocation location = storeLocation();
  // The data folder is read while the window is built: with a second core, for nothing.
  auto loading = std::async(std::launch::async, [&location, &platform] {
    return qw::store::loadStore(location, platform);
  });
  qw::gui::MainWindow window(location, platform, nullptr, std::move(loading));
  if (mode == qw::app::StartMode::InTray) window.startInTray();
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
  qw::app::TerminationSignals termination;
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
