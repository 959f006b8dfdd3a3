// Unsaved typing on a real desktop: its draft reaches the disk while the program runs, survives
// kill -9, and comes back into its card when the next start's question is answered Yes.

#include <gtest/gtest.h>

#include <csignal>

#include "e2e/desktop.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

TEST(Drafts, TypingKilledBeforeAnySaveComesBackWithYes) {
  Desktop desktop;
  Program program{desktop};
  const fs::path data = program.dataFolder();
  program.writeData("param.ini", englishSettings("Alpha"));
  program.writeData("fiches.kvn", "1;-0-0:Alpha\r\n2\r\n");
  program.writeData("1.kvo", cardSettings("1.kvn"));
  program.writeData("1.kvn", "alpha text");

  {
    QProcess& running = program.start();
    ASSERT_TRUE(program.waitForMainWindow());
    const QString window = program.mainWindow();
    desktop.run("xdotool", {"windowactivate", "--sync", window});
    desktop.click(window, 500, 300);
    desktop.key("ctrl+End");
    desktop.type(" typed before the crash");
    // Written a few seconds after the typing stops, without any save.
    ASSERT_TRUE(waitUntil(
        [&] { return readFile(data / "1.draft").find("typed before the crash") != std::string::npos; },
        20s));
    EXPECT_EQ(readFile(data / "1.kvn"), "alpha text");
    ::kill(static_cast<pid_t>(running.processId()), SIGKILL);
    ASSERT_TRUE(running.waitForFinished(10000));
  }

  QProcess& running = program.start();
  // The recovery's message (titled like the window) comes first, then the question.
  QStringList question;
  ASSERT_TRUE(waitUntil(
      [&] {
        if (!(question = desktop.windowsNamed("^Unsaved changes$")).isEmpty()) return true;
        desktop.pressReturnIn("^KTRQuillWick$");
        return false;
      },
      20s));
  desktop.screenshot(fs::path(QW_ARTIFACTS) / "draft-question.png");
  // Keys typed before the box has the focus would go elsewhere. Asked again until it has it:
  // an activation that comes before the window manager took the box is lost.
  ASSERT_TRUE(waitUntil([&] {
    if (desktop.run("xdotool", {"getwindowfocus"}).out.trimmed() == question.first()) return true;
    desktop.run("xdotool", {"windowactivate", "--sync", question.first()});
    return false;
  }));
  desktop.key("alt+y");
  ASSERT_TRUE(program.waitForMainWindow());
  // Restored but not saved yet: the draft stays until the card is.
  EXPECT_EQ(readFile(data / "1.kvn"), "alpha text");
  EXPECT_TRUE(fs::exists(data / "1.draft"));

  desktop.run("xdotool", {"windowactivate", "--sync", program.mainWindow()});
  desktop.key("ctrl+q");
  ASSERT_TRUE(running.waitForFinished(10000));
  EXPECT_EQ(running.exitCode(), 0);
  const std::string saved = readFile(data / "1.kvn");
  EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u) << saved;
  EXPECT_NE(saved.find("alpha text typed before the crash"), std::string::npos) << saved;
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
}

}  // namespace
}  // namespace qw::e2e
