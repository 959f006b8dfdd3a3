// A window manager alone, with neither tray nor task bar, that keeps Super+F2 for itself: the
// window put away still has a key that brings it back, and a second start brings it too.

#include <gtest/gtest.h>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

class NoTray : public DesktopTest {
 protected:
  NoTray() : DesktopTest(Desktop::Shell::Bare) {}

  // Starts the program, answers the message about Super+F2 and puts the window away with F2.
  QProcess& startAndPutAway() {
    // "Hide" asks for a tray that is not there: the window shows.
    program.writeData("param.ini", englishSettings("quillWick", "Hide"));
    QProcess& running = program.start();
    EXPECT_TRUE(program.waitForMainWindow());
    // The message: a small window of the program's beside the main window.
    QString box;
    EXPECT_TRUE(waitUntil([&] {
      for (const QString& id : desktop.windowsNamed("^KTRQuillWick$"))
        if (id != program.mainWindow()) box = id;
      return !box.isEmpty();
    }));
    screenshot("no-tray-keys-kept.png");
    EXPECT_TRUE(desktop.answer(box));
    const QString window = program.mainWindow();
    EXPECT_TRUE(desktop.focus(window));
    desktop.key("F2");
    EXPECT_TRUE(waitUntil([&] { return program.mainWindow().isEmpty(); }));
    return running;
  }
};

TEST_F(NoTray, TheOtherSetsKeyStandsInForAShowKeyTheDesktopKeeps) {
  QProcess& running = startAndPutAway();
  ASSERT_FALSE(HasFailure());
  EXPECT_TRUE(program.trayIcon().isEmpty());
  EXPECT_EQ(running.state(), QProcess::Running);

  desktop.key("ctrl+shift+F10");
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  EXPECT_TRUE(desktop.waitForFocus(window));
  desktop.type("back again");
  ASSERT_EQ(program.quit(running), 0);
  EXPECT_NE(readFile(data / "default.kvn").find("back again"), std::string::npos)
      << readFile(data / "default.kvn");
}

TEST_F(NoTray, ASecondStartBringsTheWindowBackAndLeavesTheFirstRunning) {
  QProcess& first = startAndPutAway();
  ASSERT_FALSE(HasFailure());

  QProcess& second = program.start();
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  ASSERT_TRUE(program.waitForMainWindow());
  EXPECT_TRUE(desktop.windowsNamed("^Information$").isEmpty());
  EXPECT_TRUE(desktop.waitForFocus(program.mainWindow()));
  screenshot("no-tray-second-start.png");
  desktop.type("brought back");
  ASSERT_EQ(program.quit(first), 0);
  EXPECT_NE(readFile(data / "default.kvn").find("brought back"), std::string::npos)
      << readFile(data / "default.kvn");
}

}  // namespace
}  // namespace qw::e2e
