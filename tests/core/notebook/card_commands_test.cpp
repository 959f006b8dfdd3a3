// The card commands against real files in a scratch data folder: what each one does to the
// index, the card files, the strip, the hot keys and the shown card.

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using i18n::Str;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CardCommands : public fixtures::NotebookFolder {
 protected:
  // A start that shows every category and opens the card named `shown`.
  Notebook& open(const std::string& shown = "ktrquillWick") {
    loadStore();
    store->settings.setCategoryFilter("-0-1-2-3-");
    store->settings.setDefaultCard(shown);
    return openNotebook();
  }

  std::vector<int> cards() const {
    std::vector<int> numbers;
    for (const auto& entry : notebook->strip()) numbers.push_back(entry.card);
    return numbers;
  }
};

// --- new card ---

TEST_F(CardCommands, ANewCardCanBeMadeUpTo500AndNotBeyond) {
  open();
  std::vector<std::string> lines;
  for (int n = 1; n <= 499; ++n) lines.push_back(std::to_string(n) + ";-0-0:Card");
  lines.push_back("600");
  store->cardIndex.setLines(lines);

  ASSERT_TRUE(notebook->canCreateCard());
  notebook->createCard(named("Last one"));
  EXPECT_EQ(store->cardIndex.count(), 500);
  EXPECT_EQ(notebook->current().number, 499);

  const std::string indexBefore = readBytes(data / "fiches.kvn");
  const auto stripBefore = names();
  EXPECT_FALSE(notebook->canCreateCard());
  EXPECT_THROW(notebook->createCard(named("Too many")), std::length_error);
  EXPECT_EQ(readBytes(data / "fiches.kvn"), indexBefore);
  EXPECT_EQ(names(), stripBefore);
  EXPECT_FALSE(fs::exists(data / "601.kvo"));
  EXPECT_EQ(notebook->current().number, 499);
}

TEST_F(CardCommands, ANewCardIsSavedAppendedSelectedAndOpenedWithThePreviousLook) {
  makeCards({"1;-0-0:Alpha", "2;-0-0:Beta"});
  open("Alpha");
  editor.type("alpha edited");
  editor.editorLook = {14, 3, 5, 7, 0, 14};

  CardProperties hidden = named("Gamma");
  hidden.categoryId = "9";  // not shown by the filter, appended all the same
  notebook->createCard(hidden);
  EXPECT_EQ(readBytes(data / "1.kvn"), "{\\rtf1 alpha edited}");
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "Alpha", "Beta", "Gamma"}));
  EXPECT_EQ(cards().back(), 2);
  EXPECT_EQ(notebook->strip().back().contentFile, data / "50.kvn");
  EXPECT_EQ(notebook->selectedPosition(), 3);
  EXPECT_EQ(notebook->current().number, 2);
  EXPECT_EQ(notebook->current().name, "Gamma");
  EXPECT_EQ(editor.content, "");
  // Loading the new card set its own white background; the previous look came back after.
  EXPECT_EQ(editor.look(), (ports::EditorLook{14, 3, 5, 7, 0, 14}));
  EXPECT_EQ(indexOnDisk().back(), "51");
}

TEST_F(CardCommands, AFailedSaveOfTheShownCardStopsTheNewCard) {
  makeCards({"1;-0-0:Alpha"});
  open("Alpha");
  editor.type("unsaved");
  fs::remove(data / "1.kvn");
  fs::create_directory(data / "1.kvn");
  EXPECT_THROW(notebook->createCard(named("New")), store::StoreError);
  EXPECT_EQ(store->cardIndex.count(), 1);
  EXPECT_EQ(names().size(), 2u);
  EXPECT_FALSE(fs::exists(data / "50.kvo"));
  EXPECT_EQ(editor.content, "unsaved");
}

// --- card properties ---

