// Start sequence: one copy per user, the data folder read while the main window is built, then
// the window.

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSessionManager>
#include <QStandardPaths>
#include <future>

#include "app/termination_signals.h"
#include "core/notebook/error_text.h"
#include "gui/global_keys.h"
#include "gui/main_window.h"
#include "gui/performance_trace.h"
#include "platform/instance_lock.h"
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

}  // namespace

int main(int argc, char** argv) {
  qw::gui::trace::mark("main");
  // Held until the process ends; the system frees it even after a crash.
  const qw::platform::InstanceLock lock("quillWick001");

  QApplication app(argc, argv);
  QApplication::setApplicationName("quillwick");
  // Lets the desktop match the windows to the installed launcher and its icon.
  QGuiApplication::setDesktopFileName("org.quillwick.QuillWick");
  // A tray program: closing a dialog while the window is hidden must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  if (lock.state() == qw::platform::InstanceLock::State::HeldElsewhere) {
    QMessageBox::information(nullptr, "Information", qw::gui::alreadyStartedMessage());
    return 0;
  }

  qw::platform::SystemServices platform;
  const qw::store::StoreLocation location{executablePath(), perUserDataHome(),
                                          QUILLWICK_PORTABLE != 0};
  // The data folder is read while the window is built: with a second core, for nothing.
  auto loading = std::async(std::launch::async, [&location, &platform] {
    return qw::store::loadStore(location, platform);
  });
  qw::gui::MainWindow window(location, platform, nullptr, std::move(loading));
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
  return app.exec();
}
