// A card protected through the real card menu and password dialog, then opened again after a
// restart: its file never holds the text in clear.

#include <gtest/gtest.h>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

using Protection = DesktopTest;

TEST_F(Protection, ProtectQuitAndOpenAgainWithThePassword) {
  program.writeData("param.ini", englishSettings());
  program.writeCards({{"Diary", "dear diary"}});

  const auto answerPassword = [&](const QString& password) {
    const QString dialog = desktop.waitForWindow("^Password for  'Diary'$");
    ASSERT_FALSE(dialog.isEmpty());
    // Keys typed before the dialog has the focus would go elsewhere.
    ASSERT_TRUE(desktop.focus(dialog));
    desktop.type(password);
    desktop.key("Return");
    ASSERT_TRUE(desktop.waitForNoWindow("^Password for  'Diary'$"));
  };

  {
    QProcess& running = program.start();
    ASSERT_TRUE(program.waitForMainWindow());
    desktop.activate(program.mainWindow());
    desktop.key("ctrl+k");
    ASSERT_TRUE(program.chooseCardMenuItem(9));  // Crypter
    answerPassword("open sesame");
    ASSERT_TRUE(
        waitUntil([&] { return fs::exists(data / "1.kvc") && !fs::exists(data / "1.kvn"); }));
    ASSERT_EQ(program.quit(running), 0);
  }
  const std::string firstSeal = readFile(data / "1.kvc");
  EXPECT_EQ(firstSeal.find("dear diary"), std::string::npos);

  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  desktop.activate(window);
  desktop.key("ctrl+k");
  answerPassword("open sesame");
  // Opened: the strip's marker moved to Diary and no message box came up.
  desktop.click(window, 500, 300);
  desktop.key("ctrl+End");
  desktop.type(" and more");
  screenshot("protected-card.png");
  ASSERT_EQ(program.quit(running), 0);
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
