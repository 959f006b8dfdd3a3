// Drafts of unsaved edits: taken only for a modified card, dropped by every save, load and
// delete of it, never written once overtaken, and offered at the next start only when newer
// than the card's files.

#include <gtest/gtest.h>

#include <chrono>

#include "core/crypto/sealed_card.h"
#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using i18n::Str;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CardDrafts : public fixtures::NotebookFolder {
 protected:
  // Card 0 "Alpha" (file 1), card 1 "Beta" (file 2); the main card opens.
  void SetUp() override { makeCards({"1;-0-0:Alpha", "2;-0-0:Beta"}); }

  // Takes the shown card's draft and writes it as the worker would.
  bool writeDraft() {
    auto draft = notebook->takeDraft();
    return draft && draft->run();
  }
  std::string question(const std::string& name) const {
    return strings[Str::sMsgRestoreDraftTitle] + "|" + strings[Str::sMsgRestoreDraftPrefix] + name +
           strings[Str::sMsgRestoreDraftSuffix];
  }
  // Card Alpha edited to `words`, its draft written, and the program gone without a save.
  void crashWhileTyping(const std::string& words) {
    start().switchToPosition(1);
    notebook->makeSnapshotsAndJournal();  // the card is on the screen
    editor.type(words);
    ASSERT_TRUE(writeDraft());
    ASSERT_TRUE(fs::exists(data / "1.draft"));
  }
};

TEST_F(CardDrafts, OnlyAModifiedCardHasADraftAndItsSaveRemovesIt) {
  start().switchToPosition(1);
  EXPECT_FALSE(notebook->takeDraft());  // nothing typed yet

  editor.type("typed");
  ASSERT_TRUE(writeDraft());
  EXPECT_EQ(readBytes(data / "1.draft"), "{\\rtf1 typed}");

  notebook->saveCard();
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_EQ(readBytes(data / "1.kvn"), "{\\rtf1 typed}");
  // Saved: a draft now would only repeat the file.
  EXPECT_FALSE(notebook->takeDraft());

  // The main card's draft has the main card's name.
  notebook->switchToPosition(0);
  editor.type("main");
  ASSERT_TRUE(writeDraft());
  EXPECT_TRUE(fs::exists(data / "default.draft"));
  notebook->switchToPosition(2);
  EXPECT_FALSE(fs::exists(data / "default.draft"));
}

TEST_F(CardDrafts, ADraftOvertakenByANewerOneOrByASaveIsNeverWritten) {
  start().switchToPosition(1);
  editor.type("older");
  auto older = notebook->takeDraft();
  editor.type("newer");
  auto newer = notebook->takeDraft();
  ASSERT_TRUE(older && newer);
  EXPECT_TRUE(newer->run());
  EXPECT_FALSE(older->run());  // finishing late
  EXPECT_EQ(readBytes(data / "1.draft"), "{\\rtf1 newer}");

  editor.type("still in flight");
  auto late = notebook->takeDraft();
  notebook->saveCard();
  ASSERT_TRUE(late);
  EXPECT_FALSE(late->run());
  EXPECT_FALSE(fs::exists(data / "1.draft"));
}

TEST_F(CardDrafts, LeavingACardWithoutSavingOrDeletingItLeavesNoDraft) {
  start().switchToPosition(1);
  editor.type("dropped by reload");
  ASSERT_TRUE(writeDraft());
  notebook->runLineFunction(Notebook::LineFunction::Reload, {});
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_EQ(editor.content, "text of 1");

  editor.type("dropped by the properties");
  ASSERT_TRUE(writeDraft());
  notebook->editCurrentCard(named("Alpha"));
  EXPECT_FALSE(fs::exists(data / "1.draft"));

  editor.type("deleted with the card");
  ASSERT_TRUE(writeDraft());
  prompts.answers.push_back(true);
  notebook->deleteCurrentCard();
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_FALSE(fs::exists(data / "1.kvn"));
}

TEST_F(CardDrafts, AFailedSaveKeepsTheDraft) {
  start().switchToPosition(1);
  editor.type("precious");
  ASSERT_TRUE(writeDraft());
  fs::remove(data / "1.kvn");
  fs::create_directory(data / "1.kvn");  // the content can no longer be written
  EXPECT_THROW(notebook->saveCard(), store::StoreError);
  EXPECT_EQ(readBytes(data / "1.draft"), "{\\rtf1 precious}");
  EXPECT_TRUE(writeDraft());  // and it goes on following the typing
}

