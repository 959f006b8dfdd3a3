// Unsaved typing on a real desktop: its draft reaches the disk while the program runs, survives
// kill -9, and comes back into its card when the next start's question is answered Yes.

#include <gtest/gtest.h>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

using Drafts = DesktopTest;

TEST_F(Drafts, TypingKilledBeforeAnySaveComesBackWithYes) {
  program.writeData("param.ini", englishSettings("Alpha"));
  program.writeCards({{"Alpha", "alpha text"}});

  {
    QProcess& running = program.start();
    ASSERT_TRUE(program.waitForMainWindow());
    const QString window = program.mainWindow();
    desktop.activate(window);
    desktop.click(window, 500, 300);
    desktop.key("ctrl+End");
    desktop.type(" typed before the crash");
    // Written a few seconds after the typing stops, without any save.
    ASSERT_TRUE(waitUntil(
        [&] {
          return readFile(data / "1.draft").find("typed before the crash") != std::string::npos;
        },
        20s));
    EXPECT_EQ(readFile(data / "1.kvn"), "alpha text");
    Program::killHard(running);
    ASSERT_EQ(running.state(), QProcess::NotRunning);
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
  screenshot("draft-question.png");
  // Keys typed before the box has the focus would go elsewhere.
  ASSERT_TRUE(desktop.focus(question.first()));
  desktop.key("alt+y");
  ASSERT_TRUE(program.waitForMainWindow());
  // Restored but not saved yet: the draft stays until the card is.
  EXPECT_EQ(readFile(data / "1.kvn"), "alpha text");
  EXPECT_TRUE(fs::exists(data / "1.draft"));

  ASSERT_EQ(program.quit(running), 0);
  const std::string saved = readFile(data / "1.kvn");
  EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u) << saved;
  EXPECT_NE(saved.find("alpha text typed before the crash"), std::string::npos) << saved;
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
}

}  // namespace
}  // namespace qw::e2e
