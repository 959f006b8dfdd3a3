#pragma once
// A private X desktop for end-to-end tests: Xvfb, a window manager (with a system tray unless
// bare), and the real program started from a scratch folder, driven with xdotool and read with
// xclip.

#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace qw::e2e {

using namespace std::chrono_literals;

// Polls `done` until it holds or `timeout` passes; true when it held.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s);

std::string readFile(const std::filesystem::path& file);
// Every file of a folder (not below it) by name, with its bytes; empty when there is no folder.
std::map<std::string, std::string> filesOf(const std::filesystem::path& dir);

// What a first start in an empty folder writes: the settings (French, hidden at start), the
// empty index and category list, and the main card with its settings.
extern const std::string kFirstStartSettings;
extern const std::string kFirstStartIndex;
extern const std::string kFirstStartMainCardSettings;
extern const std::string kFirstStartMainCardText;

// param.ini of an English program with the list panel closed, opening `defaultCard`; "Hide"
// for `hidden` starts it in the tray.
std::string englishSettings(const std::string& defaultCard = "quillWick",
                            const std::string& hidden = "Show");
// The settings file of a card whose text is in `contentFile`, with a new card's look; line 11
// is its synchronisation link, "0" when it has none.
std::string cardSettings(const std::string& contentFile, const std::string& syncLink = "0");

// Rounds of a kill loop: QUILLWICK_KILL_ROUNDS when set (a long run by hand), else `fallback`.
int killRounds(int fallback);

// Cards listed in the data folder's fiches.kvn, or -1 when it does not parse.
int cardCount(const std::filesystem::path& data);
// What is wrong with a data folder as a kill may leave it; empty when nothing is. The index
// parses and lists `fewest` to `most` cards; every listed card's settings file is whole and its
// content file reads whole: one of `plainTexts`, an RTF document whose braces close, or a
// sealed card; categ.kvn and param.ini are whole.
std::string dataFolderProblems(const std::filesystem::path& data, int fewest, int most,
                               const std::set<std::string>& plainTexts);

// What is wrong with a card's content file, or empty: it must be one of `plainTexts`, an RTF
// document whose braces close, or a sealed card.
std::string contentProblem(const std::filesystem::path& content,
                           const std::set<std::string>& plainTexts);

// Writes a file of a data folder, making the folder when needed.
void writeDataFile(const std::filesystem::path& data, const std::string& name,
                   const std::string& bytes);
// An index of plain-text cards (name, text) in no category, each with a new card's settings
// file: card i is file i+1.
void writeCardFiles(const std::filesystem::path& data,
                    const std::vector<std::pair<std::string, std::string>>& cards);

struct CommandResult {
  int exitCode = -1;
  QString out;
};

// Runs `program` to its end (killed after `timeout`); its exit code (-1 for a crash or a
// timeout) and standard output.
CommandResult runCommand(const QProcessEnvironment& environment, const QString& program,
                         const QStringList& args, std::chrono::milliseconds timeout);

class Desktop {
 public:
  // icewm with its task bar and tray, or openbox alone: neither task bar nor tray, and
  // Super+F1 … F4 kept for its desktops; or no window manager yet, as at logon. Wayland is a
  // Wayland session instead: weston in a window of Xvfb, no tray, and XWayland for the X
  // programs (the tools and ours), which see it as their X display.
  enum class Shell { TaskBarAndTray, Bare, NoneYet, Wayland };
  // Starts Xvfb and the window manager, or weston; throws std::runtime_error when they can't
  // start.
  explicit Desktop(Shell shell = Shell::TaskBarAndTray);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  QString display() const { return display_; }
  // Starts the window manager of a desktop made without one (NoneYet); returns once it runs.
  void startShell(Shell shell);
  // Starts a private session D-Bus for what is started on this desktop from then on: one that
  // starts the services installed on the machine when asked for them, or one that starts none
  // (no desktop portal unless the test runs one). Throws std::runtime_error when it does not
  // start.
  enum class BusServices { Installed, None };
  void startSessionBus(BusServices services);
  // The same with Qt's assistive technology bridge always on: the bus starts the AT-SPI bus and
  // its registry when first asked.
  void startAccessibilityBus();
  // A fresh HOME with its own XDG folders, shared by everything started on this desktop.
  std::filesystem::path home() const { return home_.path().toStdString(); }
  QProcessEnvironment environment() const;
  // The desktop's messages language (LANGUAGE), "fr" unless changed: the first start of every
  // test writes the French first-start files. Empty leaves the C locale's English.
  void setMessagesLanguage(const QString& language) { messagesLanguage_ = language; }
  QString messagesLanguage() const { return messagesLanguage_; }

