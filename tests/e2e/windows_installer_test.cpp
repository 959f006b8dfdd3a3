// The Windows installer under Wine, run silently as an administrator's script would: the
// installed program keeps its cards in %APPDATA%, an install over it and the uninstaller leave
// them there.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "e2e/wine_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

const QString kUninstallKey =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuillWick";

class WindowsInstaller : public WineTest {
 protected:
  void SetUp() override {
    installed = program.folderOf("ProgramFiles") / "QuillWick";
    cards = program.folderOf("APPDATA") / "dataQuillWick";
    shortcut =
        program.folderOf("ProgramData") / "Microsoft/Windows/Start Menu/Programs/QuillWick.lnk";
    forgetInstall();
  }
  // The prefix is shared by the run's tests, and a run stopped halfway leaves its install.
  void TearDown() override { forgetInstall(); }

  void forgetInstall() const {
    fs::remove_all(installed);
    fs::remove_all(cards);
    fs::remove(shortcut);
    program.wine("wine", {"reg", "delete", kUninstallKey, "/f"});
    program.wine("wine", {"reg", "delete", kRunKey, "/v", kStartAtLogonValue, "/f"});
  }

  // Runs a Windows program of the prefix to its end; its exit code, or -1.
  int runToEnd(const QString& windowsProgram, const QStringList& args) {
    QProcess& p = program.startOther(windowsProgram, args);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit) return -1;
    return p.exitCode();
  }
  int installSilently() {
    return runToEnd(QString::fromStdString(WineProgram::installer().string()), {"/S"});
  }

  fs::path installed, cards, shortcut;
};

TEST_F(WindowsInstaller, InstallsStartsReinstallsAndUninstallsKeepingTheCards) {
  ASSERT_EQ(installSilently(), 0);
  for (const char* file : {"quillwick.exe", "uninstall.exe", "Qt6Widgets.dll",
                           "platforms/qwindows.dll", "styles/qwindowsvistastyle.dll"})
    EXPECT_TRUE(fs::is_regular_file(installed / file)) << file;
  EXPECT_TRUE(fs::is_regular_file(shortcut));
  EXPECT_EQ(program.registryValue(kUninstallKey, "QuietUninstallString").toStdString(),
            "\"" + program.windowsPath(installed / "uninstall.exe").toStdString() + "\" /S");

  // The installed program is the per-user one: its first start writes under %APPDATA%, never
  // beside itself, even where (as under Wine's root) Program Files is writable.
  QProcess& running = program.startOther(program.windowsPath(installed / "quillwick.exe"));
  ASSERT_TRUE(program.waitForTrayOnly()) << "no icon in the tray, or the window showed";
  ASSERT_TRUE(waitUntil([&] { return filesOf(cards).size() == 5; }, 20s));
  EXPECT_EQ(filesOf(cards).at("param.ini"), kFirstStartSettings);
  EXPECT_FALSE(fs::exists(installed / "dataQuillWick"));
  desktop.click(program.trayIcon(), 12, 12);
  ASSERT_TRUE(program.waitForMainWindow());
  screenshot("installed-program.png");
  ASSERT_EQ(program.quit(running), 0);
  const std::map<std::string, std::string> before = filesOf(cards);

  // An install over an older one replaces the program and nothing of the user's.
  ASSERT_EQ(installSilently(), 0);
  EXPECT_TRUE(fs::is_regular_file(installed / "quillwick.exe"));
  EXPECT_EQ(filesOf(cards), before);

  // As the program's "start at logon" option leaves it.
  ASSERT_EQ(
      program
          .wine("wine", {"reg", "add", kRunKey, "/v", kStartAtLogonValue, "/d",
                         "\"" + program.windowsPath(installed / "quillwick.exe") + "\"", "/f"})
          .exitCode,
      0);
  ASSERT_FALSE(program.registryValue(kRunKey, kStartAtLogonValue).isEmpty());

  // NSIS's uninstaller copies itself to the temporary folder, and the copy does the work after
  // the started one ended (so that it can delete itself): the end is the folder's going.
  ASSERT_EQ(runToEnd(program.windowsPath(installed / "uninstall.exe"), {"/S"}), 0);
  EXPECT_TRUE(waitUntil([&] { return !fs::exists(installed); }, 60s))
      << "left in " << installed << ": " << filesOf(installed).size() << " files";
  EXPECT_FALSE(fs::exists(shortcut));
  EXPECT_EQ(program.registryValue(kRunKey, kStartAtLogonValue).toStdString(), "");
  EXPECT_EQ(program.registryValue(kUninstallKey, "DisplayName").toStdString(), "");
  EXPECT_EQ(filesOf(cards), before);
}

}  // namespace
}  // namespace qw::e2e
