// Loading, saving and recovering cards against real files in a scratch data folder.

#include <gtest/gtest.h>

#include "core/notebook/notebook_fixture.h"
#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CardFiles : public fixtures::NotebookFolder {
 protected:
  // A fresh start of the program on the data folder, as after a restart or a crash; the
  // notebook is not opened yet.
  Notebook& start(std::string_view language = "Français") {
    loadStore();
    strings = i18n::StringTable::forLanguage(language);
    return notebook.emplace(*store, strings, editor, prompts);
  }

  std::vector<std::string> indexLines;

  // A card with its settings file in the 15-line creation form; its text, when given, in its
  // content file (a relative content line lives in the data folder).
  void addCard(const std::string& line, const std::string& contentLine, const std::string& text) {
    const std::string number = line.substr(0, line.find(';'));
    writeBytes(data / (number + ".kvo"),
               contentLine +
                   "\r\n0\r\n0\r\n8\r\n1\r\n11\r\n1\r\n16\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    const fs::path content =
        fs::path(contentLine).is_absolute() ? fs::path(contentLine) : data / contentLine;
    if (!text.empty()) writeBytes(content, text);
    indexLines.push_back(line);
    std::string index;
    for (const auto& l : indexLines) index += l + "\r\n";
    writeBytes(data / "fiches.kvn", index + "100\r\n");
  }

  void SetUp() override { writeBytes(data / "fiches.kvn", "1\r\n"); }

  // A French start that opens the card named `shown`.
  void startOn(const std::string& shown) {
    writeBytes(data / "param.ini",
               "Langue=Fran\xE7"
               "ais\r\nDefaultFiche=" +
                   shown + "\r\n");
    start().open();
  }
};

TEST_F(CardFiles, FirstOpenOfANewFolderCreatesTheMainCardInTheInterfaceLanguage) {
  start().open();
  EXPECT_EQ(readBytes(data / "default.kvo"),
            "default.kvn\r\n0\r\n0\r\n8\r\n1\r\n0\r\n1\r\n16\r\n"
            "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
  EXPECT_EQ(readBytes(data / "default.kvn"), "<Tapez votre texte ici>\r\n");
  EXPECT_EQ(editor.content, "<Tapez votre texte ici>\r\n");
  EXPECT_EQ(notebook->current().number, kMainCard);
  EXPECT_EQ(notebook->current().name, "ktrquillWick");
  EXPECT_TRUE(editor.available);
  EXPECT_FALSE(editor.modified);

  fs::remove_all(data);
  writeBytes(data / "fiches.kvn", "1\r\n");
  writeBytes(data / "param.ini", "Langue=Anglais\r\n");
  start("Anglais").open();
  EXPECT_EQ(readBytes(data / "default.kvn"), "<Enter your text here>\r\n");
}

TEST_F(CardFiles, AShownCardGetsFreshSnapshotsAndTheJournal) {
  addCard("7;-0-0:Recettes", "7.kvn", "new text");
  writeBytes(data / "7.kvn.$$$", "stale copy from an earlier run");
  startOn("Recettes");
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "new text");
  // Opening writes nothing: the copies wait until the card is on the screen.
  EXPECT_FALSE(fs::exists(data / "backup.ini"));

  notebook->makeSnapshotsAndJournal();
  EXPECT_EQ(readBytes(data / "7.kvn.$$$"), "new text");
  EXPECT_EQ(readBytes(data / "7.kvo.$$$"), readBytes(data / "7.kvo"));
  EXPECT_EQ(readBytes(data / "backup.ini"), "Recettes\r\n" + (data / "7.kvo").string() + "\r\n" +
                                                (data / "7.kvn").string() + "\r\n");
}

