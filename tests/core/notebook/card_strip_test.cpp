// The strip of card names: what it shows, which card opens first, and the switch.

#include <gtest/gtest.h>

#include <optional>

#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CardStrip : public fixtures::NotebookFolder {
 protected:
  CardStrip() : NotebookFolder("Français") {}

  // Own-file cards from their index lines, and the settings file.
  void makeCards(const std::vector<std::string>& index, const std::string& settings) {
    NotebookFolder::makeCards(index);
    writeBytes(data / "param.ini", settings);
  }
};

TEST_F(CardStrip, ANewFolderShowsOnlyTheMainCardSelected) {
  start();
  EXPECT_EQ(names(), std::vector<std::string>{"ktrquillWick"});
  EXPECT_EQ(notebook->selectedPosition(), 0);
  EXPECT_EQ(notebook->strip()[0].card, kMainCard);
  EXPECT_EQ(notebook->strip()[0].contentFile, data / "default.kvn");
}

TEST_F(CardStrip, TheCategoryFilterHidesCardsButKeepsThemInTheIndex) {
  makeCards({"1;-0-0:Plain", "2;-3-0:Work A", "3;-12-0:Other", "4;-3-0:Work B"},
            "Langue=Fran\xE7"
            "ais\r\nDefaultFiche=quillWick\r\nx\r\nx\r\nx\r\n"
            "LCategories=-3-\r\n");
  start();
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "Work A", "Work B"}));
  EXPECT_EQ(notebook->strip()[2].card, 3);
  EXPECT_EQ(store->cardIndex.count(), 4);
}

TEST_F(CardStrip, TheDefaultCardOpensByNameAndAnUnknownNameOpensTheMainCard) {
  makeCards({"1;-0-0:Alpha", "2;-0-0:Beta"},
            "Langue=Fran\xE7"
            "ais\r\nDefaultFiche=Beta\r\n");
  start();
  EXPECT_EQ(notebook->selectedPosition(), 2);
  EXPECT_EQ(notebook->current().number, 1);
  EXPECT_EQ(editor.content, "text of 2");

  notebook->saveCard();
  writeBytes(data / "param.ini",
             "Langue=Fran\xE7"
             "ais\r\nDefaultFiche=Gamma\r\n");
  start();
  EXPECT_EQ(notebook->selectedPosition(), 0);
  EXPECT_EQ(notebook->current().number, kMainCard);
}

TEST_F(CardStrip, CardsWithoutContentFileAreDroppedAndHotKeysFollowTheirCards) {
  makeCards({"1;-0-0:Alpha", "2;-0-H1-0:Empty", "3;-0-H2-0:Gamma"},
            "Langue=Fran\xE7"
            "ais\r\nDefaultFiche=quillWick\r\n");
  writeBytes(data / "2.kvo", "\r\n");  // names no content file
  start();
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "Alpha", "Gamma"}));
  EXPECT_EQ(store->cardIndex.count(), 2);
  EXPECT_EQ(store->cardIndex.line(1), "3;-0-H2-0:Gamma");
  EXPECT_EQ(notebook->strip()[2].card, 1);
  EXPECT_EQ(store->hotKeys[2].card, 1);
  EXPECT_EQ(store->hotKeys[1].card, -1);
}

TEST_F(CardStrip, AHundredCardsKeepTheirOrderAndTheirFilesWhenSomeAreDropped) {
  std::vector<std::string> index;
  for (int n = 1; n <= 100; ++n)
    index.push_back(std::to_string(n) + ";-0-0:Card " + std::to_string(n));
  makeCards(index,
            "Langue=Fran\xE7"
            "ais\r\n");
  writeBytes(data / "10.kvo", "\r\n");  // no content file: dropped
  writeBytes(data / "70.kvo", "\r\n");
  start();
  const auto& strip = notebook->strip();
  ASSERT_EQ(strip.size(), 99u);
  for (int position = 1; position < 99; ++position) {
    const int n = position + (position >= 10) + (position >= 69);
    SCOPED_TRACE(position);
    EXPECT_EQ(strip[position].name, "Card " + std::to_string(n));
    EXPECT_EQ(strip[position].card, position - 1);
    EXPECT_EQ(strip[position].contentFile, data / (std::to_string(n) + ".kvn"));
  }
}

TEST_F(CardStrip, SwitchingSavesTheShownCardThenLoadsTheChosenOne) {
  makeCards({"1;-0-0:Alpha", "2;-0-0:Beta"},
            "Langue=Fran\xE7"
            "ais\r\nDefaultFiche=Alpha\r\n");
  start();
  editor.type("edited alpha");
  notebook->switchToPosition(2);
  EXPECT_EQ(readBytes(data / "1.kvn"), "{\\rtf1 edited alpha}");
  EXPECT_EQ(notebook->selectedPosition(), 2);
  EXPECT_EQ(notebook->current().name, "Beta");
  EXPECT_EQ(editor.content, "text of 2");
  notebook->makeSnapshotsAndJournal();  // once Beta is on the screen
  EXPECT_EQ(readBytes(data / "backup.ini").substr(0, 6), "Beta\r\n");

  // Clicking the shown card again saves it and reads it back from its files.
  const int loads = editor.loads;
  notebook->switchToPosition(2);
  EXPECT_EQ(editor.loads, loads + 1);
}

