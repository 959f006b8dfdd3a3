// A hostile file system under the notebook: a disk that fills up or turns read-only, a card file
// that is a folder, a linked file whose folder vanishes. Every case ends in a refusal that says
// why, with the open card and its edits kept and every stored file as it was.

#include <gtest/gtest.h>

#include <map>

#include "core/notebook/categories.h"
#include "core/notebook/notebook_fixture.h"
#include "core/store/scratch_mount.h"
#include "core/store/store_error.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::StoreError;
using store::fixtures::readBytes;
using store::fixtures::ScratchMount;
using store::fixtures::writeBytes;

// Every file of the data folder with its bytes, the filler of a full disk left out.
std::map<std::string, std::string> filesOf(const fs::path& folder) {
  auto files = store::fixtures::filesIn(folder);
  files.erase(ScratchMount::kFiller);
  return files;
}

enum class Fault { FullDisk, ReadOnlyDisk };

class DiskFaults : public fixtures::NotebookFolder, public ::testing::WithParamInterface<Fault> {
 protected:
  std::optional<ScratchMount> disk;

  void SetUp() override {
    disk.emplace(data, 1 << 20);
    if (!disk->mounted()) GTEST_SKIP() << disk->failure();
    makeCards({"1;-0-0:One", "2;-0-0:Two"});
    start();
    notebook->switchToPosition(1);
    notebook->makeSnapshotsAndJournal();  // card One is on the screen
    editor.type("edited one");
  }

  void breakDisk() {
    if (GetParam() == Fault::FullDisk)
      disk->fill();
    else
      ASSERT_TRUE(disk->setReadOnly(true));
  }
  void repairDisk() {
    if (GetParam() == Fault::FullDisk)
      disk->freeSpace();
    else
      ASSERT_TRUE(disk->setReadOnly(false));
  }
};

TEST_P(DiskFaults, EverySaveIsRefusedWithTheFilesKeptAndTheNextSaveAfterTheRepairWorks) {
  const auto before = filesOf(data);
  ASSERT_TRUE(before.contains("backup.ini"));  // card One is open, its snapshots taken
  breakDisk();

  // The card switch: the open card stays, with its edits.
  EXPECT_THROW(notebook->switchToPosition(2), StoreError);
  EXPECT_EQ(notebook->selectedPosition(), 1);
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "edited one");
  EXPECT_TRUE(editor.modified);

  // Commands that save the card first stop there; the index, the categories and the settings
  // keep their files and their memory.
  const auto index = store->cardIndex.lines();
  EXPECT_THROW(notebook->createCard(named("Three")), StoreError);
  prompts.answers = {true};
  EXPECT_THROW(notebook->deleteCurrentCard(), StoreError);
  EXPECT_THROW(notebook->moveCurrentCardDown(), StoreError);
  EXPECT_EQ(store->cardIndex.lines(), index);
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "One", "Two"}));
  const auto categories = store->categories.lines();
  EXPECT_THROW(addCategory(*store, "Work"), StoreError);
  EXPECT_EQ(store->categories.lines(), categories);
  store->settings.setLanguage(
      store::Language::English);  // a change: an unchanged file is not written
  EXPECT_THROW(store::saveSettings(*store, platform), StoreError);

  EXPECT_EQ(filesOf(data), before) << "a refused save changed or left a file";
  EXPECT_EQ(editor.content, "edited one");

  repairDisk();
  notebook->switchToPosition(2);
  EXPECT_EQ(readBytes(data / "1.kvn"), "{\\rtf1 edited one}");
  notebook->createCard(named("Three"));
  EXPECT_EQ(indexOnDisk(),
            (std::vector<std::string>{"1;-0-0:One", "2;-0-0:Two", "50;-0-0:Three", "51"}));
  store::saveSettings(*store, platform);
  EXPECT_EQ(store::readTextLines(data / "param.ini")->front(), "Langue=Anglais");
}

INSTANTIATE_TEST_SUITE_P(Faults, DiskFaults,
                         ::testing::Values(Fault::FullDisk, Fault::ReadOnlyDisk),
                         [](const auto& info) {
                           return info.param == Fault::FullDisk ? "FullDisk" : "ReadOnlyDisk";
                         });

