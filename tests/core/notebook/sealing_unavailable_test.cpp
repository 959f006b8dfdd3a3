// The notebook in a build without libsodium: a sealed card says why it cannot be opened, no card
// can be protected, and an old encoded card is never written back in plain text.
#include <gtest/gtest.h>

#include "core/crypto/legacy_card.h"
#include "core/crypto/md5.h"
#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"

namespace qw::notebook {
namespace {

using store::fixtures::readBytes;

class SealingUnavailable : public fixtures::NotebookFolder {};

TEST_F(SealingUnavailable, ASealedCardIsReportedUnavailableAndLeftAsItIs) {
  const std::string sealed = std::string("QWSEALED\x01", 9) + std::string(150, 's');
  makeCards({"1;-0-0:Sealed", "2;-0-0:Plain"});
  sealFile1(sealed);
  Notebook& notebook = openPosition1With("pw");
  EXPECT_EQ(notebook.current().number, kMainCard);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_NE(prompts.messages.back().find(strings[i18n::Str::sFaultNoSealing]), std::string::npos);
  EXPECT_EQ(prompts.messages.back().find(strings[i18n::Str::sErrDamagedCard]), std::string::npos);
  EXPECT_EQ(readBytes(data / "1.kvc"), sealed);

  notebook.switchToPosition(2);
  EXPECT_EQ(notebook.current().number, 1);
  EXPECT_FALSE(notebook.canProtect());
}

TEST_F(SealingUnavailable, AnOldEncodedCardOpensButItsSaveIsRefusedWithTheFileKept) {
  const std::string encoded = crypto::encodeLegacyCard("old text", crypto::md5Text("mot"));
  makeCards({"1;-0-0:Old"});
  sealFile1(encoded);
  std::filesystem::remove(data / "1.kvn");
  Notebook& notebook = openPosition1With("mot");
  ASSERT_EQ(notebook.current().number, 0);
  EXPECT_EQ(editor.content, "old text");
  // Its first save would seal it.
  EXPECT_THROW(notebook.saveCard(), store::StoreError);
  EXPECT_EQ(readBytes(data / "1.kvc"), encoded);
  EXPECT_FALSE(std::filesystem::exists(data / "1.kvn"));
  EXPECT_TRUE(editor.isModified());
  // Nor is a draft of it kept in plain text.
  EXPECT_FALSE(notebook.takeDraft().has_value());
}

}  // namespace
}  // namespace qw::notebook
