// The confirmation of the card properties dialog against real files in a scratch data folder:
// index lines, settings files, content files and hot-key slots.

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "core/notebook/notebook_fixture.h"
#include "core/store/index_line.h"
#include "core/store/text_file.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CardPropertiesTest : public fixtures::NotebookFolder {
 protected:
  // An own-file card whose settings file has 23 lines, the 11th being `syncLine`.
  void writeCard(const std::string& number, const std::string& contentLine,
                 const std::string& syncLine = "0") {
    std::string kvo = contentLine + "\r\n";
    for (int line = 2; line <= 23; ++line)
      kvo += (line == 11 ? syncLine : std::to_string(100 + line)) + "\r\n";
    writeBytes(data / (number + ".kvo"), kvo);
    if (contentLine == number + ".kvn") writeBytes(data / contentLine, "text of " + number);
  }

  std::vector<std::string> linesOf(const std::string& file) const {
    return store::readTextLines(data / file).value_or(std::vector<std::string>{});
  }
};

TEST_F(CardPropertiesTest, AddingToAnEmptyIndexWritesTheLineTheCounterAndBothFiles) {
  start();
  EXPECT_EQ(notebook->addCard(named("Notes")), 0);
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"1;-0-0:Notes", "2"}));
  EXPECT_EQ(store->cardIndex.lines(), indexOnDisk());
  EXPECT_EQ(readBytes(data / "1.kvn"), "");
  EXPECT_EQ(readBytes(data / "1.kvo"),
            "1.kvn\r\n0\r\n0\r\n8\r\n1\r\n11\r\n1\r\n16\r\n"
            "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");

  CardProperties second = named("Work");
  second.categoryId = "12";
  EXPECT_EQ(notebook->addCard(second), 1);
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"1;-0-0:Notes", "2;-12-0:Work", "3"}));
}

TEST_F(CardPropertiesTest, ALinkedCardKeepsItsPathAsTypedAndGetsNoFileInTheDataFolder) {
  start();
  const std::string path = (temp.path() / "elsewhere" / "not yet there.txt").string();
  CardProperties linked = named("Outside");
  linked.linkedFile = path;
  notebook->addCard(linked);
  EXPECT_EQ(store->cardIndex.line(0), "1;-0-1:Outside");
  EXPECT_EQ(linesOf("1.kvo").front(), path);
  EXPECT_EQ(linesOf("1.kvo").size(), 15u);
  EXPECT_FALSE(fs::exists(data / "1.kvn"));
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(CardPropertiesTest, AnInvalidCardIsRefusedBeforeAnythingIsWritten) {
  start();
  const std::string indexBefore = readBytes(data / "fiches.kvn");
  CardProperties badCategory = named("X");
  badCategory.categoryId = "3-1";
  for (const CardProperties& bad :
       {named(""), named("two\r\nlines"), named("X", 10), named("X", -1), badCategory})
    EXPECT_THROW(notebook->addCard(bad), std::invalid_argument) << bad.name;
  EXPECT_EQ(readBytes(data / "fiches.kvn"), indexBefore);
  EXPECT_FALSE(fs::exists(data / "1.kvo"));
  EXPECT_FALSE(fs::exists(data / "1.kvn"));
  EXPECT_EQ(store->cardIndex.count(), 0);
}

TEST_F(CardPropertiesTest, AFullIndexTakesNoMoreCards) {
  start();
  std::vector<std::string> lines;
  for (int n = 1; n <= 500; ++n)
    lines.push_back(std::to_string(n) + ";-0-0:Card " + std::to_string(n));
  lines.push_back("501");
  store->cardIndex.setLines(lines);
  EXPECT_THROW(notebook->addCard(named("One too many")), std::length_error);
  EXPECT_EQ(store->cardIndex.lines(), lines);
  EXPECT_FALSE(fs::exists(data / "501.kvo"));
}

TEST_F(CardPropertiesTest, ANewCardTakesTheHotKeyFromTheCardThatHeldIt) {
  writeCard("5", "5.kvn");
  writeBytes(data / "fiches.kvn", "5;-0-H3-0:Old\r\n9\r\n");
  start();
  ASSERT_EQ(store->hotKeys[3].card, 0);

  EXPECT_EQ(notebook->addCard(named("New", 3)), 1);
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"5;-0-0:Old", "9;-0-H3-0:New", "10"}));
  EXPECT_EQ(store->hotKeys[3], (store::HotKeySlot{"", "New", 1}));
}

TEST_F(CardPropertiesTest, PropertiesShowTheLinkOnlyForALinkedCardAndTheSyncLinkAsHeld) {
  writeCard("4", "4.kvn", "/home/me/partner.txt");
  writeCard("6", "/somewhere/linked.txt", "0");
  writeBytes(data / "fiches.kvn", "4;-7-H2-0:Own-card: a\r\n6;-0-1:Linked\r\n10\r\n");
  start();

  CardProperties own = named("Own-card: a", 2);
  own.categoryId = "7";
  own.syncLink = "/home/me/partner.txt";
  EXPECT_EQ(notebook->propertiesOf(0), own);

  CardProperties linked = named("Linked");
  linked.linkedFile = "/somewhere/linked.txt";  // "0" on line 11 means no partner
  EXPECT_EQ(notebook->propertiesOf(1), linked);
  EXPECT_THROW(notebook->propertiesOf(kMainCard), std::out_of_range);
}

