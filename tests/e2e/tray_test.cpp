// The tray: a program started hidden shows only its icon; the icon brings the window back, F2
// puts it away again, and the icon's menu ends the program.

#include <gtest/gtest.h>

#include <thread>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using Tray = DesktopTest;

TEST_F(Tray, StartsHiddenComesBackFromTheIconAndQuitsFromItsMenu) {
  program.writeData("param.ini", englishSettings("quillWick", "Hide"));

  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForTrayOnly()) << "no icon, or the window stayed on screen";
  const QString icon = program.trayIcon();

  desktop.click(icon, 12, 12);
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  desktop.activate(window);
  desktop.click(window, 500, 300);
  desktop.key("ctrl+a");
  desktop.type("hidden away");
  desktop.key("F2");
  ASSERT_TRUE(waitUntil([&] { return program.mainWindow().isEmpty(); }));
  // Putting the window away saved the card.
  EXPECT_NE(readFile(data / "default.kvn").find("hidden away"), std::string::npos);
  screenshot("tray-hidden.png");

  // The icon's menu: Quit is its last item.
  ASSERT_TRUE(program.openMenu(icon, 12, 12));
  desktop.key("Up");
  desktop.key("Return");
  ASSERT_TRUE(running.waitForFinished(10000));
  EXPECT_EQ(running.exitCode(), 0);
  EXPECT_TRUE(program.trayIcon().isEmpty());
}

TEST_F(Tray, AFirstStartInTheTraySaysWhereItIsAndLaterStartsDoNot) {
  // The tray's message is a window of the program's class beside the icon.
  const auto windows = [&] {
    return desktop.run("xdotool", {"search", "--onlyvisible", "--class", "quillwick"})
        .out.split('\n', Qt::SkipEmptyParts)
        .size();
  };
  QProcess& first = program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  EXPECT_TRUE(waitUntil([&] { return windows() == 2; }, 5s)) << "no message from the tray";
  screenshot("tray-first-start.png");
  first.terminate();
  ASSERT_TRUE(first.waitForFinished(10000));

  program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(windows(), 1);
}

TEST_F(Tray, AWindowMinimisedThenClosedFromTheTaskBarGoesToTheTray) {
  program.writeData("param.ini", englishSettings("quillWick", "Show"));
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  ASSERT_TRUE(waitUntil([&] { return !program.trayIcon().isEmpty(); }));
  desktop.activate(window);
  desktop.click(window, 500, 300);
  desktop.key("ctrl+a");
  desktop.type("minimised first");

  desktop.run("xdotool", {"windowminimize", "--sync", window});
  desktop.run(QW_CLOSE_REQUEST, {window});
  // Saved and put away, still running in the tray.
  EXPECT_TRUE(waitUntil([&] {
    return readFile(data / "default.kvn").find("minimised first") != std::string::npos;
  })) << readFile(data / "default.kvn");
  EXPECT_FALSE(running.waitForFinished(1000)) << "the close ended the program";
  EXPECT_TRUE(program.mainWindow().isEmpty());
  const QString icon = program.trayIcon();
  ASSERT_FALSE(icon.isEmpty());

  desktop.click(icon, 12, 12);
  ASSERT_TRUE(program.waitForMainWindow());
  ASSERT_EQ(program.quit(running), 0);
}

}  // namespace
}  // namespace qw::e2e
