#pragma once
// A test of the Windows program under Wine, on a private desktop of its own.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "e2e/desktop.h"
#include "e2e/wine_program.h"

namespace qw::e2e {

class WineTest : public ::testing::Test {
 protected:
  // The whole screen, kept among the run's artifacts.
  void screenshot(const std::string& png) const {
    desktop.screenshot(std::filesystem::path(QW_ARTIFACTS) / ("windows-" + png));
  }

  // Right-clicks at (x, y) of `window` and waits for the menu: one more visible window of the
  // program. True when it opened.
  bool openMenu(const QString& window, int x, int y) const {
    const auto windows = [&] {
      return desktop.run("xdotool", {"search", "--onlyvisible", "--class", "^quillwick\\.exe$"})
          .out.split('\n', Qt::SkipEmptyParts)
          .size();
    };
    const auto before = windows();
    desktop.run("xdotool", {"mousemove", "--window", window, QString::number(x), QString::number(y),
                            "click", "3"});
    return waitUntil([&] { return windows() > before; });
  }

  // Gives `window` the keyboard with a click at (x, y) of it; true when it has it.
  // WORKAROUND: Wine lets the window manager's activation of a window go when its program is
  // not in the foreground (Windows' rule against stolen focus), and the X focus alone does not
  // make Wine's foreground window: a click in it, as a user's, does both.
  bool focus(const QString& window, int x = 4, int y = 4,
             std::chrono::milliseconds timeout = 20s) const {
    return waitUntil(
        [&] {
          desktop.activate(window);
          desktop.click(window, x, y);
          return desktop.run("xdotool", {"getwindowfocus"}).out.trimmed() == window;
        },
        timeout);
  }
  // Focuses a message box and presses `keys` there until it is gone; true when it went.
  bool answer(const QString& box, const QString& keys = "Return") const {
    return waitUntil(
        [&] {
          if (!desktop.windowsNamed(".").contains(box)) return true;
          if (focus(box, 4, 4, 3s)) desktop.key(keys);
          return false;
        },
        20s);
  }

  Desktop desktop;
  WineProgram program{desktop};
  std::filesystem::path data = program.dataFolder();
};

}  // namespace qw::e2e