TEST_F(CardCommands, NewPropertiesRenameReloadWithoutSavingAndKeepTheSyncLink) {
  makeCards({"1;-0-0:Alpha", "2;-0-H4-0:Beta"});
  open("Beta");
  editor.type("edits to drop");
  CardProperties changed = named("Beta 2", 4);
  changed.syncLink = "/home/me/partner.txt";
  ASSERT_TRUE(notebook->editCurrentCard(changed));

  EXPECT_EQ(readBytes(data / "2.kvn"), "text of 2");
  EXPECT_EQ(editor.content, "text of 2");
  EXPECT_FALSE(editor.modified);
  EXPECT_EQ(names()[2], "Beta 2");
  EXPECT_EQ(notebook->current().name, "Beta 2");
  EXPECT_EQ(indexOnDisk()[1], "2;-0-H4-0:Beta 2");
  EXPECT_EQ(store->hotKeys[4].name, "Beta 2");
  EXPECT_EQ(notebook->propertiesOf(1).syncLink, "/home/me/partner.txt");

  // The link reaches the settings file with the next save.
  notebook->switchToPosition(1);
  EXPECT_EQ(store::readTextLines(data / "2.kvo")->at(10), "/home/me/partner.txt");
}

TEST_F(CardCommands, PropertiesMendACardWhoseLinkedFileIsGone) {
  makeCards({"1;-0-1:Lost"});
  writeBytes(data / "1.kvo", (temp.path() / "gone.txt").string() + "\r\n");
  open("Lost");
  ASSERT_EQ(notebook->current().number, kFailedCard);

  const fs::path found = temp.path() / "found.txt";
  writeBytes(found, "found text");
  CardProperties mended = named("Lost");
  mended.linkedFile = found.string();
  ASSERT_TRUE(notebook->editCurrentCard(mended));
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "found text");
  EXPECT_EQ(notebook->strip()[1].contentFile, found);
}

// --- delete ---

TEST_F(CardCommands, TheMainCardRefusesPropertiesAndDeletingAndANoChangesNothing) {
  makeCards({"1;-0-0:Alpha"});
  open();
  const std::string indexBefore = readBytes(data / "fiches.kvn");
  EXPECT_FALSE(notebook->editCurrentCard(named("Renamed")));
  notebook->deleteCurrentCard();
  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"Err#102 : Properties are not editables for this card",
                                      "Err#103 : The \"Main\" card cannot be deleted"}));
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(readBytes(data / "fiches.kvn"), indexBefore);
  EXPECT_EQ(names()[0], "ktrquillWick");

  notebook->switchToPosition(1);
  prompts.answers = {false};
  notebook->deleteCurrentCard();
  EXPECT_EQ(prompts.questions,
            std::vector<std::string>{strings[Str::sMsgDeleteCardTitle] + "|" +
                                     strings[Str::sMsgDeleteCardQuestion] + "\"Alpha\""});
  EXPECT_EQ(readBytes(data / "fiches.kvn"), indexBefore);
  EXPECT_TRUE(fs::exists(data / "1.kvo"));
  EXPECT_TRUE(fs::exists(data / "1.kvn"));
  EXPECT_EQ(notebook->selectedPosition(), 1);
}

TEST_F(CardCommands, DeletingTheOnlyCardOpensTheMainCard) {
  makeCards({"1;-0-0:Alpha"});
  writeBytes(data / "1.kvc", "sealed");
  open("Alpha");
  prompts.answers = {true};
  notebook->deleteCurrentCard();
  EXPECT_EQ(indexOnDisk(), std::vector<std::string>{"50"});
  EXPECT_FALSE(fs::exists(data / "1.kvo"));
  EXPECT_FALSE(fs::exists(data / "1.kvn"));
  EXPECT_FALSE(fs::exists(data / "1.kvc"));
  // No snapshot of the deleted card is left to be restored after a crash.
  EXPECT_FALSE(fs::exists(data / "1.kvn.$$$"));
  EXPECT_FALSE(fs::exists(data / "1.kvo.$$$"));
  notebook->makeSnapshotsAndJournal();  // once the main card is on the screen
  EXPECT_EQ(readBytes(data / "backup.ini").substr(0, 14), "ktrquillWick\r\n");
  EXPECT_EQ(names(), std::vector<std::string>{"ktrquillWick"});
  EXPECT_EQ(notebook->selectedPosition(), 0);
  EXPECT_EQ(notebook->current().number, kMainCard);
  EXPECT_EQ(notebook->current().name, "ktrquillWick");
}