TEST_F(CardPropertiesTest, ModifyKeepsTheFileNumberAndEveryOtherSettingsLine) {
  writeCard("4", "4.kvn", "/home/me/partner.txt");
  writeBytes(data / "fiches.kvn", "4;-0-0:Before\r\n10\r\n");
  start();
  const auto before = linesOf("4.kvo");

  const fs::path outside = temp.path() / "outside.txt";
  writeBytes(outside, "outside text");
  CardProperties changed = named("After");
  changed.categoryId = "3";
  changed.linkedFile = outside.string();
  notebook->modifyCard(0, changed);
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"4;-3-1:After", "10"}));
  auto after = linesOf("4.kvo");
  EXPECT_EQ(after.front(), outside.string());
  after.front() = before.front();
  EXPECT_EQ(after, before);

  // Back to its own file: the data folder file is used again, the linked file is left alone.
  fs::remove(data / "4.kvn");
  notebook->modifyCard(0, named("After"));
  EXPECT_EQ(store->cardIndex.line(0), "4;-0-0:After");
  EXPECT_EQ(linesOf("4.kvo").front(), "4.kvn");
  EXPECT_EQ(readBytes(data / "4.kvn"), "");
  EXPECT_EQ(readBytes(outside), "outside text");
  EXPECT_EQ(linesOf("4.kvo").size(), 23u);
}

TEST_F(CardPropertiesTest, ModifyMovesTheHotKeyAndFreesTheSlotTheCardLeft) {
  writeCard("1", "1.kvn");
  writeCard("2", "2.kvn");
  writeBytes(data / "2.kvn", "only line\r\n");
  writeBytes(data / "fiches.kvn", "1;-0-H3-0:A\r\n2;-0-H5-0:B\r\n3\r\n");
  start();

  notebook->modifyCard(1, named("B", 3));
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"1;-0-0:A", "2;-0-H3-0:B", "3"}));
  EXPECT_EQ(store->hotKeys[3], (store::HotKeySlot{"only line", "B", 1}));
  EXPECT_EQ(store->hotKeys[5].card, -1);

  // A multi-line text goes into the slot whole.
  writeBytes(data / "2.kvn", "one\r\ntwo\r\n");
  notebook->modifyCard(1, named("B renamed", 3));
  EXPECT_EQ(store->hotKeys[3], (store::HotKeySlot{"one\r\ntwo\r\n", "B renamed", 1}));

  notebook->modifyCard(1, named("B renamed"));
  EXPECT_EQ(store->cardIndex.line(1), "2;-0-0:B renamed");
  EXPECT_EQ(store->hotKeys[3].card, -1);
}

TEST_F(CardPropertiesTest, ASealedCardKeepsItsSealedFile) {
  writeCard("8", "8.kvc");
  writeBytes(data / "8.kvc", "sealed bytes");
  writeBytes(data / "fiches.kvn", "8;-0-0:Secret\r\n9\r\n");
  start();
  notebook->modifyCard(0, named("Still secret"));
  EXPECT_EQ(linesOf("8.kvo").front(), "8.kvc");
  EXPECT_FALSE(fs::exists(data / "8.kvn"));
  EXPECT_EQ(readBytes(data / "8.kvc"), "sealed bytes");
}

TEST_F(CardPropertiesTest, NamesAndPathsAreStoredExactlyWhateverTheyHold) {
  start();
  const std::vector<std::string> names = {"a:b",          "x-1:y", "say \"hi\"",
                                          "Crème brûlée", "-0-:-", "Привет"};
  for (const auto& name : names) {
    // While every name fits the code page, the index stays single-byte text.
    if (name == "Привет") {
      EXPECT_NE(readBytes(data / "fiches.kvn")
                    .find("4;-0-0:Cr\xE8me br\xFBl\xE9"
                          "e\r\n"),
                std::string::npos);
    }
    notebook->addCard(named(name));
  }
  CardProperties linked = named("Путь");
  linked.linkedFile = "/tmp/Заметки/ünïcode.txt";
  notebook->addCard(linked);

  // A fresh start reads every name and the path back from the files.
  notebook.reset();
  store.reset();
  start();
  ASSERT_EQ(store->cardIndex.count(), 7);
  for (size_t card = 0; card < names.size(); ++card)
    EXPECT_EQ(store::displayName(store->cardIndex.line(static_cast<int>(card))), names[card]);
  // "-1:" inside a name does not make an own-file card look linked in the dialog.
  EXPECT_EQ(notebook->propertiesOf(1).linkedFile, "");
  EXPECT_EQ(notebook->propertiesOf(6).name, "Путь");
  EXPECT_EQ(notebook->propertiesOf(6).linkedFile, "/tmp/Заметки/ünïcode.txt");
  // A name outside the code page turns the whole index into UTF-8 behind a BOM.
  EXPECT_EQ(readBytes(data / "fiches.kvn").substr(0, 3), "\xEF\xBB\xBF");
}

}  // namespace
}  // namespace qw::notebook
