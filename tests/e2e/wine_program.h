#pragma once
// The real Windows program (the MinGW build) under Wine on a private desktop: copied into its
// own folder so that its data folder is created beside it, started in the run's Wine prefix.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "e2e/desktop.h"

namespace qw::e2e {

// Where the program's "start at logon" option puts its command.
inline const QString kRunKey = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const QString kStartAtLogonValue = "KTR quillWick";

class WineProgram {
 public:
  // Throws std::runtime_error, saying how to get one, when there is no Windows build.
  explicit WineProgram(const Desktop& desktop);
  // Kills what it started, then the prefix's wineserver, so that the next desktop's programs
  // get a server of their own bound to their display.
  ~WineProgram();
  WineProgram(const WineProgram&) = delete;
  WineProgram& operator=(const WineProgram&) = delete;

  // $QUILLWICK_WINDOWS_BUILD: the Windows build folder holding QuillWick/quillwick.exe.
  static std::filesystem::path buildFolder();
  // The build folder's quillwick-<version>-setup.exe; throws when it was not made.
  static std::filesystem::path installer();

  std::filesystem::path folder() const { return folder_.path().toStdString(); }
  std::filesystem::path dataFolder() const { return folder() / "dataQuillWick"; }
  // The executable as Windows programs see it (Z:\...).
  QString windowsExecutable() const { return windowsPath(folder() / "quillwick.exe"); }
  // A file or folder as Windows programs see it.
  QString windowsPath(const std::filesystem::path& path) const;
  // The folder a Windows environment variable names (APPDATA, ProgramFiles ...), on this side.
  std::filesystem::path folderOf(const QString& variable) const;
  void writeData(const std::string& name, const std::string& bytes) const {
    writeDataFile(dataFolder(), name, bytes);
  }
  void writeCards(const std::vector<std::pair<std::string, std::string>>& cards) const {
    writeCardFiles(dataFolder(), cards);
  }

  // Starts a copy of the program (several may run at once).
  QProcess& start();
  // Starts another Windows program under the same Wine (notepad, a test helper).
  QProcess& startOther(const QString& program, const QStringList& args = {});
  // Runs a Wine tool (reg, winepath, wineboot ...) and waits for it.
  CommandResult wine(const QString& tool, const QStringList& args,
                     std::chrono::milliseconds timeout = 30s) const;

  // The text of a registry value (REG_SZ), or empty when there is none.
  QString registryValue(const QString& key, const QString& name) const;

  // Under Wine windows come slower than natively.
  bool waitForMainWindow(std::chrono::milliseconds timeout = 30s) const;
  // Waits until the icon is in the tray and no main window shows; true when it is.
  bool waitForTrayOnly(std::chrono::milliseconds timeout = 30s) const;
  // The tray's embedder of the icon Wine's explorer draws for the program, or empty.
  QString trayIcon() const;
  // Ctrl+Q in the main window; the exit code, or -1 when the program did not end normally.
  int quit(QProcess& running) const;

 private:
  QProcessEnvironment environment() const;
  QProcess& launch(const QString& program, const QStringList& args);

  const Desktop& desktop_;
  std::filesystem::path prefix_;
  QTemporaryDir folder_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

}  // namespace qw::e2e
