// The real program on a data folder that fills up, then turns read-only, while a card is open:
// each save is refused with a message, the card stays open with its edits, the files stay as
// they were, and once the disk is usable again the same switch saves.

#include <gtest/gtest.h>

#include "core/store/scratch_mount.h"
#include "e2e/desktop_test.h"

namespace qw::e2e {
namespace {

namespace fs = std::filesystem;
using store::fixtures::ScratchMount;

class FileFaults : public DesktopTest {
 protected:
  // Declared last: unmounted before the program's folder goes.
  ScratchMount disk{data, 1 << 20};
  QString window;

  void clickCard(int position) { desktop.click(window, 40, 10 + 24 * position + 7); }
  bool journalNames(const std::string& name) const {
    return readFile(data / "backup.ini").rfind(name + "\r\n", 0) == 0;
  }
  // The error box over the main window: seen, then answered.
  bool answerErrorBox(const std::string& shot) {
    QString box;
    const bool shown = waitUntil([&] {
      for (const QString& id : desktop.windowsNamed("^KTRQuillWick$"))
        if (id != window) box = id;
      return !box.isEmpty();
    });
    if (!shown) {
      screenshot("no-" + shot);
      return false;
    }
    screenshot(shot);
    return desktop.answer(box);
  }
};

TEST_F(FileFaults, AFullThenReadOnlyDiskRefusesTheSaveAndKeepsTheCardOpenWithItsEdits) {
  if (!disk.mounted()) GTEST_SKIP() << disk.failure();
  program.writeData("param.ini", englishSettings());
  program.writeCards({{"Alpha", "alpha text"}, {"Beta", "beta text"}});

  QProcess& running = program.start();
  ASSERT_TRUE(program.waitForMainWindow());
  window = program.mainWindow();
  clickCard(1);
  ASSERT_TRUE(waitUntil([&] { return journalNames("Alpha"); }));
  desktop.click(window, 500, 300);
  desktop.key("ctrl+End");
  desktop.type(" more");

  disk.fill();
  clickCard(2);
  ASSERT_TRUE(answerErrorBox("full-disk.png")) << "no message for the full disk";
  EXPECT_EQ(readFile(data / "1.kvn"), "alpha text");
  EXPECT_TRUE(journalNames("Alpha"));
  disk.freeSpace();

  ASSERT_TRUE(disk.setReadOnly(true));
  clickCard(2);
  ASSERT_TRUE(answerErrorBox("read-only-disk.png")) << "no message for the read-only disk";
  EXPECT_EQ(readFile(data / "1.kvn"), "alpha text");
  ASSERT_TRUE(disk.setReadOnly(false));

  // The edits typed before both faults are still in the editor: this switch writes them.
  clickCard(2);
  ASSERT_TRUE(waitUntil([&] { return journalNames("Beta"); }));
  EXPECT_NE(readFile(data / "1.kvn").find("alpha text more"), std::string::npos)
      << readFile(data / "1.kvn");
  ASSERT_EQ(program.quit(running), 0);
  EXPECT_EQ(dataFolderProblems(data, 2, 2, {"beta text"}), "");
}

}  // namespace
}  // namespace qw::e2e
