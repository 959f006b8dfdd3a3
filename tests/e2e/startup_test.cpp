// The real program on a real X desktop: first start, second copy, signals, crash.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>

#include <QDirIterator>
#include <fstream>
#include <map>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

// Every file below a folder with its bytes and modification time.
std::map<std::string, std::pair<std::string, fs::file_time_type>> snapshot(const fs::path& dir) {
  std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file())
      files[entry.path().string()] = {readFile(entry.path()), entry.last_write_time()};
  return files;
}

class Startup : public DesktopTest {
 protected:
  bool dataFolderReady() const {
    return fs::exists(data / "param.ini") && fs::exists(data / "categ.kvn");
  }

  // Settings that keep the window on screen at start.
  void startShown() const {
    std::string settings = kFirstStartSettings;
    settings.replace(settings.find("Hidden=Hide"), 11, "Hidden=Show");
    program.writeData("param.ini", settings);
  }
};

TEST_F(Startup, FirstStartCreatesTheDataFolderWithDefaultsAndHidesInTheTray) {
  program.start();
  // "Hidden=Hide" is the default: only the icon stays.
  ASSERT_TRUE(program.waitForTrayOnly());
  ASSERT_TRUE(waitUntil([&] { return dataFolderReady(); }));

  EXPECT_EQ(readFile(data / "param.ini"), kFirstStartSettings);
  EXPECT_EQ(readFile(data / "fiches.kvn"), kFirstStartIndex);
  EXPECT_EQ(readFile(data / "categ.kvn"), kFirstStartIndex);
  // "Manual" is the default: nothing is registered to start at logon.
  EXPECT_FALSE(fs::exists(desktop.home() / ".config/autostart/quillwick.desktop"));
}

