// Card commands through the real menu and its shortcuts: create, rename, move, delete.

#include <gtest/gtest.h>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

class CardCommands : public DesktopTest {
 protected:
  void SetUp() override { program.writeData("param.ini", englishSettings()); }

  bool indexIs(const std::string& bytes) const {
    return waitUntil([&] { return readFile(data / "fiches.kvn") == bytes; });
  }

  // Waits for the properties dialog, replaces its name and confirms with Enter.
  void answerProperties(const QString& name) {
    const QString dialog = desktop.waitForWindow("^Add a card$");
    ASSERT_FALSE(dialog.isEmpty());
    desktop.activate(dialog);
    desktop.key("ctrl+a");
    desktop.type(name);
    desktop.key("Return");
    ASSERT_TRUE(desktop.waitForNoWindow("^Add a card$"));
  }

  void focusMainWindow() { desktop.activate(program.mainWindow()); }
};

TEST_F(CardCommands, CreateRenameMoveAndDeleteThroughTheMenu) {
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());

  focusMainWindow();
  desktop.key("ctrl+n");
  answerProperties("First");
  ASSERT_TRUE(indexIs("1;-0-0:First\r\n2\r\n")) << readFile(data / "fiches.kvn");

  focusMainWindow();
  desktop.key("ctrl+n");
  // ASCII only: xdotool drops accented keys at random; accents are covered by the widget tests.
  answerProperties("Second: note");
  ASSERT_TRUE(indexIs("1;-0-0:First\r\n2;-0-0:Second: note\r\n3\r\n"))
      << readFile(data / "fiches.kvn");
  EXPECT_TRUE(fs::exists(data / "2.kvo"));

  focusMainWindow();
  desktop.key("ctrl+r");
  answerProperties("Renamed");
  ASSERT_TRUE(indexIs("1;-0-0:First\r\n2;-0-0:Renamed\r\n3\r\n")) << readFile(data / "fiches.kvn");

  // "Monter" has no shortcut: the card menu from the strip, seventh item.
  focusMainWindow();
  ASSERT_TRUE(program.chooseCardMenuItem(7));
  ASSERT_TRUE(indexIs("2;-0-0:Renamed\r\n1;-0-0:First\r\n3\r\n")) << readFile(data / "fiches.kvn");
  screenshot("card-commands.png");

  focusMainWindow();
  desktop.key("ctrl+Delete");
  const QString question = desktop.waitForWindow("^Delete confirmation$");
  ASSERT_FALSE(question.isEmpty());
  desktop.activate(question);
  desktop.key("Return");
  ASSERT_TRUE(indexIs("1;-0-0:First\r\n3\r\n")) << readFile(data / "fiches.kvn");
  // The files go right after the index is written.
  EXPECT_TRUE(
      waitUntil([&] { return !fs::exists(data / "2.kvo") && !fs::exists(data / "2.kvn"); }));

  ASSERT_EQ(program.quit(running), 0);
  EXPECT_EQ(readFile(data / "fiches.kvn"), "1;-0-0:First\r\n3\r\n");
}

// The category filter through its panel: open it, tick and untick with the mouse, update.
TEST_F(CardCommands, TheCategoryFilterChangesTheStripAndIsRemembered) {
  program.writeCards({{"Work", "work"}, {"Plain", "plain"}});
  program.writeData("fiches.kvn", "1;-5-0:Work\r\n2;-0-0:Plain\r\n3\r\n");  // Work in 5
  program.writeData("categ.kvn", "5;:Work stuff\r\n6\r\n");

  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  focusMainWindow();
  const int height = desktop.windowSize(window).height();
  ASSERT_GT(height, 300);

  // From the bottom: the exit panel (41), the closed categories panel (25) with its arrow at the
  // right; once open (160), its list rows are 13 pixels apart, the update button below them.
  desktop.click(window, 163, height - 41 - 12);
  const int firstRow = height - 41 - 160 + 32;
  desktop.click(window, 14, firstRow + 13);  // tick "Work stuff"
  desktop.click(window, 14, firstRow);       // untick "Standard"
  desktop.click(window, 107, height - 55);
  ASSERT_TRUE(waitUntil([&] {
    return readFile(data / "param.ini").find("LCategories=-5-\r\n") != std::string::npos;
  })) << readFile(data / "param.ini");

  // The strip now holds the main card and Work only: two steps down stop at Work.
  focusMainWindow();
  desktop.key("ctrl+k");
  desktop.key("ctrl+k");
  desktop.click(window, 500, 300);
  desktop.key("ctrl+End");
  desktop.type(" edited");
  ASSERT_EQ(program.quit(running), 0);
  EXPECT_NE(readFile(data / "1.kvn").find("work edited"), std::string::npos)
      << readFile(data / "1.kvn");
  EXPECT_EQ(readFile(data / "2.kvn"), "plain");
}

}  // namespace
}  // namespace qw::e2e
