// Inserting a file into the shown card, exporting it, and synchronising its content file with
// a partner copy, against real files in a scratch data folder.

#include <gtest/gtest.h>

#include <chrono>

#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"
#include "core/store/utf8_path.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using i18n::Str;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CardTransfers : public fixtures::NotebookFolder {
 protected:
  // Card 0 ("Card", file 1.kvn holding "text of 1") shown, with `link` as its partner.
  Notebook& openCard(const std::string& link = "") {
    makeCards({"1;-0-0:Card"});
    if (!link.empty())
      writeBytes(data / "1.kvo",
                 "1.kvn\r\n0\r\n0\r\n8\r\n1\r\n11\r\n1\r\n16\r\n0\r\n0\r\n" + link + "\r\n");
    loadStore();
    store->settings.setDefaultCard("Card");
    Notebook& opened = openNotebook();
    EXPECT_EQ(opened.current().number, 0);
    return opened;
  }

  fs::path outside(const std::string& name) const { return temp.path() / "outside" / name; }
  fs::path cardFile() const { return data / "1.kvn"; }
  std::string said(Str id) const { return strings[id]; }

  // The card's file as the fake editor saves `text`.
  static std::string saved(const std::string& text) { return "{\\rtf1 " + text + "}"; }

  static void setTime(const fs::path& file, std::chrono::seconds since1970) {
    fs::last_write_time(file, std::chrono::file_clock::from_sys(
                                  std::chrono::sys_time<std::chrono::seconds>(since1970)));
  }

  // A chooser that must not be asked.
  static std::string noChoice() {
    ADD_FAILURE() << "the link was asked for";
    return "";
  }
};

// --- insert ---

TEST_F(CardTransfers, InsertAppendsTheLinesUpToAZeroByteAndSavesAtOnce) {
  Notebook& notebook = openCard();
  const fs::path file = outside("in.txt");
  writeBytes(file, std::string("caf\xE9\r\ntwo\rthree\nfour\r\n\0hidden\r\n", 31));
  ASSERT_TRUE(notebook.insertFile(file));
  EXPECT_EQ(editor.content, "text of 1\r\ncaf\xC3\xA9\r\ntwo\r\nthree\r\nfour\r\n");
  EXPECT_EQ(readBytes(cardFile()), saved(editor.content));
  EXPECT_TRUE(prompts.messages.empty());

  // A file that is no text at all goes in as its characters.
  writeBytes(file, "{\\rtf1 \\b x}");
  ASSERT_TRUE(notebook.insertFile(file));
  EXPECT_TRUE(editor.content.ends_with("four\r\n{\\rtf1 \\b x}\r\n"));
}

