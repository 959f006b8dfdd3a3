#include "e2e/desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace qw::e2e {

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return done();
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::map<std::string, std::string> filesOf(const std::filesystem::path& dir) {
  std::map<std::string, std::string> files;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(dir, missing))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = readFile(entry.path());
  return files;
}

const std::string kFirstStartSettings =
    "Langue=Fran\xE7"
    "ais\r\n"
    "DefaultFiche=quillWick\r\n"
    "BGMenuColor=$00A67467\r\n"
    "LDMenuColor=clYellow\r\n"
    "LSMenuColor=clWhite\r\n"
    "LCategories=-0-\r\n"
    "AffichList=0\r\n"
    "Launch=Manual\r\n"
    "Hidden=Hide\r\n";
const std::string kFirstStartIndex = "1\r\n";
const std::string kFirstStartMainCardSettings =
    "default.kvn\r\n0\r\n0\r\n8\r\n1\r\n0\r\n1\r\n16\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
const std::string kFirstStartMainCardText = "<Tapez votre texte ici>\r\n";

std::string englishSettings(const std::string& defaultCard, const std::string& hidden) {
  return "Langue=Anglais\r\nDefaultFiche=" + defaultCard +
         "\r\nBGMenuColor=$00A67467\r\nLDMenuColor=clYellow\r\nLSMenuColor=clWhite\r\n"
         "LCategories=-0-\r\nAffichList=0\r\nLaunch=Manual\r\nHidden=" +
         hidden + "\r\n";
}

std::string cardSettings(const std::string& contentFile, const std::string& syncLink) {
  return contentFile + "\r\n0\r\n0\r\n8\r\n1\r\n11\r\n1\r\n16\r\n0\r\n0\r\n" + syncLink +
         "\r\n0\r\n0\r\n0\r\n0\r\n";
}

int killRounds(int fallback) {
  bool ok = false;
  const int rounds = qEnvironmentVariableIntValue("QUILLWICK_KILL_ROUNDS", &ok);
  return ok && rounds > 0 ? rounds : fallback;
}

namespace {

// The lines of a stored text file, or nothing when a line does not end in CR LF.
std::optional<QStringList> storedLines(const std::filesystem::path& file) {
  const QString text = QString::fromLatin1(readFile(file));
  if (!text.isEmpty() && !text.endsWith("\r\n")) return std::nullopt;
  QStringList lines = text.split("\r\n");
  lines.removeLast();
  return lines;
}

bool isNumber(const QString& text) { return QRegularExpression("^[0-9]+$").match(text).hasMatch(); }

// A whole RTF document: it opens at the start and its last brace closes it.
bool wholeRtf(const std::string& bytes) {
  if (bytes.rfind("{\\rtf1", 0) != 0) return false;
  int depth = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\\') {
      ++i;
    } else if (bytes[i] == '{') {
      ++depth;
    } else if (bytes[i] == '}' && --depth == 0) {
      return bytes.find_first_not_of("\r\n", i + 1) == std::string::npos;
    }
  }
  return false;
}

}  // namespace

int cardCount(const std::filesystem::path& data) {
  const auto lines = storedLines(data / "fiches.kvn");
  if (!lines || lines->isEmpty() || !isNumber(lines->last())) return -1;
  return static_cast<int>(lines->size()) - 1;
}

std::string contentProblem(const std::filesystem::path& content,
                           const std::set<std::string>& plainTexts) {
  const std::string bytes = readFile(content);
  const bool sealed = content.extension() == ".kvc" && bytes.rfind("QWSEALED", 0) == 0;
  if (!std::filesystem::is_regular_file(content))
    return content.filename().string() + ": missing\n";
  if (!sealed && !wholeRtf(bytes) && !plainTexts.contains(bytes))
    return content.filename().string() + ": cut or unknown: " + bytes + "\n";
  return {};
}