class FolderInPlaceOfAFile : public fixtures::NotebookFolder {
 protected:
  void SetUp() override {
    makeCards({"1;-0-0:One", "2;-0-0:Two"});
    start();
  }
  // A folder, with something in it that must survive, where a card file was.
  void turnIntoFolder(const std::string& name) {
    fs::remove(data / name);
    writeBytes(data / name / "keep.txt", "kept");
  }
};

TEST_F(FolderInPlaceOfAFile, OpeningTheCardIsReportedAndLeavesNoCardShown) {
  turnIntoFolder("2.kvn");
  notebook->switchToPosition(2);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].find("2.kvn"), std::string::npos) << prompts.messages[0];
  EXPECT_EQ(notebook->current().number, kFailedCard);
  EXPECT_FALSE(editor.available);

  // Leaving it saves nothing of it; the other cards work as before.
  notebook->switchToPosition(1);
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "text of 1");
  EXPECT_EQ(readBytes(data / "2.kvn" / "keep.txt"), "kept");
}

TEST_F(FolderInPlaceOfAFile, SavingTheOpenCardIsRefusedWithItsEditsKept) {
  notebook->switchToPosition(2);
  editor.type("edited two");
  turnIntoFolder("2.kvn");
  EXPECT_THROW(notebook->switchToPosition(1), StoreError);
  EXPECT_EQ(notebook->current().number, 1);
  EXPECT_EQ(editor.content, "edited two");
  EXPECT_EQ(readBytes(data / "2.kvn" / "keep.txt"), "kept");
  EXPECT_TRUE(fs::exists(data / "backup.ini"));  // a kill now still gets the card back
}

TEST_F(FolderInPlaceOfAFile, ASettingsFileThatIsAFolderRefusesOnlyItsCard) {
  turnIntoFolder("2.kvo");
  // A restart: the card still has its line, and opening it says which file is wrong.
  start();
  ASSERT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "One", "Two"}));
  notebook->switchToPosition(2);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_NE(prompts.messages.back().find("2.kvo"), std::string::npos) << prompts.messages.back();
  EXPECT_EQ(notebook->current().number, kFailedCard);
  notebook->switchToPosition(1);
  EXPECT_EQ(editor.content, "text of 1");
}

class VanishedLinkFolder : public fixtures::NotebookFolder {
 protected:
  fs::path outside = temp.path() / "elsewhere";
  fs::path linked = outside / "notes.txt";

  void SetUp() override {
    makeCards({"1;-0-0:One", "2;-0-1:Linked"});
    writeBytes(data / "2.kvo", linked.string() + "\r\n");
    writeBytes(linked, "linked text");
    start();
    notebook->switchToPosition(2);
    editor.type("edited link");
    fs::remove_all(outside);
  }
};

TEST_F(VanishedLinkFolder, SavingIsRefusedTheEditsStayAndTheRestOfTheNotebookIsSaved) {
  prompts.answers = {true};
  EXPECT_THROW(notebook->switchToPosition(1), StoreError);
  EXPECT_EQ(notebook->current().number, 1);
  EXPECT_EQ(editor.content, "edited link");
  EXPECT_TRUE(editor.modified);
  EXPECT_FALSE(fs::exists(outside)) << "the folder was made again";

  // What the end writes whatever the card: the index and the settings.
  store::saveCardIndex(*store);
  store::saveSettings(*store, platform);
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"1;-0-0:One", "2;-0-1:Linked", "50"}));
  EXPECT_EQ(readBytes(data / "1.kvn"), "text of 1");

  // With the folder back, the same switch writes the linked file.
  fs::create_directories(outside);
  prompts.answers = {true};
  notebook->switchToPosition(1);
  EXPECT_EQ(readBytes(linked), "{\\rtf1 edited link}");
}

TEST_F(VanishedLinkFolder, DecliningTheSaveIsTheUsersChoiceAndKeepsTheLinkInTheSettings) {
  prompts.answers = {false};
  notebook->switchToPosition(1);
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(store::readTextLines(data / "2.kvo")->front(), linked.string());
}

}  // namespace
}  // namespace qw::notebook
