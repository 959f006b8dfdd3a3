#include "e2e/wine_program.h"

#include <QTemporaryDir>
#include <stdexcept>

namespace qw::e2e {

namespace fs = std::filesystem;

namespace {

// A French locale compiled for this run (the machine may have none but C): glibc takes
// LC_MESSAGES only from a locale it has.
QString frenchLocaleFolder() {
  static QTemporaryDir folder;
  static const bool made = [] {
    QProcess localedef;
    localedef.start("localedef", {"-i", "fr_FR", "-f", "UTF-8", folder.filePath("fr_FR.UTF-8")});
    return folder.isValid() && localedef.waitForFinished(60000) && localedef.exitCode() == 0;
  }();
  if (!made) throw std::runtime_error("localedef could not make a fr_FR.UTF-8 locale");
  return folder.path();
}

}  // namespace

fs::path WineProgram::buildFolder() {
  const QString build = qEnvironmentVariable("QUILLWICK_WINDOWS_BUILD");
  if (build.isEmpty() || !fs::is_regular_file(build.toStdString() + "/QuillWick/quillwick.exe"))
    throw std::runtime_error(
        "QUILLWICK_WINDOWS_BUILD must name the Windows build folder holding "
        "QuillWick/quillwick.exe (it is \"" +
        build.toStdString() +
        "\"): run `make test-windows`, then QUILLWICK_WINDOWS_BUILD=$PWD/build-windows");
  return fs::absolute(build.toStdString());
}

fs::path WineProgram::installer() {
  for (const auto& entry : fs::directory_iterator(buildFolder())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("quillwick-") && name.ends_with("-setup.exe")) return entry.path();
  }
  throw std::runtime_error("no quillwick-<version>-setup.exe in " + buildFolder().string() +
                           ": run `make windows-installer`");
}

WineProgram::WineProgram(const Desktop& desktop)
    : desktop_(desktop), prefix_(buildFolder() / "wineprefix-e2e") {
  if (!folder_.isValid()) throw std::runtime_error("no temporary folder");
  fs::copy(buildFolder() / "QuillWick", folder(), fs::copy_options::recursive);
  // Made once per build folder; later calls return at once. Made without a display, so that
  // no window of Wine's set-up shows on some other screen.
  QProcess setUp;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  setUp.setProcessEnvironment(env);
  setUp.setProcessChannelMode(QProcess::ForwardedChannels);
  setUp.start(QW_SOURCE_DIR "/scripts/wine-prefix", {QString::fromStdString(prefix_.string())});
  if (!setUp.waitForFinished(300000) || setUp.exitCode() != 0)
    throw std::runtime_error("scripts/wine-prefix could not make " + prefix_.string());
  // A server left by an earlier run is bound to that run's display.
  wine("wineserver", {"-k"});
  wine("wineserver", {"-w"});
}

WineProgram::~WineProgram() {
  for (auto& p : processes_) {
    if (p->state() != QProcess::NotRunning) {
      p->kill();
      p->waitForFinished(3000);
    }
  }
  wine("wineserver", {"-k"});
  wine("wineserver", {"-w"});
}

QProcessEnvironment WineProgram::environment() const {
  QProcessEnvironment env = desktop_.environment();
  env.insert("WINEPREFIX", QString::fromStdString(prefix_.string()));
  env.insert("WINEDEBUG", "-all");
  // Wine's display language comes from LC_MESSAGES, not from LANGUAGE.
  if (desktop_.messagesLanguage().startsWith("fr")) {
    env.remove("LC_ALL");
    env.insert("LANG", "C.UTF-8");
    env.insert("LC_MESSAGES", "fr_FR.UTF-8");
    env.insert("LOCPATH", frenchLocaleFolder());
  }
  return env;
}

QString WineProgram::windowsPath(const fs::path& path) const {
  return wine("winepath", {"-w", QString::fromStdString(path.string())}).out.trimmed();
}

fs::path WineProgram::folderOf(const QString& variable) const {
  const QString windows = wine("wine", {"cmd", "/c", "echo", "%" + variable + "%"}).out.trimmed();
  if (windows.isEmpty() || windows.contains('%'))
    throw std::runtime_error("Wine has no %" + variable.toStdString() + "%");
  return wine("winepath", {"-u", windows}).out.trimmed().toStdString();
}

QProcess& WineProgram::launch(const QString& program, const QStringList& args) {
  auto& p = processes_.emplace_back(std::make_unique<QProcess>());
  p->setProcessEnvironment(environment());
  p->setWorkingDirectory(QString::fromStdString(folder().string()));
  p->start(program, args);
  p->waitForStarted(5000);
  return *p;
}

QProcess& WineProgram::start() {
  QProcess& p = launch("wine", {QString::fromStdString((folder() / "quillwick.exe").string())});
  return p;
}

QProcess& WineProgram::startOther(const QString& program, const QStringList& args) {
  return launch("wine", QStringList{program} + args);
}

CommandResult WineProgram::wine(const QString& tool, const QStringList& args,
                                std::chrono::milliseconds timeout) const {
  return runCommand(environment(), tool, args, timeout);
}

QString WineProgram::registryValue(const QString& key, const QString& name) const {
  const CommandResult query = wine("wine", {"reg", "query", key, "/v", name});
  if (query.exitCode != 0) return {};
  return query.out.section("REG_SZ", 1).section('\n', 0, 0).trimmed();
}

bool WineProgram::waitForMainWindow(std::chrono::milliseconds timeout) const {
  return waitUntil([&] { return !desktop_.mainWindow().isEmpty(); }, timeout);
}

bool WineProgram::waitForTrayOnly(std::chrono::milliseconds timeout) const {
  return waitUntil([&] { return !trayIcon().isEmpty(); }, timeout) &&
         waitUntil([&] { return desktop_.mainWindow().isEmpty(); });
}

QString WineProgram::trayIcon() const {
  // Wine's explorer draws every program's icon in a window it embeds in the X tray; the program
  // is the only Windows program with an icon on this desktop.
  const QStringList ids = desktop_.windowsNamed("^YXTrayEmbedder$");
  return ids.isEmpty() ? QString() : ids.first();
}

int WineProgram::quit(QProcess& running) const {
  // WORKAROUND: Wine ignores the window manager's activation of a program not in the
  // foreground, and a key right after the click that brings it there may go to nobody; a click
  // in the card's text and Ctrl+Q are tried again while the program runs (once lost in CI after
  // a password box had closed, so five times).
  for (int attempt = 0; attempt < 5 && running.state() != QProcess::NotRunning; ++attempt) {
    const QString window = desktop_.mainWindow();
    desktop_.activate(window);
    desktop_.click(window, 500, 300);
    desktop_.key("ctrl+q");
    running.waitForFinished(10000);
  }
  if (running.state() != QProcess::NotRunning || running.exitStatus() != QProcess::NormalExit)
    return -1;
  return running.exitCode();
}

}  // namespace qw::e2e