std::string dataFolderProblems(const std::filesystem::path& data, int fewest, int most,
                               const std::set<std::string>& plainTexts) {
  std::string problems;
  const auto problem = [&](const std::filesystem::path& file, const std::string& what) {
    problems += file.filename().string() + ": " + what + "\n";
  };
  const auto index = storedLines(data / "fiches.kvn");
  const int count = cardCount(data);
  if (count < 0) return "fiches.kvn does not parse: " + readFile(data / "fiches.kvn");
  if (count < fewest || count > most)
    problem("fiches.kvn", std::to_string(count) + " cards, not " + std::to_string(fewest) + " to " +
                              std::to_string(most));
  const QRegularExpression cardLine("^([0-9]+);-[0-9]+-(H[1-9]-)?[01]:");
  for (int card = 0; card < count; ++card) {
    const auto match = cardLine.match((*index)[card]);
    if (!match.hasMatch()) {
      problem("fiches.kvn", "line " + (*index)[card].toStdString());
      continue;
    }
    const std::filesystem::path settings = data / (match.captured(1).toStdString() + ".kvo");
    const auto lines = storedLines(settings);
    if (!lines || (lines->size() != 15 && lines->size() != 23) || lines->front().isEmpty()) {
      problem(settings, "not whole: " + readFile(settings));
      continue;
    }
    problems += contentProblem(data / lines->front().toStdString(), plainTexts);
  }
  const auto categories = storedLines(data / "categ.kvn");
  if (!categories || categories->isEmpty() || !isNumber(categories->last()))
    problem("categ.kvn", "not whole: " + readFile(data / "categ.kvn"));
  const auto settings = storedLines(data / "param.ini");
  if (!settings || settings->size() != 9)
    problem("param.ini", "not whole: " + readFile(data / "param.ini"));
  return problems;
}

void writeDataFile(const std::filesystem::path& data, const std::string& name,
                   const std::string& bytes) {
  std::filesystem::create_directories(data);
  std::ofstream(data / name, std::ios::binary) << bytes;
}

void writeCardFiles(const std::filesystem::path& data,
                    const std::vector<std::pair<std::string, std::string>>& cards) {
  std::string index;
  for (size_t i = 0; i < cards.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    index += number + ";-0-0:" + cards[i].first + "\r\n";
    writeDataFile(data, number + ".kvo", cardSettings(number + ".kvn"));
    writeDataFile(data, number + ".kvn", cards[i].second);
  }
  writeDataFile(data, "fiches.kvn", index + std::to_string(cards.size() + 1) + "\r\n");
}

