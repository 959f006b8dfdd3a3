// The command line against the real program: a second start shows the window, every key is a
// command, cards are listed, printed and appended to byte for byte, and only the user's own
// commands are let in.

#include <gtest/gtest.h>
#include <unistd.h>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

class RemoteControl : public DesktopTest {
 protected:
  void SetUp() override {
    program.writeData("param.ini", englishSettings("quillWick", "Hide"));
    // Stored texts are Windows-1252: "crème brûlée".
    program.writeCards({{"Lines", "one\r\ntwo\r\nthree"},
                        {"Recettes d'\xE9t\xE9",
                         "cr\xE8me\r\nbr\xFBl\xE9"
                         "e"},
                        {"Work", "in category 5"}});
    program.writeData("fiches.kvn",
                      "1;-0-H1-0:Lines\r\n2;-0-0:Recettes d'\xE9t\xE9\r\n3;-5-0:Work\r\n4\r\n");
    program.writeData("categ.kvn", "5;:Travail\r\n6\r\n");
  }

  QString clipboard() const { return desktop.run("xclip", {"-o", "-selection", "clipboard"}).out; }
  bool clipboardBecomes(const QString& text) const {
    return waitUntil([&] { return clipboard() == text; });
  }
  fs::path socket() const { return desktop.home() / "runtime" / "quillwick.socket"; }
  // Started hidden, with its socket listening.
  void startInTray() {
    program.start();
    ASSERT_TRUE(program.waitForTrayOnly());
    ASSERT_TRUE(waitUntil([&] { return fs::exists(socket()); }));
  }
};

TEST_F(RemoteControl, ASecondStartShowsTheHiddenWindowAndEndsWithoutABox) {
  startInTray();
  QProcess& second = program.start();
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(program.waitForMainWindow());
  screenshot("second-start-shows-the-window.png");
  EXPECT_TRUE(desktop.windowsNamed("^Information$").isEmpty());
  EXPECT_EQ(program.runningCopies(), 1);

  // --toggle puts it back, and --show brings it again.
  EXPECT_EQ(program.command({"--toggle"}).exitCode, 0);
  EXPECT_TRUE(program.waitForTrayOnly());
  EXPECT_EQ(program.command({"--show"}).exitCode, 0);
  EXPECT_TRUE(program.waitForMainWindow());
}

TEST_F(RemoteControl, TheKeyCommandsGiveWhatTheKeysGive) {
  startInTray();
  EXPECT_EQ(program.command({"--copy", "1"}).exitCode, 0);
  const QString copied = clipboard();
  EXPECT_EQ(copied, "one\ntwo\nthree\n");
  desktop.setClipboard("other");
  desktop.key("super+1");
  EXPECT_TRUE(clipboardBecomes(copied)) << clipboard().toStdString();

  EXPECT_EQ(program.command({"--feed", "1"}).exitCode, 0);
  EXPECT_EQ(clipboard(), "one");
  EXPECT_EQ(program.command({"--next-line"}).exitCode, 0);
  EXPECT_EQ(clipboard(), "two");
  desktop.key("super+c");
  EXPECT_TRUE(clipboardBecomes("three"));
  EXPECT_EQ(program.command({"--next-line"}).exitCode, 0);
  EXPECT_EQ(clipboard(), "one");

  // A new card of the clipboard, by the command and by the key: the same files.
  desktop.setClipboard("from the clipboard\nsecond line");
  EXPECT_EQ(program.command({"--new-from-clipboard"}).exitCode, 0);
  ASSERT_TRUE(program.waitForMainWindow());  // the window comes back with the new card
  desktop.setClipboard("from the clipboard\nsecond line");
  desktop.key("super+v");
  ASSERT_TRUE(waitUntil([&] { return cardCount(data) == 5; }));
  ASSERT_TRUE(waitUntil([&] { return fs::exists(data / "5.kvn"); }));
  EXPECT_EQ(readFile(data / "4.kvn"), readFile(data / "5.kvn"));
  EXPECT_EQ(readFile(data / "4.kvn"), "from the clipboard\r\nsecond line\r\n");

  const Program::Output empty = program.command({"--copy", "2"});
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_EQ(empty.error, "ERR#108 : Empty shortcut\n");
}