TEST_F(CardDrafts, YesAfterTheRecoveryOpensTheCardWithItsDraftModified) {
  crashWhileTyping("after the crash");
  prompts.answers.push_back(true);
  start();
  // The journal's message first, then the question about the draft.
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages.front().find("\"Alpha\""), std::string::npos);
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(prompts.questions.front(), question("Alpha"));
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(notebook->selectedPosition(), 1);
  EXPECT_EQ(editor.content, "{\\rtf1 after the crash}");
  EXPECT_TRUE(editor.modified);
  // Kept until the card is saved: another crash still has it.
  EXPECT_TRUE(fs::exists(data / "1.draft"));

  notebook->switchToPosition(2);
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_NE(readBytes(data / "1.kvn").find("after the crash"), std::string::npos);
}

TEST_F(CardDrafts, NoDropsTheDraftAndTheDefaultCardOpens) {
  crashWhileTyping("not wanted");
  prompts.answers.push_back(false);
  start();
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_EQ(notebook->current().number, kMainCard);
  EXPECT_EQ(readBytes(data / "1.kvn"), "text of 1");
}

TEST_F(CardDrafts, StaleDamagedOrOrphanDraftsGoWithoutAQuestion) {
  crashWhileTyping("stale");
  // Older than the card's file: a save came after it.
  fs::last_write_time(data / "1.draft",
                      fs::last_write_time(data / "1.kvn") - std::chrono::hours(1));
  writeBytes(data / "2.draft", "not a card's text");
  writeBytes(data / "99.draft", "{\\rtf1 a card that is gone}");
  writeBytes(data / "default.draft", "");
  start();
  EXPECT_TRUE(prompts.questions.empty());
  for (const char* draft : {"1.draft", "2.draft", "99.draft", "default.draft"})
    EXPECT_FALSE(fs::exists(data / draft)) << draft;
  EXPECT_EQ(notebook->current().number, kMainCard);
}

class ProtectedCardDrafts : public CardDrafts {
 protected:
  void SetUp() override {
    if (!crypto::sealingAvailable()) GTEST_SKIP() << "built without libsodium: no sealed cards";
    CardDrafts::SetUp();
  }
  // Alpha protected with `password`, then opened again with it and edited to `words`; the
  // program ends with the sealed draft on disk.
  void crashWhileTypingProtected(const std::string& words) {
    start().switchToPosition(1);
    prompts.passwords.push_back("pass phrase");
    notebook->protectCurrentCard();
    prompts.passwords.push_back("pass phrase");
    notebook->switchToPosition(1);
    ASSERT_EQ(notebook->current().number, 0);
    // A draft follows the last save by at least a pause in the typing; sealed at no cost, the
    // two could share a clock tick, and a draft no newer than its card is stale.
    for (const auto& entry : fs::directory_iterator(data))
      fs::last_write_time(entry.path(), entry.last_write_time() - std::chrono::hours(1));
    editor.type(words);
    ASSERT_TRUE(writeDraft());
  }
};

TEST_F(ProtectedCardDrafts, TheDraftIsSealedAndOpensWithTheCardsPassword) {
  crashWhileTypingProtected("secret draft");
  const std::string draft = readBytes(data / "1.draft");
  EXPECT_TRUE(crypto::looksSealed(draft));
  EXPECT_EQ(draft.find("secret draft"), std::string::npos);
  EXPECT_EQ(crypto::openSealedCard(draft, "pass phrase"), "{\\rtf1 secret draft}");

  prompts.answers.push_back(true);
  prompts.passwords.push_back("pass phrase");
  start();
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_EQ(editor.content, "{\\rtf1 secret draft}");
  EXPECT_TRUE(editor.modified);
}

TEST_F(ProtectedCardDrafts, WithoutThePasswordTheDraftWaitsAndAnUnreadableOneIsDroppedAfterSaying) {
  crashWhileTypingProtected("kept");
  // Cancel at the card's password: the main card opens and the draft stays for another time.
  prompts.answers.push_back(true);
  start();
  EXPECT_EQ(notebook->current().number, kMainCard);
  EXPECT_TRUE(fs::exists(data / "1.draft"));

  // Sealed under another password: said, dropped, the card as it was saved.
  writeBytes(data / "1.draft", crypto::sealCard("{\\rtf1 other}", "another one"));
  const std::string sealedCard = readBytes(data / "1.kvc");
  prompts.answers.push_back(true);
  prompts.passwords.push_back("pass phrase");
  start();
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.back(), strings[Str::sErrDraftUnreadable] + "Alpha");
  EXPECT_FALSE(fs::exists(data / "1.draft"));
  EXPECT_EQ(readBytes(data / "1.kvc"), sealedCard);
  EXPECT_EQ(notebook->current().number, 0);
  EXPECT_FALSE(editor.modified);
}

}  // namespace
}  // namespace qw::notebook