Desktop::Desktop(Shell shell) {
  if (!home_.isValid()) throw std::runtime_error("no temporary folder");
  const QDir home(home_.path());
  for (const char* sub : {".icewm", ".config", ".local/share", ".cache", "runtime"})
    home.mkpath(sub);
  QFile::setPermissions(home.filePath("runtime"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  // Without this icewm opens its start menu on every Super release and swallows later keys.
  QFile prefs(home.filePath(".icewm/preferences"));
  prefs.open(QIODevice::WriteOnly);
  prefs.write("Win95Keys=0\nTaskBarShowClock=0\nShowThemesMenu=0\n");
  prefs.close();

  // -displayfd picks a free display and tells us which.
  xvfb_.setProgram("Xvfb");
  xvfb_.setArguments({"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
  xvfb_.start();
  if (!xvfb_.waitForStarted(5000)) throw std::runtime_error("Xvfb did not start");
  QByteArray number;
  waitUntil([&] {
    xvfb_.waitForReadyRead(100);
    number += xvfb_.readAllStandardOutput();
    return number.contains('\n');
  });
  if (!number.contains('\n')) throw std::runtime_error("Xvfb gave no display number");
  display_ = ":" + QString::fromLatin1(number.trimmed());
  if (shell == Shell::Wayland)
    startCompositor();
  else if (shell != Shell::NoneYet)
    startShell(shell);
}

void Desktop::startCompositor() {
  // XWayland puts its socket there; Xvfb, run as root, would have made the folder itself.
  QDir("/").mkpath("/tmp/.X11-unix");
  QFile::setPermissions("/tmp/.X11-unix", QFileDevice::Permissions(0x7777));
  // WORKAROUND: weston's headless backend has no seat, and weston 10 crashes when an X program
  // takes the clipboard there; its X11 backend, in a window on our Xvfb, has one.
  screenDisplay_ = display_;
  compositor_.setProcessEnvironment(environment());
  waylandDisplay_ = "wayland-qw-" + QString::number(QCoreApplication::applicationPid());
  compositor_.setProgram("weston");
  compositor_.setArguments({"--backend=x11-backend.so", "--use-pixman", "--xwayland",
                            "--socket=" + waylandDisplay_, "--width=1280", "--height=1024",
                            "--idle-time=0"});
  compositor_.start();
  if (!compositor_.waitForStarted(5000)) throw std::runtime_error("weston did not start");
  // weston picks a free X display for XWayland and says which in its log.
  const QRegularExpression listening("xserver listening on display (:[0-9]+)");
  QByteArray log;
  QRegularExpressionMatch match;
  waitUntil([&] {
    compositor_.waitForReadyRead(100);
    log += compositor_.readAllStandardError();
    match = listening.match(QString::fromUtf8(log));
    return match.hasMatch() || compositor_.state() != QProcess::Running;
  });
  if (!match.hasMatch())
    throw std::runtime_error("weston gave no XWayland display: " + log.toStdString());
  display_ = match.captured(1);
}

void Desktop::startShell(Shell shell) {
  windowManager_.setProcessEnvironment(environment());
  const QString manager = shell == Shell::Bare ? "openbox" : "icewm";
  windowManager_.setProgram(manager);
  windowManager_.setArguments({});
  // icewm reads its themes and fonts first: on a busy machine that takes more than seconds. Now
  // and then it never takes the screen at all, so a silent one is replaced.
  for (int attempt = 1;; ++attempt) {
    windowManager_.start();
    if (!windowManager_.waitForStarted(5000))
      throw std::runtime_error(manager.toStdString() + " did not start");
    const bool managed = waitUntil(
        [&] {
          // Without an event loop a process's end is seen only by waiting for it.
          return windowManager_.waitForFinished(0) ||
                 run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).out.contains("window id");
        },
        30s);
    if (managed && windowManager_.state() == QProcess::Running) return;
    if (attempt == 3) throw std::runtime_error(manager.toStdString() + " did not take the screen");
    windowManager_.kill();
    windowManager_.waitForFinished(3000);
    // Left behind by the one that gave up, it would pass the next one off as ready.
    run("xprop", {"-root", "-remove", "_NET_SUPPORTING_WM_CHECK"});
  }
}

void Desktop::startAccessibilityBus() {
  startSessionBus(BusServices::Installed);
  accessibility_ = true;
}

void Desktop::startSessionBus(BusServices services) {
  QStringList arguments{"--session", "--nofork", "--print-address=1"};
  if (services == BusServices::None) {
    const QString config = home_.filePath("session-bus.conf");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("no bus configuration");
    file.write(
        "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
        "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    file.close();
    arguments[0] = "--config-file=" + config;
  }
  sessionBus_.setProcessEnvironment(environment());
  sessionBus_.start("dbus-daemon", arguments);
  if (!sessionBus_.waitForStarted(5000)) throw std::runtime_error("dbus-daemon did not start");
  QByteArray address;
  waitUntil([&] {
    sessionBus_.waitForReadyRead(100);
    address += sessionBus_.readAllStandardOutput();
    return address.contains('\n');
  });
  if (!address.contains('\n')) throw std::runtime_error("dbus-daemon gave no address");
  busAddress_ = QString::fromUtf8(address.trimmed());
}

Desktop::~Desktop() {
  // The bus first: the AT-SPI bus and registry it started go with it.
  for (QProcess* p : {&sessionBus_, &windowManager_, &xvfb_, &compositor_}) {
    p->terminate();
    if (!p->waitForFinished(3000)) {
      p->kill();
      p->waitForFinished(3000);
    }
  }
}

QProcessEnvironment Desktop::environment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  const QString home = home_.path();
  env.insert("DISPLAY", display_);
  env.insert("HOME", home);
  env.insert("XDG_CONFIG_HOME", home + "/.config");
  env.insert("XDG_DATA_HOME", home + "/.local/share");
  env.insert("XDG_CACHE_HOME", home + "/.cache");
  env.insert("XDG_RUNTIME_DIR", home + "/runtime");
  // A test started from a Wayland session must not pass it on to an X desktop.
  env.remove("WAYLAND_DISPLAY");
  env.remove("XDG_SESSION_TYPE");
  if (!waylandDisplay_.isEmpty()) {
    env.insert("WAYLAND_DISPLAY", waylandDisplay_);
    env.insert("XDG_SESSION_TYPE", "wayland");
  }
  env.remove("QT_QPA_PLATFORM");
  env.insert("LC_ALL", "C.UTF-8");
  env.remove("LANGUAGE");
  if (!messagesLanguage_.isEmpty()) env.insert("LANGUAGE", messagesLanguage_);
  if (!busAddress_.isEmpty()) env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress_);
  if (accessibility_) env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
  return env;
}

CommandResult runCommand(const QProcessEnvironment& environment, const QString& program,
                         const QStringList& args, std::chrono::milliseconds timeout) {
  QProcess p;
  p.setProcessEnvironment(environment);
  p.start(program, args);
  CommandResult result;
  if (!p.waitForFinished(static_cast<int>(timeout.count()))) {
    p.kill();
    p.waitForFinished();
    return result;
  }
  result.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  result.out = QString::fromUtf8(p.readAllStandardOutput());
  return result;
}

CommandResult Desktop::run(const QString& program, const QStringList& args,
                           std::chrono::milliseconds timeout) const {
  return runCommand(environment(), program, args, timeout);
}

QStringList Desktop::windowsNamed(const QString& pattern) const {
  return run("xdotool", {"search", "--onlyvisible", "--name", pattern})
      .out.split('\n', Qt::SkipEmptyParts);
}

QString Desktop::waitForWindow(const QString& pattern, std::chrono::milliseconds timeout) const {
  QStringList found;
  waitUntil([&] { return !(found = windowsNamed(pattern)).isEmpty(); }, timeout);
  return found.isEmpty() ? QString() : found.first();
}

bool Desktop::waitForNoWindow(const QString& pattern) const {
  return waitUntil([&] { return windowsNamed(pattern).isEmpty(); });
}

QSize Desktop::windowSize(const QString& window) const {
  const QString shell = run("xdotool", {"getwindowgeometry", "--shell", window}).out;
  const auto field = [&](const char* name) {
    return shell.section(name, 1).section('\n', 0, 0).toInt();
  };
  return {field("WIDTH="), field("HEIGHT=")};
}

void Desktop::screenshot(const std::filesystem::path& png) const {
  if (!screenDisplay_.isEmpty()) {
    // What weston shows, XWayland's windows composited in it.
    QProcessEnvironment screen = environment();
    screen.insert("DISPLAY", screenDisplay_);
    runCommand(screen, "import", {"-window", "root", QString::fromStdString(png.string())}, 10s);
    return;
  }
  run("import", {"-window", "root", QString::fromStdString(png.string())});
}

void Desktop::click(const QString& window, int x, int y) const {
  run("xdotool",
      {"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"});
}

void Desktop::activate(const QString& window) const {
  run("xdotool", {"windowactivate", "--sync", window});
}

bool Desktop::focus(const QString& window, std::chrono::milliseconds timeout) const {
  return waitUntil(
      [&] {
        if (run("xdotool", {"getwindowfocus"}).out.trimmed() == window) return true;
        activate(window);
        return false;
      },
      timeout);
}

bool Desktop::waitForFocus(const QString& window) const {
  return waitUntil([&] { return run("xdotool", {"getwindowfocus"}).out.trimmed() == window; });
}

void Desktop::pressReturnIn(const QString& pattern) const {
  const QStringList boxes = windowsNamed(pattern);
  if (boxes.isEmpty()) return;
  run("xdotool", {"windowactivate", "--sync", boxes.first()});
  run("xdotool", {"key", "--window", boxes.first(), "Return"});
}

void Desktop::key(const QString& keys) const { run("xdotool", {"key", "--delay", "30", keys}); }

bool Desktop::answer(const QString& window, const QString& keys) const {
  return waitUntil([&] {
    const QString all = run("xdotool", {"search", "--onlyvisible", "--name", "."}).out;
    if (!all.split('\n', Qt::SkipEmptyParts).contains(window)) return true;
    run("xdotool", {"windowactivate", window}, 2s);
    if (waitUntil([&] { return run("xdotool", {"getwindowfocus"}).out.trimmed() == window; }, 2s))
      key(keys);
    return false;
  });
}

void Desktop::type(const QString& text) const { run("xdotool", {"type", "--delay", "20", text}); }

QString Desktop::mainWindow() const {
  for (const QString& id : windowsNamed("^KTRQuillWick$")) {
    const QString geometry = run("xdotool", {"getwindowgeometry", id}).out;
    const auto size = geometry.section("Geometry: ", 1).trimmed().split('x');
    if (size.size() == 2 && size[0].toInt() >= 600) return id;
  }
  return {};
}

QString Desktop::clipboard() const { return run("xclip", {"-o", "-selection", "clipboard"}).out; }

bool Desktop::setClipboard(const QString& text) const {
  QProcess copy;
  copy.setProcessEnvironment(environment());
  copy.start("xclip", {"-i", "-selection", "clipboard"});
  copy.write(text.toUtf8());
  copy.closeWriteChannel();
  return copy.waitForFinished(5000) && copy.exitCode() == 0;
}

Program::Program(const Desktop& desktop) : desktop_(desktop) {
  if (!folder_.isValid()) throw std::runtime_error("no temporary folder");
  executable_ = folder() / "quillwick";
  std::filesystem::copy_file(QW_PROGRAM, executable_);
  std::filesystem::copy_file(QW_WINDOW_MODULE,
                             folder() / std::filesystem::path(QW_WINDOW_MODULE).filename());
}

Program::~Program() {
  for (auto& p : processes_) {
    if (p->state() != QProcess::NotRunning) {
      p->kill();
      p->waitForFinished(3000);
    }
  }
  // A copy a command started in the tray is nobody's child here.
  QProcess::execute("pkill", {"-KILL", "-f", "^" + QString::fromStdString(executable_.string())});
}

int Program::runningCopies() const {
  return desktop_.run("pgrep", {"-c", "-f", "^" + QString::fromStdString(executable_.string())})
      .out.trimmed()
      .toInt();
}

Program::Output Program::command(const QStringList& arguments, const std::string& input,
                                 std::chrono::milliseconds timeout) const {
  QProcess p;
  p.setProcessEnvironment(desktop_.environment());
  p.start(QString::fromStdString(executable_.string()), arguments);
  p.write(input.data(), static_cast<qint64>(input.size()));
  p.closeWriteChannel();
  Output output;
  if (!p.waitForFinished(static_cast<int>(timeout.count()))) {
    p.kill();
    p.waitForFinished();
    return output;
  }
  output.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  output.out = p.readAllStandardOutput().toStdString();
  output.error = p.readAllStandardError().toStdString();
  return output;
}

QProcess& Program::start(const QStringList& arguments) {
  auto& p = processes_.emplace_back(std::make_unique<QProcess>());
  p->setProcessEnvironment(desktop_.environment());
  p->setProgram(QString::fromStdString(executable_.string()));
  p->setArguments(arguments);
  p->setProcessChannelMode(QProcess::ForwardedChannels);
  p->start();
  p->waitForStarted(5000);
  return *p;
}

void Program::killHard(QProcess& running) {
  ::kill(static_cast<pid_t>(running.processId()), SIGKILL);
  running.waitForFinished(10000);
}

bool Program::waitForMainWindow(std::chrono::milliseconds timeout) const {
  return waitUntil([&] { return !mainWindow().isEmpty(); }, timeout);
}

bool Program::waitForMainWindowPastRecovery(std::chrono::milliseconds timeout) const {
  return waitUntil(
      [&] {
        if (!mainWindow().isEmpty()) return true;
        // The recovery's message, titled like the main window, which is not up yet; then the
        // question about a draft, when typing paused long enough before the kill.
        desktop_.pressReturnIn("^KTRQuillWick$");
        desktop_.pressReturnIn("^Unsaved changes$");
        return false;
      },
      timeout);
}

bool Program::waitForTrayOnly() const {
  return waitUntil([&] { return !trayIcon().isEmpty(); }) &&
         waitUntil([&] { return mainWindow().isEmpty(); });
}

bool Program::openMenu(const QString& window, int x, int y) const {
  // The tray icon is a window of the program's class too.
  const auto windows = [&] {
    return desktop_.run("xdotool", {"search", "--onlyvisible", "--class", "quillwick"})
        .out.split('\n', Qt::SkipEmptyParts)
        .size();
  };
  const auto before = windows();
  desktop_.run("xdotool", {"mousemove", "--window", window, QString::number(x), QString::number(y),
                           "click", "3"});
  return waitUntil([&] { return windows() > before; });
}

bool Program::chooseCardMenuItem(int index) const {
  if (!openMenu(mainWindow(), 90, 400)) return false;
  for (int i = 0; i < index; ++i) desktop_.key("Down");
  desktop_.key("Return");
  return true;
}

int Program::quit(QProcess& running) const {
  desktop_.activate(mainWindow());
  desktop_.key("ctrl+q");
  if (!running.waitForFinished(10000) || running.exitStatus() != QProcess::NormalExit) return -1;
  return running.exitCode();
}

QString Program::mainWindow() const { return desktop_.mainWindow(); }

void Program::writeData(const std::string& name, const std::string& bytes) const {
  writeDataFile(dataFolder(), name, bytes);
}

void Program::writeCards(const std::vector<std::pair<std::string, std::string>>& cards) const {
  writeCardFiles(dataFolder(), cards);
}

QString Program::trayIcon() const {
  // The tray embeds a small window of the program's class.
  const QStringList ids =
      desktop_.run("xdotool", {"search", "--onlyvisible", "--class", "quillwick"})
          .out.split('\n', Qt::SkipEmptyParts);
  for (const QString& id : ids) {
    const QString geometry = desktop_.run("xdotool", {"getwindowgeometry", id}).out;
    const auto size = geometry.section("Geometry: ", 1).trimmed().split('x');
    if (size.size() == 2 && size[0].toInt() > 0 && size[0].toInt() <= 64) return id;
  }
  return {};
}

}  // namespace qw::e2e