TEST_F(RemoteControl, ListPrintAndAppendByteForByte) {
  startInTray();
  const Program::Output list = program.command({"--list"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out,
            "-\t\t\tquillWick\n"
            "0\t1\tStandard\tLines\n"
            "1\t\tStandard\tRecettes d'\xC3\xA9t\xC3\xA9\n"
            "2\t\tTravail\tWork\n");
  const Program::Output json = program.command({"--list", "--json"});
  EXPECT_EQ(json.exitCode, 0);
  EXPECT_NE(json.out.find("{\"number\": \"0\", \"hotKey\": 1, \"category\": \"Standard\", "
                          "\"name\": \"Lines\", \"protected\": false, \"linked\": false}"),
            std::string::npos)
      << json.out;

  EXPECT_EQ(program.command({"--print", "Recettes d'\xC3\xA9t\xC3\xA9"}).out,
            "cr\xC3\xA8me\nbr\xC3\xBBl\xC3\xA9\x65\n");
  // An arrow has no room in the card's code page: the file becomes UTF-8, with its mark.
  const Program::Output appended = program.command({"--append", "1"}, "\xE2\x86\x92 3\nfin\n");
  EXPECT_EQ(appended.exitCode, 0) << appended.error;
  EXPECT_EQ(readFile(data / "2.kvn"),
            "\xEF\xBB\xBF"
            "cr\xC3\xA8me\r\nbr\xC3\xBBl\xC3\xA9\x65\r\n\xE2\x86\x92 3\r\nfin\r\n");
  EXPECT_EQ(program.command({"--print", "1"}).out,
            "cr\xC3\xA8me\nbr\xC3\xBBl\xC3\xA9\x65\n\xE2\x86\x92 3\nfin\n");
  // The bound key gives the appended text at once.
  EXPECT_EQ(program.command({"--append", "Lines"}, "four").exitCode, 0);
  program.command({"--copy", "1"});
  EXPECT_EQ(clipboard(), "one\ntwo\nthree\nfour\n");

  const Program::Output missing = program.command({"--print", "7"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.error, "No card has this number or name: 7\n");
  EXPECT_TRUE(missing.out.empty());
  EXPECT_EQ(program.command({"--copy", "0"}).exitCode, 2);
  EXPECT_EQ(program.command({"--frobnicate"}).exitCode, 2);
}

TEST_F(RemoteControl, ProtectedCardsAreRefusedAndKeptAsTheyAre) {
  program.writeData("3.kvo", cardSettings("3.kvc"));
  program.writeData("3.kvc", "\x05sealed bytes");
  startInTray();
  for (const char* command : {"--print", "--append"}) {
    const Program::Output refused = program.command({command, "Work"}, "never");
    EXPECT_EQ(refused.exitCode, 3) << command;
    EXPECT_EQ(refused.error,
              "A protected card is never read or written from the command line: Work\n");
    EXPECT_TRUE(refused.out.empty());
  }
  EXPECT_EQ(readFile(data / "3.kvc"), "\x05sealed bytes");
  EXPECT_NE(
      program.command({"--list", "--json"}).out.find("\"name\": \"Work\", \"protected\": true"),
      std::string::npos);
}

TEST_F(RemoteControl, ACommandWithNoRunningCopyStartsOneInTheTrayThatServesTheNext) {
  const Program::Output list = program.command({"--list"});
  EXPECT_EQ(list.exitCode, 0) << list.error;
  EXPECT_EQ(list.out.substr(0, 14), "-\t\t\tquillWick\n");
  EXPECT_TRUE(program.waitForTrayOnly());
  EXPECT_EQ(program.command({"--print", "0"}).out, "one\ntwo\nthree\n");
  EXPECT_EQ(program.runningCopies(), 1);

  // Help and version touch nothing and start nothing; with no data folder yet they speak the
  // desktop's language.
  Program fresh(desktop);
  const Program::Output help = fresh.command({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--append <FICHE>"), std::string::npos) << help.out;
  desktop.setMessagesLanguage("");
  EXPECT_NE(fresh.command({"--help"}).out.find("--append <CARD>"), std::string::npos);
  EXPECT_EQ(fresh.command({"--version"}).out.rfind("quillwick ", 0), 0u);
  EXPECT_FALSE(fs::exists(fresh.dataFolder()));
}

TEST_F(RemoteControl, ASocketLeftByAKilledCopyDoesNotBlockTheNextStart) {
  QProcess& killed = program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  ASSERT_TRUE(waitUntil([&] { return fs::exists(socket()); }));
  Program::killHard(killed);
  ASSERT_TRUE(fs::exists(socket()));

  program.start();
  Program::Output list;
  EXPECT_TRUE(waitUntil([&] { return (list = program.command({"--list"})).exitCode == 0; }))
      << list.error;
  EXPECT_EQ(list.out.substr(0, 14), "-\t\t\tquillWick\n");
  // A command sent while the start still loads may start a copy of its own; the one that loses
  // the lock ends by itself.
  EXPECT_TRUE(waitUntil([&] { return program.runningCopies() == 1; }))
      << program.runningCopies() << " copies run";
}

TEST_F(RemoteControl, AnotherUsersConnectionIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a second user";
  if (desktop.run("id", {"-u", "qwremote"}).exitCode != 0) {
    ASSERT_EQ(desktop.run("useradd", {"--system", "--no-create-home", "qwremote"}).exitCode, 0);
  }
  startInTray();
  const CommandResult knock = desktop.run(
      "runuser", {"-u", "qwremote", "--", QW_SOCKET_KNOCK, QString::fromStdString(socket())});
  EXPECT_EQ(knock.exitCode, 1) << knock.out.toStdString();
  EXPECT_TRUE(knock.out.startsWith("refused")) << knock.out.toStdString();
  // The user's own connection still gets its answer.
  const CommandResult own = desktop.run(QW_SOCKET_KNOCK, {QString::fromStdString(socket())});
  EXPECT_EQ(own.exitCode, 0);
  EXPECT_TRUE(own.out.contains("Recettes")) << own.out.toStdString();
}

}  // namespace
}  // namespace qw::e2e
