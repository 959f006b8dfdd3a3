// The system-wide keys, pressed while another program has the focus: a card's text and its
// lines onto the clipboard, the clipboard into a new card, the hidden window back on screen.

#include <gtest/gtest.h>

#include <thread>

#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;

class GlobalKeys : public DesktopTest {
 protected:
  QProcess other;  // the program that has the focus while the keys are pressed

  void SetUp() override {
    program.writeData("param.ini", englishSettings("quillWick", "Hide"));
    program.writeCards({{"Lines", "one\r\ntwo\r\nthree"}});
    program.writeData("fiches.kvn", "1;-0-H1-0:Lines\r\n2\r\n");  // on hot key 1
  }

  void TearDown() override {
    other.kill();
    other.waitForFinished(3000);
  }

  // A window of another program, focused, so the keys are really global.
  void focusAnotherProgram() {
    other.setProcessEnvironment(desktop.environment());
    other.start("xmessage", {"-title", "other", "another program"});
    const QString id = desktop.waitForWindow("^other$");
    ASSERT_FALSE(id.isEmpty());
    desktop.activate(id);
  }

  QString clipboard() const { return desktop.run("xclip", {"-o", "-selection", "clipboard"}).out; }
  bool clipboardBecomes(const QString& text) const {
    return waitUntil([&] { return clipboard() == text; });
  }
  // The info popup: a small borderless window of the program.
  bool popupShown() const {
    const QStringList ids =
        desktop.run("xdotool", {"search", "--onlyvisible", "--class", "quillwick"})
            .out.split('\n', Qt::SkipEmptyParts);
    for (const QString& id : ids)
      if (desktop.run("xdotool", {"getwindowgeometry", id}).out.contains("Geometry: 201x41"))
        return true;
    return false;
  }
};

TEST_F(GlobalKeys, SlotTextLineFeedAndTheWindowFromAnotherProgram) {
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  focusAnotherProgram();

  desktop.key("super+1");
  EXPECT_TRUE(clipboardBecomes("one\ntwo\nthree\n")) << clipboard().toStdString();
  EXPECT_TRUE(waitUntil([&] { return popupShown(); }));
  screenshot("global-key-popup.png");
  // It closes by itself.
  EXPECT_TRUE(waitUntil([&] { return !popupShown(); }));

  desktop.key("super+shift+1");
  EXPECT_TRUE(clipboardBecomes("one")) << clipboard().toStdString();
  for (const char* line : {"two", "three", "one"}) {
    desktop.key("super+c");
    EXPECT_TRUE(clipboardBecomes(line)) << line << " / " << clipboard().toStdString();
  }

  // An empty slot leaves the clipboard alone.
  desktop.key("super+2");
  EXPECT_TRUE(waitUntil([&] { return popupShown(); }));
  EXPECT_EQ(clipboard(), "one");

  desktop.key("super+F2");
  EXPECT_TRUE(program.waitForMainWindow());
  ASSERT_EQ(program.quit(running), 0);
}

TEST_F(GlobalKeys, WhatIsTypedRightAfterSuperF2GoesIntoTheCard) {
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  focusAnotherProgram();

  desktop.key("super+F2");
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  // The window takes the keyboard by itself: nobody clicks it.
  EXPECT_TRUE(desktop.waitForFocus(window));
  desktop.type("typed at once");
  screenshot("typed-after-super-f2.png");
  desktop.key("F2");
  ASSERT_TRUE(waitUntil([&] { return program.mainWindow().isEmpty(); }));
  EXPECT_NE(readFile(data / "default.kvn").find("typed at once"), std::string::npos)
      << readFile(data / "default.kvn");
  ASSERT_EQ(running.state(), QProcess::Running);
}

