// A card index that lost its counter or its lines: the cards stay listed, a new card or
// category never lands on what an older one uses, and the user is told once.

#include <gtest/gtest.h>

#include "core/notebook/categories.h"
#include "core/notebook/notebook_fixture.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;

class IndexRepair : public fixtures::NotebookFolder {
 protected:
  IndexRepair() : NotebookFolder("Français") {}
};

TEST_F(IndexRepair, NewCardsAfterABlankLineBelowTheCounterOverwriteNoOlderCard) {
  writeBytes(data / "fiches.kvn", "3;-0-0:Courses\r\n6\r\n\r\n");
  writeBytes(data / "3.kvo", "3.kvn\r\n");
  writeBytes(data / "3.kvn", "bread, milk");
  Notebook& notebook = start();
  EXPECT_EQ(prompts.messages, std::vector<std::string>{});
  for (const char* name : {"One", "Two", "Three"}) notebook.createCard(named(name));
  notebook.switchToPosition(0);

  EXPECT_EQ(readBytes(data / "3.kvn"), "bread, milk");
  EXPECT_EQ(indexOnDisk(), (std::vector<std::string>{"3;-0-0:Courses", "6;-0-0:One", "7;-0-0:Two",
                                                     "8;-0-0:Three", "9"}));
  EXPECT_FALSE(fs::exists(data / "fiches.kvn.bad"));
}

TEST_F(IndexRepair, ANewCardSkipsEveryFileNumberWhoseFilesAreThere) {
  // The counter says 1, but files of numbers 1 to 7 are about.
  writeBytes(data / "fiches.kvn", "1\r\n");
  const char* leftovers[] = {"1.kvn", "2.kvc", "3.kvo.$$$", "4.kvn.$$$", "5.kvc.$$$", "6.draft"};
  Notebook& notebook = start();
  // Written since the start: the start drops a draft whose card is not in the index.
  for (const char* file : leftovers) writeBytes(data / file, file);
  writeBytes(data / "7.kvo", "appeared since the start");
  notebook.createCard(named("Fresh"));
  EXPECT_EQ(notebook.store().cardIndex.line(0), "8;-0-0:Fresh");
  ASSERT_FALSE(indexOnDisk().empty());
  EXPECT_EQ(indexOnDisk().back(), "9");
  for (const char* file : leftovers) EXPECT_EQ(readBytes(data / file), file);
  EXPECT_EQ(readBytes(data / "7.kvo"), "appeared since the start");
}

TEST_F(IndexRepair, TheRebuiltIndexIsToldOnceInTheInterfaceLanguage) {
  writeBytes(data / "fiches.kvn", "\x01\x02 not an index\r\n");
  writeBytes(data / "4.kvo", "4.kvn\r\n");
  writeBytes(data / "4.kvn", "Recettes\r\ntarte");
  writeBytes(data / "9.kvo", "9.kvn\r\n");
  Notebook& notebook = start();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0],
            "Le fichier des fiches manquait ou était illisible ; fiches récupérées : 2\n"
            "L'ancien fichier est conservé sous : " +
                (data / "fiches.kvn.bad").string());
  EXPECT_EQ(names(), (std::vector<std::string>{"ktrquillWick", "Recettes", "Fiche 9"}));
  EXPECT_FALSE(notebook.store().indexRepair);

  // Said at that start only.
  prompts.messages.clear();
  notebook.switchToPosition(1);
  openNotebook();
  EXPECT_TRUE(prompts.messages.empty());
  start();
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(IndexRepair, ANewCategoryNeverTakesAnIdACardNames) {
  // categ.kvn was lost: its counter starts again at 1 while cards name categories 1 and 2.
  writeBytes(data / "fiches.kvn", "3;-1-0:A\r\n4;-2-H1-0:B\r\n5\r\n");
  for (const char* number : {"3", "4"}) writeBytes(data / (std::string(number) + ".kvo"), "x\r\n");
  start();
  ASSERT_EQ(readBytes(data / "categ.kvn"), "1\r\n");
  EXPECT_TRUE(addCategory(*store, "Work"));
  EXPECT_EQ(readBytes(data / "categ.kvn"), "3;:Work\r\n4\r\n");
  EXPECT_EQ(store->settings.categoryFilter(), "-0-3-");
}

}  // namespace
}  // namespace qw::notebook