TEST_F(CardTransfers, InsertTakesAMillionBytesButNotOneMore) {
  Notebook& notebook = openCard();
  const fs::path file = outside("big.txt");
  writeBytes(file, std::string(999'998, 'x') + "\r\n");
  ASSERT_TRUE(notebook.insertFile(file));
  EXPECT_EQ(editor.content, "text of 1\r\n" + std::string(999'998, 'x') + "\r\n");

  editor.type("typed");
  writeBytes(file, std::string(1'000'001, 'y'));
  EXPECT_FALSE(notebook.insertFile(file));
  EXPECT_EQ(prompts.messages, std::vector<std::string>{said(Str::sErrFileTooBig)});
  EXPECT_EQ(editor.content, "typed");
  EXPECT_EQ(readBytes(cardFile()), saved("typed"));  // saved before the refusal
}

TEST_F(CardTransfers, InsertOfAMissingFileThrowsAfterTheFirstSave) {
  Notebook& notebook = openCard();
  editor.type("typed");
  EXPECT_THROW(notebook.insertFile(outside("gone.txt")), store::StoreError);
  EXPECT_EQ(editor.content, "typed");
  EXPECT_EQ(readBytes(cardFile()), saved("typed"));
}

// --- export ---

TEST_F(CardTransfers, ExportsSaveFirstThenWriteRtfOrPlainText) {
  Notebook& notebook = openCard();
  fs::create_directories(outside(""));
  editor.type("caf\xC3\xA9\r\nline");
  ASSERT_TRUE(notebook.exportRtf(outside("card.rtf")));
  EXPECT_EQ(readBytes(outside("card.rtf")), saved("caf\xC3\xA9\r\nline"));
  EXPECT_EQ(readBytes(cardFile()), saved("caf\xC3\xA9\r\nline"));

  ASSERT_TRUE(notebook.exportText(outside("card.txt")));
  EXPECT_EQ(readBytes(outside("card.txt")), "caf\xE9\r\nline\r\n");  // Windows-1252, no RTF

  // Text the code page cannot hold is kept as UTF-8 behind a BOM.
  editor.type("\xE2\x82\xAC and \xCE\xB1");
  ASSERT_TRUE(notebook.exportText(outside("greek.txt")));
  EXPECT_EQ(readBytes(outside("greek.txt")), "\xEF\xBB\xBF\xE2\x82\xAC and \xCE\xB1\r\n");
  EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(CardTransfers, AnExistingExportFileIsReplacedOnlyOnYes) {
  Notebook& notebook = openCard();
  const fs::path file = outside("card.txt");
  writeBytes(file, "keep me");
  const std::string question =
      said(Str::sMsgReplaceFileTitle) + "|" + said(Str::sMsgReplaceFileQuestion);

  prompts.answers = {false, false};
  EXPECT_FALSE(notebook.exportText(file));
  EXPECT_FALSE(notebook.exportRtf(file));
  EXPECT_EQ(readBytes(file), "keep me");
  EXPECT_EQ(prompts.questions, std::vector<std::string>(2, question));
  EXPECT_EQ(prompts.messages, std::vector<std::string>(2, said(Str::sMsgExportCancelled)));

  prompts.answers = {true};
  EXPECT_TRUE(notebook.exportText(file));
  EXPECT_EQ(readBytes(file), "text of 1\r\n");
  EXPECT_EQ(prompts.messages.size(), 2u);
}

// --- synchronise ---

TEST_F(CardTransfers, OnlyUnlinkedCardsOfTheIndexSynchronise) {
  writeBytes(data / "2.kvo", store::utf8Of(outside("linked.txt")) + "\r\n");
  writeBytes(outside("linked.txt"), "outside");
  writeBytes(data / "fiches.kvn", "2;-0-1:Linked\r\n50\r\n");
  loadStore();
  store->settings.setDefaultCard("Linked");
  Notebook& notebook = openNotebook();
  ASSERT_EQ(notebook.current().number, 0);
  EXPECT_FALSE(notebook.canSynchronise());
  EXPECT_EQ(notebook.synchronise(noChoice), std::nullopt);

  notebook.switchToPosition(0);  // the main card
  ASSERT_EQ(notebook.current().number, kMainCard);
  EXPECT_FALSE(notebook.canSynchronise());
  EXPECT_EQ(notebook.synchronise(noChoice), std::nullopt);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(readBytes(outside("linked.txt")), "outside");
}

TEST_F(CardTransfers, WithoutALinkOneIsAskedForAndKeptInTheSettings) {
  Notebook& notebook = openCard();
  EXPECT_TRUE(notebook.canSynchronise());
  int asked = 0;
  EXPECT_EQ(notebook.synchronise([&] { return ++asked, std::string(); }), std::nullopt);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{said(Str::sMsgSynchroLinkEmpty)});

  // The chosen partner does not exist yet: it is created from the card.
  fs::create_directories(outside(""));
  const std::string link = store::utf8Of(outside("partner.rtf"));
  const auto outcome = notebook.synchronise([&] { return link; });
  ASSERT_TRUE(outcome.has_value());
  EXPECT_FALSE(outcome->failed);
  EXPECT_EQ(outcome->text, store::utf8Of(cardFile()) + "\n\r > \n\r" + link);
  EXPECT_EQ(readBytes(outside("partner.rtf")), "text of 1");
  EXPECT_EQ(notebook.current().syncLink, link);
  EXPECT_EQ(store::readTextLines(data / "1.kvo")->at(10), link);

  // Later runs use the link without asking.
  EXPECT_TRUE(notebook.synchronise(noChoice).has_value());
}

TEST_F(CardTransfers, TheNewerSideIsCopiedOverTheOtherAndEqualTimesFavourTheLink) {
  fs::create_directories(outside(""));
  const std::string link = store::utf8Of(outside("partner.rtf"));
  Notebook& notebook = openCard(link);
  const std::string cardToLink = store::utf8Of(cardFile()) + "\n\r > \n\r" + link;
  const std::string linkToCard = link + "\n\r > \n\r" + store::utf8Of(cardFile());

  // The partner changed after the card: the card takes it and shows it.
  writeBytes(outside("partner.rtf"), "from outside");
  setTime(cardFile(), std::chrono::seconds(1'000'000));
  setTime(outside("partner.rtf"), std::chrono::seconds(1'000'002));
  int loads = editor.loads;
  auto outcome = notebook.synchronise(noChoice);
  ASSERT_TRUE(outcome.has_value());
  EXPECT_EQ(outcome->text, linkToCard);
  EXPECT_EQ(readBytes(cardFile()), "from outside");
  EXPECT_EQ(editor.content, "from outside");
  EXPECT_EQ(editor.loads, loads + 1);

  // Within the same two seconds the partner still wins.
  writeBytes(outside("partner.rtf"), "same stamp");
  setTime(cardFile(), std::chrono::seconds(1'000'001));
  setTime(outside("partner.rtf"), std::chrono::seconds(1'000'000));
  outcome = notebook.synchronise(noChoice);
  EXPECT_EQ(outcome->text, linkToCard);
  EXPECT_EQ(editor.content, "same stamp");

  // Typing saves the card first, which makes it the newer side.
  editor.type("typed");
  loads = editor.loads;
  outcome = notebook.synchronise(noChoice);
  EXPECT_EQ(outcome->text, cardToLink);
  EXPECT_EQ(readBytes(outside("partner.rtf")), saved("typed"));
  EXPECT_EQ(editor.loads, loads);  // the editor already shows what was copied
  EXPECT_FALSE(outcome->failed);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(CardTransfers, AFailedCopyReportsTheLinkAndLeavesBothFiles) {
  // The card is newer but the partner's folder is gone.
  const std::string unreachable = store::utf8Of(outside("no folder") / "partner.rtf");
  Notebook& notebook = openCard(unreachable);
  auto outcome = notebook.synchronise(noChoice);
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->failed);
  EXPECT_EQ(outcome->text, said(Str::sErrSynchroLinkUnavailable) + "\n\r" + unreachable);
  EXPECT_EQ(outcome->text.substr(0, 7), "ERR#112");
  EXPECT_EQ(readBytes(cardFile()), "text of 1");
  EXPECT_FALSE(fs::exists(outside("no folder")));
}

TEST_F(CardTransfers, AnUnreadableNewerLinkLeavesTheCardAndReloadsIt) {
  // A folder in the partner's place: newer than the card, but not a file to copy.
  fs::create_directories(outside("partner.rtf"));
  const std::string link = store::utf8Of(outside("partner.rtf"));
  Notebook& notebook = openCard(link);
  setTime(cardFile(), std::chrono::seconds(1'000'000));
  editor.content = "shown but not modified";
  const int loads = editor.loads;
  const auto outcome = notebook.synchronise(noChoice);
  ASSERT_TRUE(outcome.has_value());
  EXPECT_TRUE(outcome->failed);
  EXPECT_EQ(outcome->text, said(Str::sErrSynchroLinkUnavailable) + "\n\r" + link);
  EXPECT_EQ(readBytes(cardFile()), "text of 1");
  EXPECT_EQ(editor.loads, loads + 1);
  EXPECT_EQ(editor.content, "text of 1");
  EXPECT_TRUE(fs::is_directory(outside("partner.rtf")));
}

}  // namespace
}  // namespace qw::notebook