TEST_F(GlobalKeys, SuperVMakesACardOfTheClipboardAndShowsIt) {
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  focusAnotherProgram();

  QProcess copy;
  copy.setProcessEnvironment(desktop.environment());
  copy.start("xclip", {"-i", "-selection", "clipboard"});
  copy.write("from the clipboard");
  copy.closeWriteChannel();
  ASSERT_TRUE(copy.waitForFinished(5000));
  ASSERT_TRUE(clipboardBecomes("from the clipboard"));

  desktop.key("super+v");
  ASSERT_TRUE(program.waitForMainWindow());
  ASSERT_TRUE(waitUntil([&] {
    return readFile(data / "fiches.kvn") == "1;-0-H1-0:Lines\r\n2;-0-0:KTRquillWick 1\r\n3\r\n";
  })) << readFile(data / "fiches.kvn");
  EXPECT_EQ(readFile(data / "2.kvn"), "from the clipboard\r\n");
  screenshot("global-key-new-card.png");
  ASSERT_EQ(program.quit(running), 0);
}

TEST_F(GlobalKeys, TheAlternativeSetClashesWithNothingAndLeavesCtrlAltVToTheMenu) {
  program.writeData("param.ini", englishSettings("quillWick", "Hide") + "GlobalKeys=CtrlAlt\r\n");
  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForTrayOnly());
  // No message about kept keys: icewm keeps Ctrl+Alt with digits for its workspaces, not these.
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(desktop.windowsNamed("^KTRQuillWick$").isEmpty());
  focusAnotherProgram();

  desktop.key("ctrl+shift+F1");
  EXPECT_TRUE(clipboardBecomes("one\ntwo\nthree\n")) << clipboard().toStdString();
  desktop.key("ctrl+alt+shift+F1");
  EXPECT_TRUE(clipboardBecomes("one")) << clipboard().toStdString();
  desktop.key("ctrl+shift+F12");
  EXPECT_TRUE(clipboardBecomes("two")) << clipboard().toStdString();

  desktop.key("ctrl+shift+F10");
  ASSERT_TRUE(program.waitForMainWindow());
  const QString window = program.mainWindow();
  ASSERT_TRUE(desktop.waitForFocus(window));
  // The menu's own Ctrl+Alt+V: the clipboard into the open card, saved at once.
  desktop.key("ctrl+alt+v");
  EXPECT_TRUE(waitUntil([&] {
    return readFile(data / "default.kvn").find("two") != std::string::npos;
  })) << readFile(data / "default.kvn");
  EXPECT_EQ(cardCount(data), 1);

  desktop.key("ctrl+shift+F11");
  EXPECT_TRUE(waitUntil([&] { return fs::exists(data / "2.kvn"); }));
  EXPECT_EQ(readFile(data / "2.kvn"), "two\r\n");
  ASSERT_EQ(program.quit(running), 0);
}

TEST_F(GlobalKeys, KeysAnotherProgramKeepsAreNamedOnceAndTheOthersWork) {
  QProcess grabber;
  grabber.setProcessEnvironment(desktop.environment());
  grabber.start(QW_KEY_GRABBER, {"3"});
  ASSERT_TRUE(grabber.waitForReadyRead(5000));
  ASSERT_EQ(grabber.readAll().trimmed(), "grabbed");

  QProcess& running = program.start();
  // The message: a small window of the program's, over the hidden main window.
  const QString box = desktop.waitForWindow("^KTRQuillWick$");
  ASSERT_FALSE(box.isEmpty());
  ASSERT_TRUE(waitUntil([&] { return program.mainWindow().isEmpty(); }));
  screenshot("global-keys-taken.png");
  desktop.activate(box);
  desktop.key("Return");
  ASSERT_TRUE(desktop.waitForNoWindow("^KTRQuillWick$"));

  focusAnotherProgram();
  desktop.key("super+1");
  EXPECT_TRUE(clipboardBecomes("one\ntwo\nthree\n")) << clipboard().toStdString();

  grabber.kill();
  grabber.waitForFinished(3000);
  running.terminate();
  ASSERT_TRUE(running.waitForFinished(10000));
}

}  // namespace
}  // namespace qw::e2e
