// Protected cards: protecting, opening with the right, wrong or no password, old encoded cards
// sealed at their next save, and nothing plain left in the data folder.

#include <gtest/gtest.h>

#include <cctype>

#include "core/crypto/legacy_card.h"
#include "core/crypto/md5.h"
#include "core/crypto/sealed_card.h"
#include "core/notebook/notebook_fixture.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class CardProtection : public fixtures::NotebookFolder {
 protected:
  // Without the cipher, sealing_unavailable_test.cpp covers what these cards do instead.
  void SetUp() override {
    if (!crypto::sealingAvailable()) GTEST_SKIP() << "built without libsodium: no sealed cards";
  }
  // Card 1 "Diary" (own file), card 2 "Keyed" on hot key 1, card 3 "Linked" to an outside file.
  Notebook& open() {
    makeCards({"1;-0-0:Diary", "2;-0-H1-0:Keyed", "3;-0-1:Linked"});
    writeBytes(temp.path() / "outside.txt", "outside");
    writeBytes(data / "3.kvo", (temp.path() / "outside.txt").string() + "\r\n");
    return start();
  }
  // True when no file of the data folder holds `words`.
  bool nowhereInPlain(const std::string& words) const {
    for (const auto& entry : fs::directory_iterator(data))
      if (readBytes(entry.path()).find(words) != std::string::npos) return false;
    return true;
  }
};

TEST_F(CardProtection, OnlyAnOwnFileCardNoHotKeyReachesCanBeProtected) {
  Notebook& notebook = open();
  EXPECT_FALSE(notebook.canProtect());  // the main card
  notebook.switchToPosition(2);
  EXPECT_FALSE(notebook.canProtect());  // on a hot key
  notebook.switchToPosition(3);
  EXPECT_FALSE(notebook.canProtect());  // linked
  notebook.switchToPosition(1);
  EXPECT_TRUE(notebook.canProtect());
  EXPECT_FALSE(notebook.canUnprotect());
}

TEST_F(CardProtection, AProtectedCardOpensOnlyWithItsPasswordAndLeavesNothingPlain) {
  Notebook& notebook = open();
  notebook.switchToPosition(1);
  editor.type("secret words");
  prompts.passwords.push_back("pass phrase");
  notebook.protectCurrentCard();
  EXPECT_EQ(prompts.passwordRequests.back(), "Diary|visible");
  EXPECT_FALSE(fs::exists(data / "1.kvn"));
  EXPECT_TRUE(crypto::looksSealed(readBytes(data / "1.kvc")));
  EXPECT_EQ(readBytes(data / "1.kvo").substr(0, 7), "1.kvc\r\n");
  EXPECT_TRUE(nowhereInPlain("secret words"));
  // Both commands wait for the next switch.
  EXPECT_FALSE(notebook.canProtect());
  EXPECT_FALSE(notebook.canUnprotect());

  notebook.switchToPosition(0);
  EXPECT_TRUE(nowhereInPlain("secret words"));

  // A wrong password: told, and the main card opens instead; the file is untouched.
  const std::string sealed = readBytes(data / "1.kvc");
  prompts.passwords.push_back("guess");
  notebook.switchToPosition(1);
  EXPECT_EQ(prompts.messages.back(), strings[i18n::Str::sErrWrongPassword]);
  EXPECT_EQ(notebook.current().number, kMainCard);
  EXPECT_EQ(notebook.selectedPosition(), 0);
  EXPECT_EQ(readBytes(data / "1.kvc"), sealed);

  // Cancel: the main card, without a word.
  const auto said = prompts.messages.size();
  notebook.switchToPosition(1);
  EXPECT_EQ(notebook.current().number, kMainCard);
  EXPECT_EQ(prompts.messages.size(), said);

  prompts.passwords.push_back("pass phrase");
  notebook.switchToPosition(1);
  EXPECT_EQ(prompts.passwordRequests.back(), "Diary|masked");
  ASSERT_EQ(notebook.current().number, 0);
  EXPECT_NE(editor.content.find("secret words"), std::string::npos);
  EXPECT_TRUE(notebook.canUnprotect());
  EXPECT_TRUE(nowhereInPlain("secret words"));  // its snapshot is a copy of the sealed file
}

TEST_F(CardProtection, UnprotectingWritesThePlainFileBackAndKeepsTheSealedOne) {
  Notebook& notebook = open();
  notebook.switchToPosition(1);
  prompts.passwords.push_back("pw");
  notebook.protectCurrentCard();
  notebook.switchToPosition(0);
  prompts.passwords.push_back("pw");
  notebook.switchToPosition(1);
  notebook.unprotectCurrentCard();
  EXPECT_NE(readBytes(data / "1.kvn").find("text of 1"), std::string::npos);
  EXPECT_EQ(readBytes(data / "1.kvo").substr(0, 7), "1.kvn\r\n");
  EXPECT_TRUE(fs::exists(data / "1.kvc"));
  EXPECT_FALSE(notebook.canUnprotect());
  notebook.switchToPosition(0);
  notebook.switchToPosition(1);  // no password asked any more
  EXPECT_EQ(notebook.current().number, 0);
  EXPECT_EQ(prompts.passwordRequests.size(), 2u);
}

TEST_F(CardProtection, AnOldEncodedCardOpensAfterItsDigestAndIsSealedAtTheNextSave) {
  makeCards({"1;-0-0:Old"});
  sealFile1(crypto::encodeLegacyCard("old text", crypto::md5Text("mot")));
  fs::remove(data / "1.kvn");
  Notebook& notebook = openPosition1With("mot");
  ASSERT_EQ(notebook.current().number, 0);
  EXPECT_EQ(editor.content, "old text");
  EXPECT_TRUE(editor.isModified());
  notebook.switchToPosition(0);
  const std::string file = readBytes(data / "1.kvc");
  EXPECT_TRUE(crypto::looksSealed(file));
  EXPECT_NE(crypto::openSealedCard(file, "mot").find("old text"), std::string::npos);
}

TEST_F(CardProtection, AnOldCardWhoseDigestIsInUpperCaseIsAWrongPasswordNotDamage) {
  std::string digest = crypto::md5Text("mot");
  for (char& c : digest) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string encoded = crypto::encodeLegacyCard("old text", digest);
  makeCards({"1;-0-0:Old"});
  sealFile1(encoded);
  Notebook& notebook = openPosition1With("mot");
  EXPECT_EQ(notebook.current().number, kMainCard);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.back(), strings[i18n::Str::sErrWrongPassword]);
  EXPECT_EQ(readBytes(data / "1.kvc"), encoded);
}

TEST_F(CardProtection, ADamagedFileIsReportedAndLeftAsItIs) {
  makeCards({"1;-0-0:Broken"});
  sealFile1(std::string("\x20") + "not a digest at all");
  Notebook& notebook = openPosition1With("x");
  EXPECT_EQ(notebook.current().number, kMainCard);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.back().rfind(strings[i18n::Str::sErrDamagedCard], 0), 0u);
  EXPECT_EQ(readBytes(data / "1.kvc"), std::string("\x20") + "not a digest at all");
}

}  // namespace
}  // namespace qw::notebook
