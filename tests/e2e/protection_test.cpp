// A card protected through the real card menu and password dialog, then opened again after a
// restart: its file never holds the text in clear.

#include <gtest/gtest.h>

#include "e2e/desktop.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

TEST(Protection, ProtectQuitAndOpenAgainWithThePassword) {
  Desktop desktop;
  Program program{desktop};
  const fs::path data = program.dataFolder();
  program.writeData("param.ini", englishSettings());
  program.writeData("fiches.kvn", "1;-0-0:Diary\r\n2\r\n");
  program.writeData("1.kvo", cardSettings("1.kvn"));
  program.writeData("1.kvn", "dear diary");

  const auto answerPassword = [&](const QString& password) {
    QStringList dialog;
    ASSERT_TRUE(waitUntil(
        [&] { return !(dialog = desktop.windowsNamed("^Password for  'Diary'$")).isEmpty(); }));
    desktop.run("xdotool", {"windowactivate", "--sync", dialog.first()});
    // Keys typed before the dialog has the focus would go elsewhere.
    ASSERT_TRUE(waitUntil([&] {
      return desktop.run("xdotool", {"getwindowfocus"}).out.trimmed() == dialog.first();
    }));
    desktop.type(password);
    desktop.key("Return");
    ASSERT_TRUE(
        waitUntil([&] { return desktop.windowsNamed("^Password for  'Diary'$").isEmpty(); }));
  };

  {
    QProcess& running = program.start();
    ASSERT_TRUE(program.waitForMainWindow());
    const QString window = program.mainWindow();
    desktop.run("xdotool", {"windowactivate", "--sync", window});
    desktop.key("ctrl+k");
    // "Crypter", the ninth item of the card menu from the strip.
    desktop.run("xdotool", {"mousemove", "--window", window, "90", "400", "click", "3"});
    ASSERT_TRUE(waitUntil([&] {
      return desktop.run("xdotool", {"search", "--onlyvisible", "--class", "quillwick"})
                 .out.split('\n', Qt::SkipEmptyParts)
                 .size() > 1;
    }));
    for (int i = 0; i < 9; ++i) desktop.key("Down");
    desktop.key("Return");
    answerPassword("open sesame");
    ASSERT_TRUE(waitUntil([&] { return fs::exists(data / "1.kvc") && !fs::exists(data / "1.kvn"); }));
    desktop.run("xdotool", {"windowactivate", "--sync", window});
    desktop.key("ctrl+q");
    ASSERT_TRUE(running.waitForFinished(10000));
  }
  const std::string firstSeal = readFile(data / "1.kvc");
  EXPECT_EQ(firstSeal.find("dear diary"), std::string::npos);

  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  desktop.run("xdotool", {"windowactivate", "--sync", window});
  desktop.key("ctrl+k");
  answerPassword("open sesame");
  // Opened: the strip's marker moved to Diary and no message box came up.
  desktop.click(window, 500, 300);
  desktop.key("ctrl+End");
  desktop.type(" and more");
  desktop.screenshot(fs::path(QW_ARTIFACTS) / "protected-card.png");
  desktop.key("ctrl+q");
  ASSERT_TRUE(running.waitForFinished(10000));
  const std::string sealed = readFile(data / "1.kvc");
  EXPECT_EQ(sealed.find("dear diary"), std::string::npos);
  EXPECT_EQ(sealed.find("and more"), std::string::npos);
  // Sealed again with the typing: a fresh salt and nonce make other bytes.
  EXPECT_NE(sealed, firstSeal);
  EXPECT_GT(sealed.size(), 60u);
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
}

}  // namespace
}  // namespace qw::e2e
