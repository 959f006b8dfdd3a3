// The Windows program's global keys under Wine, pressed while another Windows program (Wine's
// notepad) has the focus, and the report of a key another program holds.

#include <gtest/gtest.h>

#include "e2e/wine_test.h"

namespace qw::e2e {
namespace {

class WindowsKeys : public WineTest {
 protected:
  void SetUp() override {
    program.writeData("param.ini", englishSettings("quillWick", "Hide"));
    program.writeCards({{"Lines", "one\r\ntwo\r\nthree"}});
    program.writeData("fiches.kvn", "1;-0-H1-0:Lines\r\n2\r\n");  // on hot key 1
  }

  // WORKAROUND: Wine hands RegisterHotKey keys to a program only while one of its own windows
  // has the focus (a native X window keeps them); Windows delivers them whatever has it. So
  // "another program" is Wine's notepad.
  void focusNotepad() {
    program.startOther("notepad");
    // Its title is in Wine's display language, French unless a test says otherwise.
    const QString notepad = desktop.waitForWindow("(Notepad|Bloc-notes)$", 30s);
    ASSERT_FALSE(notepad.isEmpty());
    ASSERT_TRUE(focus(notepad));
  }

  bool clipboardBecomes(const QString& text) const {
    return waitUntil([&] { return desktop.clipboard() == text; });
  }
};

TEST_F(WindowsKeys, SlotTextLineFeedAndANewCardFromNotepad) {
  program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  focusNotepad();

  desktop.key("super+1");
  // WORKAROUND: Windows programs put CR LF line ends on the clipboard; Wine's X bridge hands
  // them on to X as they are.
  EXPECT_TRUE(clipboardBecomes("one\r\ntwo\r\nthree\r\n") || clipboardBecomes("one\ntwo\nthree\n"))
      << desktop.clipboard().toStdString();
  screenshot("global-key-slot.png");

  desktop.key("super+shift+1");
  EXPECT_TRUE(clipboardBecomes("one")) << desktop.clipboard().toStdString();
  for (const char* line : {"two", "three", "one"}) {
    desktop.key("super+c");
    EXPECT_TRUE(clipboardBecomes(line)) << line << " / " << desktop.clipboard().toStdString();
  }

  ASSERT_TRUE(desktop.setClipboard("from the X side"));
  ASSERT_TRUE(clipboardBecomes("from the X side"));
  desktop.key("super+v");
  ASSERT_TRUE(program.waitForMainWindow());
  ASSERT_TRUE(waitUntil(
      [&] {
        return readFile(data / "fiches.kvn") == "1;-0-H1-0:Lines\r\n2;-0-0:KTRquillWick 1\r\n3\r\n";
      },
      20s))
      << readFile(data / "fiches.kvn");
  EXPECT_EQ(readFile(data / "2.kvn"), "from the X side\r\n");
  screenshot("global-key-new-card.png");
}

TEST_F(WindowsKeys, TheCommandLineCopiesListsAndFindsThroughTheRunningCopy) {
  program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  const QString exe = QString::fromStdString((program.folder() / "quillwick.exe").string());

  const CommandResult copy = program.wine("wine", {exe, "--copy", "1"});
  EXPECT_EQ(copy.exitCode, 0);
  // WORKAROUND: as for the key, Wine hands the clipboard's CR LF on to X as it is.
  EXPECT_TRUE(clipboardBecomes("one\r\ntwo\r\nthree\r\n") || clipboardBecomes("one\ntwo\nthree\n"))
      << desktop.clipboard().toStdString();

  const CommandResult list = program.wine("wine", {exe, "--list"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out, "-\t\t\tquillWick\n0\t1\tStandard\tLines\n");
  EXPECT_EQ(program.wine("wine", {exe, "--print", "9"}).exitCode, 1);
  EXPECT_EQ(program.wine("wine", {exe, "--copy", "0"}).exitCode, 2);

  // Find in all cards runs on a thread of its own: MinGW's threads under Wine.
  const CommandResult found = program.wine("wine", {exe, "--find", "TWO"});
  EXPECT_EQ(found.exitCode, 0);
  EXPECT_EQ(found.out, "0\t2\tLines\ttwo\n");
  EXPECT_EQ(program.wine("wine", {exe, "--find", "nowhere"}).exitCode, 1);
}

TEST_F(WindowsKeys, AKeyAnotherProgramHoldsIsNamedInTheReport) {
  QProcess& holder = program.startOther(
      QString::fromStdString((WineProgram::buildFolder() / "key_holder.exe").string()));
  ASSERT_TRUE(holder.waitForReadyRead(30000));
  ASSERT_EQ(holder.readAllStandardOutput().trimmed(), "registered");

  program.start();
  // The report: a message box of the program's, the main window staying hidden.
  const QString box = desktop.waitForWindow("^KTRQuillWick$", 30s);
  ASSERT_FALSE(box.isEmpty());
  ASSERT_TRUE(waitUntil([&] { return desktop.mainWindow().isEmpty(); }));
  screenshot("global-key-held.png");
  // A message box copies its text with Ctrl+C.
  // WORKAROUND: with no window of the program in Wine's foreground the box never takes the X
  // focus; the key is sent to it.
  ASSERT_TRUE(waitUntil(
      [&] {
        desktop.run("xdotool", {"key", "--window", box, "ctrl+c"});
        return desktop.clipboard().contains("will not work");
      },
      20s))
      << desktop.clipboard().toStdString();
  const QString report = desktop.clipboard();
  EXPECT_TRUE(report.contains("will not work: Win+3.")) << report.toStdString();
  ASSERT_TRUE(waitUntil(
      [&] {
        desktop.run("xdotool", {"key", "--window", box, "Return"});
        return desktop.windowsNamed("^KTRQuillWick$").isEmpty();
      },
      20s));
}

}  // namespace
}  // namespace qw::e2e
