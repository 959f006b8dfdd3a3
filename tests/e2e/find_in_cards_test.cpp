// Find in all cards on the real program: --find byte for byte over cards in both stored forms,
// a linked file, a gone one and a protected card; and the dialog from the keyboard.

#include <gtest/gtest.h>

#include <QThread>
#include <fstream>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

class FindInCards : public DesktopTest {
 protected:
  void SetUp() override {
    program.writeData("param.ini", englishSettings("quillWick", "Hide"));
    // Windows-1252 as stored: "crème brûlée" and "café crème".
    program.writeCards({{"Recettes d'\xE9t\xE9",
                         "cr\xE8me br\xFBl\xE9"
                         "e\r\ncaf\xE9 cr\xE8me"},
                        {"Linked", ""},
                        {"Sealed", ""},
                        {"Gone", ""},
                        {"Work", "no cream here\r\nCR\xC8ME in capitals"}});
    program.writeData("fiches.kvn",
                      "1;-0-0:Recettes d'\xE9t\xE9\r\n2;-0-1:Linked\r\n3;-0-0:Sealed\r\n"
                      "4;-0-1:Gone\r\n5;-5-0:Work\r\n6\r\n");
    program.writeData("categ.kvn", "5;:Travail\r\n6\r\n");
    program.writeData("default.kvn", "la cr\xE8me du main card\r\n");
    // A linked file in UTF-8 with its mark, outside the data folder.
    linked = program.folder() / "outside" / "notes.txt";
    fs::create_directories(linked.parent_path());
    writeFile(linked,
              "\xEF\xBB\xBF"
              "first\r\nune cr\xC3\xA8me\tfra\xC3\xAE"
              "che\r\n");
    program.writeData("2.kvo", cardSettings(linked.string()));
    program.writeData("4.kvo", cardSettings((program.folder() / "outside" / "gone.txt").string()));
    // Ciphertext as far as anyone knows: the word in it must never be found.
    program.writeData("3.kvo", cardSettings("3.kvc"));
    program.writeData("3.kvc", "\x05sealed cr\xE8me");
  }

  static void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }

  fs::path linked;
};

TEST_F(FindInCards, FindPrintsEveryHitOfEveryCardByteForByte) {
  program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  const Program::Output found = program.command({"--find", "cr\xC3\xA8me"});
  EXPECT_EQ(found.exitCode, 0) << found.error;
  // Only A to Z fold case: the capital È of "Work" is another letter. A tab in a line shows as
  // a space.
  EXPECT_EQ(found.out,
            "-\t1\tquillWick\tla cr\xC3\xA8me du main card\n"
            "0\t1\tRecettes d'\xC3\xA9t\xC3\xA9\tcr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
            "e\n"
            "0\t2\tRecettes d'\xC3\xA9t\xC3\xA9\tcaf\xC3\xA9 cr\xC3\xA8me\n"
            "1\t2\tLinked\tune cr\xC3\xA8me fra\xC3\xAE"
            "che\n");
  EXPECT_EQ(found.error, "3\tGone: file unreadable\n1 protected card(s) not read\n");

  const Program::Output none = program.command({"--find", "nowhere at all"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_TRUE(none.out.empty());
  EXPECT_EQ(
      none.error,
      "3\tGone: file unreadable\n1 protected card(s) not read\nNo card holds: nowhere at all\n");
  EXPECT_EQ(program.command({"--find", ""}).exitCode, 2);

  // A card changed on disk since the last search is read again.
  writeFile(linked,
            "\xEF\xBB\xBF"
            "cr\xC3\xA8me again\r\n");
  const Program::Output again = program.command({"--find", "again"});
  EXPECT_EQ(again.out, "1\t1\tLinked\tcr\xC3\xA8me again\n");
}

TEST_F(FindInCards, TheDialogFromTheKeyboardOpensAHitOfAHiddenCategory) {
  program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  desktop.key("super+F2");
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  ASSERT_TRUE(desktop.focus(window));
  desktop.key("ctrl+shift+f");
  const QString dialog = desktop.waitForWindow("^Find in all cards$");
  ASSERT_FALSE(dialog.isEmpty());
  ASSERT_TRUE(desktop.waitForFocus(dialog));
  // ASCII only: xdotool drops accented keys at random.
  desktop.type("capitals");
  QThread::msleep(500);
  screenshot("find-in-cards.png");
  desktop.key("Return");
  ASSERT_TRUE(desktop.waitForNoWindow("^Find in all cards$"));
  // Work's category joins the filter, written with the settings.
  EXPECT_TRUE(waitUntil([&] {
    return readFile(data / "param.ini").find("LCategories=-0-5-\r\n") != std::string::npos;
  })) << readFile(data / "param.ini");
  screenshot("find-in-cards-opened.png");
  // The hit is selected in the open card: typing replaces it.
  desktop.type("lowercase");
  desktop.key("F2");
  EXPECT_TRUE(program.waitForTrayOnly());
  EXPECT_TRUE(waitUntil([&] {
    return readFile(data / "5.kvn").find("in lowercase") != std::string::npos;
  })) << readFile(data / "5.kvn");
}

}  // namespace
}  // namespace qw::e2e
