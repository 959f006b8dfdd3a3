// A start at logon often comes before the panel that holds the tray: it waits for the tray
// instead of showing its window, and a start by hand does not wait.

#include <gtest/gtest.h>

#include <thread>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

using namespace std::chrono_literals;

class AtLogon : public DesktopTest {
 protected:
  AtLogon() : DesktopTest(Desktop::Shell::NoneYet) {
    program.writeData("param.ini", englishSettings("quillWick", "Hide"));
  }
};

TEST_F(AtLogon, AStartAtLogonWaitsForATrayThatComesLater) {
  QProcess& running = program.start({"--at-logon"});
  std::this_thread::sleep_for(3s);
  ASSERT_EQ(running.state(), QProcess::Running);
  EXPECT_TRUE(program.mainWindow().isEmpty()) << "the window showed before the tray came";

  desktop.startShell(Desktop::Shell::TaskBarAndTray);
  EXPECT_TRUE(program.waitForTrayOnly()) << "no icon, or the window came on screen";
  screenshot("at-logon-tray.png");
  // Waiting did not hold the program back: its commands are served.
  EXPECT_EQ(program.command({"--print", "-"}).exitCode, 0);
}

TEST_F(AtLogon, AStartByHandShowsItsWindowAtOnceAndATrayLaterGetsTheIcon) {
  program.start();
  ASSERT_TRUE(program.waitForMainWindow(5s)) << "a start by hand waited";
  EXPECT_TRUE(program.trayIcon().isEmpty());

  desktop.startShell(Desktop::Shell::TaskBarAndTray);
  EXPECT_TRUE(waitUntil([&] { return !program.trayIcon().isEmpty(); }, 20s));
  EXPECT_FALSE(program.mainWindow().isEmpty());
}

}  // namespace
}  // namespace qw::e2e
