// The card's text through the functions panel and the formatting bar: search with F3, a sort
// from the line list, a plain-text export through the save dialog.

#include <gtest/gtest.h>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

using CardText = DesktopTest;

TEST_F(CardText, SearchSortAndExportThroughTheWindow) {
  program.writeData("param.ini", englishSettings("Fruits"));
  program.writeCards({{"Fruits", "banana\r\nApple\r\ncherry\r\n"}});

  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  desktop.activate(window);
  const int height = desktop.windowSize(window).height();
  ASSERT_GT(height, 300);

  // Ctrl+F opens the panel on the search field; each F3 selects the next hit in the card, and
  // typing replaces it: "banana" holds "an" twice.
  desktop.key("ctrl+f");
  desktop.type("an");
  desktop.key("F3");
  desktop.type("X");
  desktop.key("F3");
  desktop.type("Y");

  // The line list sits under the panel's title, above the closed categories panel (25) and
  // the exit panel (41); a click opens it, the next item down is the normal sort.
  desktop.click(window, 90, height - 179);
  desktop.key("Down");
  desktop.key("Return");

  // The plain-text export button, the fourth of the five at the end of the formatting bar.
  const fs::path exported = program.folder() / "fruits.txt";
  desktop.click(window, 919, 39);
  const QString dialog = desktop.waitForWindow("^Save As$");
  ASSERT_FALSE(dialog.isEmpty());
  desktop.activate(dialog);
  desktop.key("ctrl+a");
  desktop.type(QString::fromStdString(exported.string()));
  desktop.key("Return");
  ASSERT_TRUE(waitUntil([&] { return fs::exists(exported); }));
  EXPECT_EQ(readFile(exported), "Apple\r\nbXYa\r\ncherry\r\n\r\n");
  screenshot("card-text.png");

  // The export saved the card first, sorted and edited.
  ASSERT_EQ(program.quit(running), 0);
  const std::string saved = readFile(data / "1.kvn");
  EXPECT_LT(saved.find("Apple"), saved.find("bXYa")) << saved;
  EXPECT_LT(saved.find("bXYa"), saved.find("cherry")) << saved;
}

}  // namespace
}  // namespace qw::e2e