TEST_F(CardFiles, SavingAnUnchangedCardRewritesOnlyItsSettingsAndDropsTheSafetyNet) {
  addCard("7;-0-0:Recettes", "7.kvn", "text");
  startOn("Recettes");
  const auto contentTime = fs::last_write_time(data / "7.kvn");
  editor.sel = {5, 2};
  editor.wrap = true;

  notebook->saveCard();
  EXPECT_EQ(readBytes(data / "7.kvn"), "text");
  EXPECT_EQ(fs::last_write_time(data / "7.kvn"), contentTime);
  const auto lines = *store::readTextLines(data / "7.kvo");
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[0], "7.kvn");
  EXPECT_EQ(lines[1], "5");
  EXPECT_EQ(lines[2], "2");
  EXPECT_EQ(lines[4], "0");
  EXPECT_EQ(lines[10], "") << "no synchronisation link";
  for (const char* gone : {"7.kvn.$$$", "7.kvo.$$$", "backup.ini"})
    EXPECT_FALSE(fs::exists(data / gone)) << gone;
}

TEST_F(CardFiles, AModifiedCardIsWrittenAndItsHotKeyTextFollows) {
  addCard("7;-0-H3-0:Recettes", "7.kvn", "old");
  startOn("Recettes");
  ASSERT_EQ(store->hotKeys[3].card, 0);
  editor.type("new");
  notebook->saveCard();
  EXPECT_EQ(readBytes(data / "7.kvn"), "{\\rtf1 new}");
  EXPECT_EQ(store->hotKeys[3].text, "new");
}

TEST_F(CardFiles, ALinkedFileIsWrittenOnlyWhenTheUserAgrees) {
  const fs::path outside = temp.path() / "elsewhere" / "notes.txt";
  addCard("4;-0-1:Linked", outside.string(), "outside text");
  startOn("Linked");
  ASSERT_EQ(editor.content, "outside text");

  editor.type("changed");
  prompts.answers = {false};
  notebook->saveCard();
  EXPECT_EQ(readBytes(outside), "outside text");
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions[0],
            "Confirmation d'Enregistrement|"
            "Voulez-vous sauvegarder le fichier associé à : Linked");
  EXPECT_EQ(store::readTextLines(data / "4.kvo")->size(), 23u);
  EXPECT_EQ(store::readTextLines(data / "4.kvo")->front(), outside.string());

  prompts.answers = {true};
  notebook->saveCard();
  EXPECT_EQ(readBytes(outside), "{\\rtf1 changed}");
}

TEST_F(CardFiles, AMissingLinkedFileIsReportedAndLeavesNoCardShown) {
  addCard("4;-0-1:Linked", (temp.path() / "gone.txt").string(), "");
  writeBytes(data / "param.ini", "Langue=Anglais\r\nDefaultFiche=Linked\r\n");
  start("Anglais").open();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0],
            "ERR#105 : The linked file does not exist any more or is unaccessible");
  EXPECT_EQ(notebook->current().number, kFailedCard);
  EXPECT_FALSE(editor.available);
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
  EXPECT_FALSE(fs::exists(temp.path() / "gone.txt"));

  notebook->saveCard();  // nothing to save
  EXPECT_FALSE(fs::exists(temp.path() / "gone.txt"));
  EXPECT_EQ(store::readTextLines(data / "4.kvo")->size(), 15u);
}

TEST_F(CardFiles, AMissingOwnContentFileIsCreatedEmpty) {
  addCard("7;-0-0:Recettes", "7.kvn", "");
  startOn("Recettes");
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(readBytes(data / "7.kvn"), "");
  EXPECT_EQ(notebook->current().number, 0);
}

TEST_F(CardFiles, AProgramKilledWithACardOpenGetsItBackAtTheNextStart) {
  addCard("7;-0-0:Recettes", "7.kvn", "as opened");
  startOn("Recettes");
  notebook->makeSnapshotsAndJournal();  // the card is on the screen
  // What a half-finished later write would leave behind: settings that name no content file
  // would drop the card from the strip, were they read before the recovery.
  writeBytes(data / "7.kvn", "half writ");
  writeBytes(data / "7.kvo", "\r\ngarbage");

  start().open();  // the next start
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.front(),
            "ERR#109 : Problème au dernier arret du programme.\n\r"
            "La fiche \"Recettes\" a été récupérée depuis la dernière sauvegarde");
  EXPECT_EQ(editor.content, "as opened");
  EXPECT_EQ(store::readTextLines(data / "7.kvo")->front(), "7.kvn");
}