TEST_F(CardCommands, DeletingKeepsThePositionOrStepsUpFromTheLast) {
  makeCards({"1;-0-0:A", "2;-0-0:B", "3;-0-0:C", "4;-0-0:D"});
  open("A");
  prompts.answers = {true, true, true};

  notebook->deleteCurrentCard();  // the first: the card that followed takes its place
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "B", "C", "D"}));
  EXPECT_EQ(cards(), (std::vector<int>{kMainCard, 0, 1, 2}));
  EXPECT_EQ(notebook->selectedPosition(), 1);
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "text of 2");

  notebook->switchToPosition(2);
  notebook->deleteCurrentCard();  // a middle one
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "B", "D"}));
  EXPECT_EQ(notebook->selectedPosition(), 2);
  EXPECT_EQ(notebook->current().name, "D");
  EXPECT_EQ(editor.content, "text of 4");

  notebook->deleteCurrentCard();  // the last: the card above it
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "B"}));
  EXPECT_EQ(notebook->selectedPosition(), 1);
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "text of 2");

  // File numbers stay, the counter is never lowered: a new card gets a fresh number.
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"2;-0-0:B", "50"}));
  notebook->createCard(named("E"));
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"2;-0-0:B", "50;-0-0:E", "51"}));
}

TEST_F(CardCommands, DeletingALinkedCardLeavesItsFileAndRenumbersTheHotKeys) {
  makeCards({"1;-0-H1-0:A", "2;-0-H2-1:Linked", "3;-0-H3-0:C"});
  const fs::path outside = temp.path() / "outside.txt";
  writeBytes(outside, "outside text");
  writeBytes(data / "2.kvo", outside.string() + "\r\n");
  open("Linked");
  ASSERT_EQ(editor.content, "outside text");
  prompts.answers = {true};

  notebook->deleteCurrentCard();
  EXPECT_EQ(readBytes(outside), "outside text");
  EXPECT_FALSE(fs::exists(data / "2.kvo"));
  EXPECT_EQ(store->hotKeys[1].card, 0);
  EXPECT_EQ(store->hotKeys[2].card, -1);
  EXPECT_EQ(store->hotKeys[3].card, 1);
  EXPECT_EQ(notebook->current().name, "C");
}

// --- previous and next ---

TEST_F(CardCommands, StepsStopAtBothEndsAndSaveTheEdits) {
  makeCards({"1;-0-0:A", "2;-0-0:B"});
  open("A");
  editor.type("A edited");
  notebook->previousCard();
  EXPECT_EQ(notebook->selectedPosition(), 0);
  EXPECT_EQ(notebook->current().number, kMainCard);
  EXPECT_EQ(readBytes(data / "1.kvn"), "{\\rtf1 A edited}");

  const int loads = editor.loads;
  notebook->previousCard();  // no wrap to the last card
  EXPECT_EQ(notebook->selectedPosition(), 0);
  EXPECT_EQ(editor.loads, loads);

  notebook->nextCard();
  notebook->nextCard();
  EXPECT_EQ(notebook->current().name, "B");
  editor.type("B edited");
  notebook->nextCard();  // no wrap to the main card
  EXPECT_EQ(notebook->selectedPosition(), 2);
  EXPECT_EQ(editor.content, "B edited");
  EXPECT_TRUE(editor.modified);

  notebook->previousCard();
  EXPECT_EQ(readBytes(data / "2.kvn"), "{\\rtf1 B edited}");
  EXPECT_EQ(editor.content, "{\\rtf1 A edited}");
}