  // Runs a helper tool (xdotool, xclip, ...) on this desktop and waits for it.
  CommandResult run(const QString& program, const QStringList& args,
                    std::chrono::milliseconds timeout = 10s) const;
  // Ids of the visible windows whose title matches the regular expression.
  QStringList windowsNamed(const QString& pattern) const;
  // Waits for a visible window whose title matches; its id, or empty when none came.
  QString waitForWindow(const QString& pattern, std::chrono::milliseconds timeout = 10s) const;
  // Waits until no visible window's title matches; true when they went.
  bool waitForNoWindow(const QString& pattern) const;
  QSize windowSize(const QString& window) const;
  void screenshot(const std::filesystem::path& png) const;

  // Real input through the X server. Coordinates are relative to the window.
  void click(const QString& window, int x, int y) const;
  // Raises `window` and waits until the window manager made it the active one.
  void activate(const QString& window) const;
  // Activates `window` until it has the keyboard (an activation that comes before the window
  // manager took the window is lost); true when it has.
  bool focus(const QString& window, std::chrono::milliseconds timeout = 10s) const;
  // Waits, without activating it, until `window` has the keyboard; true when it has.
  bool waitForFocus(const QString& window) const;
  void key(const QString& keys) const;
  // Gives `window` the keyboard and presses `keys` there, until the window is gone; true when it
  // went. For message boxes, which may map while another window still takes the focus.
  bool answer(const QString& window, const QString& keys = "Return") const;
  void type(const QString& text) const;
  // Return in the first visible window whose title matches, if there is one: the default
  // button of a message box.
  void pressReturnIn(const QString& pattern) const;
  // The program's main window: the big visible window titled KTRQuillWick (its message boxes
  // carry the same title); its id, or empty.
  QString mainWindow() const;
  // The text on the clipboard, as xclip reads it.
  QString clipboard() const;
  // Puts `text` on the clipboard from the X side; true when xclip took it.
  bool setClipboard(const QString& text) const;

 private:
  void startCompositor();

  QTemporaryDir home_;
  QProcess xvfb_;
  QProcess windowManager_;
  QProcess sessionBus_;
  QProcess compositor_;  // weston, for a Wayland session
  QString display_;
  QString waylandDisplay_;
  QString screenDisplay_;  // the Xvfb weston draws on, when display_ is its XWayland
  bool accessibility_ = false;
  QString messagesLanguage_ = "fr";
  QString busAddress_;
};

// The real program, copied into its own folder so that its data folder is created beside it.
class Program {
 public:
  explicit Program(const Desktop& desktop);
  ~Program();

  std::filesystem::path folder() const { return folder_.path().toStdString(); }
  std::filesystem::path dataFolder() const { return folder() / "dataQuillWick"; }
  // Writes a file of the data folder, making the folder when needed.
  void writeData(const std::string& name, const std::string& bytes) const;
  // An index of plain-text cards (name, text) in no category, each with a new card's settings
  // file: card i is file i+1.
  void writeCards(const std::vector<std::pair<std::string, std::string>>& cards) const;

  // Starts a copy of the program (several may run at once).
  QProcess& start(const QStringList& arguments = {});
  // A command of the command line run to its end, `input` on its standard input.
  struct Output {
    int exitCode = -1;  // -1 for a crash or a timeout
    std::string out;
    std::string error;
  };
  Output command(const QStringList& arguments, const std::string& input = {},
                 std::chrono::milliseconds timeout = 30s) const;
  // The copies running from this program's folder, those a command started included.
  int runningCopies() const;
  // kill -9, and waits until the process is gone.
  static void killHard(QProcess& running);
  // Waits until the main window of this desktop is mapped; true when it appeared.
  bool waitForMainWindow(std::chrono::milliseconds timeout = 15s) const;
  // The same, answering the message a start after a crash shows first (ERR#109) and the
  // question about a draft with their default buttons.
  bool waitForMainWindowPastRecovery(std::chrono::milliseconds timeout = 15s) const;
  // Waits until the program shows its tray icon and no main window; true when it does.
  bool waitForTrayOnly() const;
  // Right-clicks at (x, y) of `window` and waits for the menu: one more window of the
  // program's class. True when it opened.
  bool openMenu(const QString& window, int x, int y) const;
  // Item `index` (0-based) of the card menu opened on the strip; false when it did not open.
  bool chooseCardMenuItem(int index) const;
  // Ctrl+Q in the main window; the exit code, or -1 when the program did not end normally.
  int quit(QProcess& running) const;
  // The main window's id, or empty.
  QString mainWindow() const;
  // The program's icon in the window manager's tray, or empty.
  QString trayIcon() const;

 private:
  const Desktop& desktop_;
  QTemporaryDir folder_;
  std::filesystem::path executable_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

}  // namespace qw::e2e