TEST_F(Startup, AFirstStartSpeaksTheDesktopsLanguageAndLaterStartsTheStoredOne) {
  const std::string french = kFirstStartSettings;
  std::string english = kFirstStartSettings;
  english.replace(0, english.find("\r\n"), "Langue=Anglais");
  // The user's first choice decides; the C locale is English.
  const std::vector<std::pair<QString, std::string>> cases = {
      {"", english}, {"en_GB:fr", english}, {"de:fr", english}, {"fr_CA:en", french}};
  for (const auto& [language, expected] : cases) {
    SCOPED_TRACE(language.toStdString());
    desktop.setMessagesLanguage(language);
    Program fresh(desktop);
    fresh.start();
    ASSERT_TRUE(fresh.waitForTrayOnly());
    EXPECT_EQ(readFile(fresh.dataFolder() / "param.ini"), expected);
  }

  // A French data folder stays French on an English desktop, and the command line speaks it.
  desktop.setMessagesLanguage("");
  program.writeData("param.ini", french);
  program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  EXPECT_EQ(readFile(data / "param.ini"), french);
  const Program::Output unknown = program.command({"--print", "nothing"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.error.find("Aucune fiche"), std::string::npos) << unknown.error;
}

TEST_F(Startup, TheWindowsClassIsTheOneTheLauncherNames) {
  startShown();
  program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  // WM_CLASS(STRING) = "instance", "class"
  const QString wmClass = desktop.run("xprop", {"-id", program.mainWindow(), "WM_CLASS"}).out;
  const QString windowClass = wmClass.section('"', 3, 3);
  const std::string launcher = readFile(QW_SOURCE_DIR "/packaging/org.quillwick.QuillWick.desktop");
  const std::string key = "\nStartupWMClass=";
  const auto at = launcher.find(key);
  ASSERT_NE(at, std::string::npos);
  const std::string named =
      launcher.substr(at + key.size(), launcher.find('\n', at + 1) - at - key.size());
  EXPECT_FALSE(windowClass.isEmpty()) << wmClass.toStdString();
  EXPECT_EQ(windowClass.toStdString(), named);
}

TEST_F(Startup, AStartThatCanMakeNoDataFolderSaysWhyAndEndsBeforeAnyWindow) {
  // Files stand where both possible data folders would go.
  std::ofstream(data, std::ios::binary) << "beside the program";
  fs::create_directories(desktop.home() / ".local/share");
  std::ofstream(desktop.home() / ".local/share/dataQuillWick", std::ios::binary) << "per user";

  QProcess& running = program.start();
  const QString box = desktop.waitForWindow("^quillWick$");
  ASSERT_FALSE(box.isEmpty());
  EXPECT_TRUE(desktop.windowsNamed("^KTR[qQ]uillWick$").isEmpty()) << "a main window showed";
  screenshot("no-data-folder.png");

  ASSERT_TRUE(desktop.answer(box));
  ASSERT_TRUE(running.waitForFinished(10000)) << "the program went on after its message";
  EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
  EXPECT_NE(running.exitCode(), 0);
  EXPECT_TRUE(desktop.windowsNamed("^KTR[qQ]uillWick$").isEmpty());
  EXPECT_EQ(readFile(data), "beside the program");
}

TEST_F(Startup, AnUnreadableIndexIsRebuiltFromTheCardsAndSaidOnce) {
  program.writeData("param.ini", englishSettings());
  program.writeCards({{"Shopping", "bread\r\nmilk"}, {"Ideas", ""}});
  program.writeData("fiches.kvn", "not an index at all\r\n");

  QProcess& running = program.start();
  const QString box = desktop.waitForWindow("^KTRQuillWick$");
  ASSERT_FALSE(box.isEmpty());
  screenshot("index-rebuilt.png");
  ASSERT_TRUE(program.waitForMainWindowPastRecovery());
  EXPECT_EQ(readFile(data / "fiches.kvn"), "1;-0-0:bread\r\n2;-0-0:Card 2\r\n3\r\n");
  EXPECT_EQ(readFile(data / "fiches.kvn.bad"), "not an index at all\r\n");
  EXPECT_EQ(readFile(data / "1.kvn"), "bread\r\nmilk");

  ASSERT_EQ(program.quit(running), 0);
  program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  EXPECT_EQ(desktop.windowsNamed("^KTRQuillWick$").size(), 1) << "said again";
}

TEST_F(Startup, ASecondCopyShowsTheRunningWindowAndTouchesNothing) {
  startShown();
  QProcess& first = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  // Settled: the journal of the card it shows is written once that card is drawn.
  ASSERT_TRUE(waitUntil([&] { return dataFolderReady() && fs::exists(data / "backup.ini"); }));
  const auto before = snapshot(data);

  QProcess& second = program.start();
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(desktop.windowsNamed("^Information$").isEmpty());
  EXPECT_EQ(desktop.windowsNamed("^KTRQuillWick$").size(), 1) << "the second copy opened a window";
  EXPECT_EQ(snapshot(data), before);
  EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(Startup, ACopyThatDoesNotAnswerGetsTheBilingualMessage) {
  startShown();
  QProcess& first = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  ASSERT_TRUE(waitUntil([&] { return dataFolderReady() && fs::exists(data / "backup.ini"); }));
  const auto before = snapshot(data);
  ::kill(static_cast<pid_t>(first.processId()), SIGSTOP);

  QProcess& second = program.start();
  const QString box = desktop.waitForWindow("^Information$");
  ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
  ASSERT_FALSE(box.isEmpty());
  screenshot("second-copy.png");
  ASSERT_TRUE(desktop.answer(box));
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(snapshot(data), before);
  EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(Startup, TwoCopiesStartedAtTheSameInstantRunOnce) {
  startShown();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    QProcess& a = program.start();
    QProcess& b = program.start();
    ASSERT_TRUE(program.waitForMainWindowPastRecovery());
    // Without an event loop a process's end is seen only by waiting for it.
    ASSERT_TRUE(waitUntil([&] { return a.waitForFinished(50) || b.waitForFinished(50); }));
    QProcess& second = a.state() == QProcess::NotRunning ? a : b;
    QProcess& runs = &second == &a ? b : a;
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_EQ(runs.state(), QProcess::Running);
    EXPECT_EQ(desktop.windowsNamed("^KTRQuillWick$").size(), 1);
    EXPECT_TRUE(desktop.windowsNamed("^Information$").isEmpty());

    ASSERT_EQ(program.quit(runs), 0);
    EXPECT_EQ(dataFolderProblems(data, 0, 0, {}), "");
    ASSERT_TRUE(desktop.waitForNoWindow("^KTRQuillWick$"));
  }
}

TEST_F(Startup, SigtermEndsLikeASessionEndAndWritesTheSettings) {
  // A short settings file is completed with defaults in memory and written whole at the end.
  program.writeData("param.ini",
                    "Langue=Anglais\r\nDefaultFiche=quillWick\r\nBGMenuColor=clNavy\r\n"
                    "LDMenuColor=clYellow\r\nLSMenuColor=clWhite\r\n");
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForTrayOnly());

  running.terminate();  // SIGTERM, here while the window is hidden
  ASSERT_TRUE(running.waitForFinished(10000));
  EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(running.exitCode(), 0);
  EXPECT_EQ(readFile(data / "param.ini"),
            "Langue=Anglais\r\nDefaultFiche=quillWick\r\nBGMenuColor=clNavy\r\n"
            "LDMenuColor=clYellow\r\nLSMenuColor=clWhite\r\nLCategories=-0-\r\n"
            "AffichList=0\r\nLaunch=Manual\r\nHidden=Hide\r\n");
  EXPECT_EQ(readFile(data / "fiches.kvn"), "1\r\n");
}

TEST_F(Startup, StartsAgainAfterTheFirstCopyWasKilled) {
  startShown();
  QProcess& first = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  Program::killHard(first);
  ASSERT_EQ(first.state(), QProcess::NotRunning);
  ASSERT_TRUE(desktop.waitForNoWindow("^KTRQuillWick$"));

  QProcess& again = program.start();
  ASSERT_TRUE(program.waitForMainWindowPastRecovery());
  EXPECT_TRUE(desktop.windowsNamed("^Information$").isEmpty());
  EXPECT_EQ(again.state(), QProcess::Running);
}

}  // namespace
}  // namespace qw::e2e