// --- move up and down ---

TEST_F(CardCommands, MovesStopAtTheEndsAndNeverPassTheMainCard) {
  makeCards({"1;-0-0:A", "2;-0-0:B"});
  open();
  const std::string indexBefore = readBytes(data / "fiches.kvn");
  notebook->moveCurrentCardUp();
  notebook->moveCurrentCardDown();
  notebook->switchToPosition(1);
  notebook->moveCurrentCardUp();
  notebook->switchToPosition(2);
  notebook->moveCurrentCardDown();
  EXPECT_EQ(readBytes(data / "fiches.kvn"), indexBefore);
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "A", "B"}));
  EXPECT_EQ(notebook->selectedPosition(), 2);
}

TEST_F(CardCommands, MovingExchangesLinesAndTheShownCardKeepsItsFilesAndHotKey) {
  makeCards({"1;-0-H1-0:A", "2;-5-0:Hidden", "3;-0-H3-0:C"});
  open("A");
  editor.type("A edited");
  const int loads = editor.loads;

  notebook->moveCurrentCardDown();  // past the hidden card, onto C's line
  EXPECT_EQ(indexOnDisk(),
            (std::vector<std::string>{"3;-0-H3-0:C", "2;-5-0:Hidden", "1;-0-H1-0:A", "50"}));
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "C", "A"}));
  EXPECT_EQ(cards(), (std::vector<int>{kMainCard, 0, 2}));
  EXPECT_EQ(notebook->strip()[2].contentFile, data / "1.kvn");
  EXPECT_EQ(notebook->selectedPosition(), 2);
  EXPECT_EQ(notebook->current().number, 2);
  EXPECT_EQ(store->hotKeys[1].card, 2);
  EXPECT_EQ(store->hotKeys[3].card, 0);
  EXPECT_EQ(editor.loads, loads);
  EXPECT_TRUE(editor.modified);

  // Leaving the moved card writes its own files; its properties are its own.
  notebook->switchToPosition(0);
  EXPECT_EQ(readBytes(data / "1.kvn"), "{\\rtf1 A edited}");
  EXPECT_EQ(readBytes(data / "3.kvn"), "text of 3");
  EXPECT_EQ(notebook->propertiesOf(2).name, "A");

  notebook->switchToPosition(2);
  notebook->moveCurrentCardUp();
  EXPECT_EQ(indexOnDisk(),
            (std::vector<std::string>{"1;-0-H1-0:A", "2;-5-0:Hidden", "3;-0-H3-0:C", "50"}));
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(notebook->selectedPosition(), 1);
  EXPECT_EQ(store->hotKeys[1].card, 0);
  EXPECT_EQ(store->hotKeys[3].card, 2);
}

TEST_F(CardCommands, AnIndexThatCannotBeSavedLeavesEverythingAsItWas) {
  makeCards({"1;-0-H1-0:A", "2;-0-0:B"});
  open("A");
  fs::remove(data / "fiches.kvn");
  writeBytes(data / "fiches.kvn" / "blocker", "");  // a folder where the index should go
  const auto linesBefore = store->cardIndex.lines();

  EXPECT_THROW(notebook->moveCurrentCardDown(), store::StoreError);
  prompts.answers = {true};
  EXPECT_THROW(notebook->deleteCurrentCard(), store::StoreError);
  EXPECT_EQ(store->cardIndex.lines(), linesBefore);
  EXPECT_EQ(store->hotKeys[1].card, 0);
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "A", "B"}));
  EXPECT_EQ(notebook->selectedPosition(), 1);
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_TRUE(fs::exists(data / "1.kvo"));
}

}  // namespace
}  // namespace qw::notebook