TEST_F(CardFiles, RecoveryPutsBothFilesBackAndClearsTheJournal) {
  start();
  writeBytes(data / "a.kvo", "now");
  writeBytes(data / "a.kvo.$$$", "before");
  writeBytes(temp.path() / "linked.txt", "now");
  // No snapshot of the content: that file stays as it is.
  writeBytes(data / "backup.ini", "Card\r\n" + (data / "a.kvo").string() + "\r\n" +
                                      (temp.path() / "linked.txt").string() + "\r\n");
  notebook->recoverInterruptedCard();
  EXPECT_EQ(readBytes(data / "a.kvo"), "before");
  EXPECT_EQ(readBytes(temp.path() / "linked.txt"), "now");
  EXPECT_FALSE(fs::exists(data / "a.kvo.$$$"));
  EXPECT_FALSE(fs::exists(data / "backup.ini"));

  // A damaged journal is reported and cleared, never a crash.
  writeBytes(data / "backup.ini", std::string("\0\0\xFF", 3));
  prompts.messages.clear();
  notebook->recoverInterruptedCard();
  EXPECT_EQ(prompts.messages.size(), 1u);
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
}

TEST_F(CardFiles, AFailedSaveKeepsTheSafetyNetAndTellsTheCaller) {
  addCard("7;-0-0:Recettes", "7.kvn", "text");
  startOn("Recettes");
  notebook->makeSnapshotsAndJournal();
  editor.type("precious");
  fs::remove(data / "7.kvn");
  fs::create_directory(data / "7.kvn");  // the content can no longer be written

  EXPECT_THROW(notebook->saveCard(), store::StoreError);
  EXPECT_TRUE(fs::exists(data / "backup.ini"));
  EXPECT_TRUE(fs::exists(data / "7.kvn.$$$"));
  EXPECT_TRUE(editor.modified);
}

// A card saved before it was ever drawn still has its copies taken before its file changes,
// and of the text as it was opened.
TEST_F(CardFiles, WritingACardThatWasNeverShownTakesItsSnapshotsFirst) {
  addCard("7;-0-0:Recettes", "7.kvn", "as opened");
  startOn("Recettes");
  editor.type("typed at once");
  store::setWriteStepHook([&](const fs::path& target, store::WriteStep step) {
    if (target == data / "7.kvn" && step == store::WriteStep::TemporaryWritten)
      throw store::StoreError(target, store::Fault::Unwritable, "killed here");
  });
  EXPECT_THROW(notebook->saveCard(), store::StoreError);
  store::setWriteStepHook({});
  EXPECT_EQ(readBytes(data / "7.kvn.$$$"), "as opened");
  EXPECT_EQ(readBytes(data / "backup.ini").substr(0, 10), "Recettes\r\n");

  // Saved whole, and then nothing is left to put back.
  notebook->saveCard();
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
  notebook->makeSnapshotsAndJournal();  // the card on the screen after its save
  EXPECT_FALSE(fs::exists(data / "backup.ini"));
}

TEST_F(CardFiles, ASettingsFileThatVanishedIsReportedAndLeavesNoCardShown) {
  addCard("7;-0-0:Recettes", "7.kvn", "text");
  start().open();
  fs::remove(data / "7.kvo");
  notebook->switchToPosition(1);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].rfind("ERR#106 : Fichier non accessible\n", 0), 0u);
  EXPECT_EQ(notebook->current().number, kFailedCard);
  EXPECT_FALSE(editor.available);
}

TEST_F(CardFiles, ADamagedSettingsFileStillOpensItsCard) {
  addCard("7;-0-0:Recettes", "7.kvn", "text");
  writeBytes(data / "7.kvo", "7.kvn\r\nnot a number\r\n");
  startOn("Recettes");
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "text");
  EXPECT_EQ(editor.sel, (ports::Selection{0, 0}));
}

}  // namespace
}  // namespace qw::notebook