TEST_F(CardStrip, AFailedSaveStopsTheSwitchSoNothingIsLost) {
  makeCards({"1;-0-0:Alpha", "2;-0-0:Beta"},
            "Langue=Fran\xE7"
            "ais\r\nDefaultFiche=Alpha\r\n");
  start();
  editor.type("unsaved work");
  fs::remove(data / "1.kvn");
  fs::create_directory(data / "1.kvn");
  EXPECT_THROW(notebook->switchToPosition(2), store::StoreError);
  EXPECT_EQ(notebook->selectedPosition(), 1);
  EXPECT_EQ(editor.content, "unsaved work");
  EXPECT_TRUE(editor.modified);
}

TEST_F(CardStrip, HotKeyTextsHeldAsRichTextBecomePlain) {
  makeCards({"1;-0-H4-0:Alpha"},
            "Langue=Fran\xE7"
            "ais\r\nDefaultFiche=quillWick\r\n");
  writeBytes(data / "1.kvn", "{\\rtf1\\ansi {\\b Hello} world\\par second}");
  start();
  EXPECT_EQ(store->hotKeys[4].text, "Hello world\r\nsecond");
}

TEST_F(CardStrip, ANewFilterRebuildsTheStripAndOpensTheMainCardAfterSaving) {
  makeCards({"1;-1-0:One", "2;-12-0:Twelve", "3;-0-0:Plain"},
            "Langue=Fran\xE7"
            "ais\r\nDefaultFiche=One\r\nx\r\nx\r\nx\r\nLCategories=-0-1-12-\r\n");
  start();
  editor.type("edited one");
  store->settings.setCategoryFilter("-12-");
  notebook->applyCategoryFilter();
  EXPECT_EQ(readBytes(data / "1.kvn"), "{\\rtf1 edited one}");
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "Twelve"}));
  EXPECT_EQ(notebook->selectedPosition(), 0);
  EXPECT_EQ(notebook->current().number, kMainCard);

  store->settings.setCategoryFilter("-");
  notebook->applyCategoryFilter();
  EXPECT_EQ(names(), std::vector<std::string>{"ktrquillWick"});
  EXPECT_EQ(store->cardIndex.count(), 3);
}

// Read ahead so that fonts are loaded before a card needs them: only font tables, only once
// each, and never from a protected card's file.
TEST_F(CardStrip, TheFontsOfTheCardsAreTheirFontTablesOnceEach) {
  makeCards({"1;-0-0:Alpha", "2;-0-0:Beta", "3;-0-0:Gamma", "4;-0-0:Delta"},
            "Langue=Fran\xE7"
            "ais\r\n");
  writeBytes(data / "default.kvn", "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}}\\f0 main}");
  writeBytes(data / "1.kvn",
             "{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier New;}}"
             "\\f1 text\\par {\\fonttbl{\\f2 Late;}}}");
  writeBytes(data / "2.kvn", "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f5 Times New Roman;}} two}");
  writeBytes(data / "3.kvn", "plain text naming {\\fonttbl{\\f0 Plain;}}");
  writeBytes(data / "4.kvo", "4.kvc\r\n");
  writeBytes(data / "4.kvc", "{\\rtf1{\\fonttbl{\\f0 Secret;}}}");
  start();
  EXPECT_EQ(notebook->fontFamiliesOfCards(),
            (std::vector<std::string>{"Times New Roman", "Arial", "Courier New"}));
}

// The strip on its own: the positions it hands out stay good when it changes under them.
TEST_F(CardStrip, ARebuildSelectsTheMainCardAndARemovalTheCardTakingThePlace) {
  makeCards({"1;-0-0:Alpha", "2;-3-0:Beta", "3;-0-0:Gamma"},
            "Langue=Fran\xE7"
            "ais\r\n");
  loadStore();
  store->settings.setCategoryFilter("-0-3-");
  notebook::CardStrip strip;
  strip.build(*store, "main");
  ASSERT_EQ(strip.size(), 4);
  strip.select(3);
  // A narrower filter leaves fewer positions than the one selected.
  store->settings.setCategoryFilter("-3-");
  strip.build(*store, "main");
  ASSERT_EQ(strip.size(), 2);
  EXPECT_EQ(strip.selected(), 0);
  EXPECT_EQ(strip.selectedEntry().name, "main");

  store->settings.setCategoryFilter("-0-3-");
  strip.build(*store, "main");
  // Beta (card 1) leaves the index: Gamma takes its place and its number.
  strip.select(2);
  strip.remove(2);
  ASSERT_EQ(strip.size(), 3);
  EXPECT_EQ(strip.selectedEntry().name, "Gamma");
  EXPECT_EQ(strip.selectedEntry().card, 1);
  EXPECT_EQ(strip.positionOf(2), -1);
  // After the last one goes, the card above it is selected.
  strip.remove(2);
  EXPECT_EQ(strip.selected(), 1);
  EXPECT_EQ(strip.selectedEntry().name, "Alpha");
}

}  // namespace
}  // namespace qw::notebook
