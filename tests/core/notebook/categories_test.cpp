// Adding and deleting categories against a real data folder: what categ.kvn holds afterwards,
// when the filter changes, and when a deletion is refused.

#include "core/notebook/categories.h"

#include <gtest/gtest.h>

#include "core/notebook/notebook_fixture.h"
#include "core/store/store_error.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::readBytes;
using store::fixtures::writeBytes;
using Lines = std::vector<std::string>;

class CategoryList : public fixtures::NotebookFolder {
 protected:
  CategoryList() : NotebookFolder("Français") {}
  fs::path file = data / "categ.kvn";

  // The program started on the data folder, with these card lines in the index.
  store::Store& start(const Lines& cards = {}) {
    loadStore();
    Lines index = cards;
    index.push_back("100");
    store->cardIndex.setLines(index);
    return *store;
  }

  // A category file written with bare LF ends: any rewrite shows as CR LF.
  void writeCategories(const std::string& lfText) { writeBytes(file, lfText); }

  DeleteResult remove(int k) { return deleteCategory(*store, k, prompts, strings); }
};

TEST_F(CategoryList, TheFirstAdditionOnAFreshFolderTakesIdOneAndShowsItInTheFilter) {
  start();
  EXPECT_EQ(readBytes(file), "1\r\n");
  EXPECT_EQ(store->categories.count(), 0);
  const std::string settingsBefore = readBytes(data / "param.ini");

  EXPECT_TRUE(addCategory(*store, "Work"));
  EXPECT_EQ(readBytes(file), "1;:Work\r\n2\r\n");
  EXPECT_EQ(store->settings.categoryFilter(), "-0-1-");
  // The filter reaches param.ini only with the next settings save.
  EXPECT_EQ(readBytes(data / "param.ini"), settingsBefore);

  EXPECT_TRUE(addCategory(*store, "Home"));
  EXPECT_EQ(store->categories.lines(), (Lines{"1;:Work", "2;:Home", "3"}));
  EXPECT_EQ(store->settings.categoryFilter(), "-0-1-2-");
}

TEST_F(CategoryList, EmptyDuplicateOrMultiLineNamesAddNothing) {
  writeCategories("1;:Work\n4;:\xC9t\xE9\n5\n");  // Windows-1252 "Été"
  start();
  for (const std::string name : {"", "work", "WORK", "Work", "\xC3\xA9t\xC3\xA9", "a\r\nb", "a\n"})
    EXPECT_FALSE(addCategory(*store, name)) << name;
  EXPECT_EQ(store->categories.lines(), (Lines{"1;:Work", "4;:\xC3\x89t\xC3\xA9", "5"}));
  EXPECT_EQ(store->settings.categoryFilter(), "-0-");
  EXPECT_EQ(readBytes(file), "1;:Work\n4;:\xC9t\xE9\n5\n");

  // A name that merely starts like another is a new one.
  EXPECT_TRUE(addCategory(*store, "Works"));
  EXPECT_EQ(store->categories.name(2), "Works");
}

TEST_F(CategoryList, CaseIsIgnoredForTheLettersOfTheStoredCodePage) {
  EXPECT_TRUE(sameNameIgnoringCase("\xC5\x92UVRE \xC3\x80 \xC3\x9E",  // ŒUVRE À Þ
                                   "\xC5\x93uvre \xC3\xA0 \xC3\xBE"));
  EXPECT_TRUE(sameNameIgnoringCase("\xC5\xB8", "\xC3\xBF"));   // Ÿ ÿ
  EXPECT_FALSE(sameNameIgnoringCase("\xC3\x97", "\xC3\xB7"));  // × is not a capital of ÷
  EXPECT_FALSE(sameNameIgnoringCase("Work", "Works"));
  EXPECT_FALSE(sameNameIgnoringCase("Work", "Wor"));
}

TEST_F(CategoryList, DeletedIdsAreNeverGivenAgainAndTheFilterKeepsThem) {
  writeCategories("1;:A\n2;:B\n3\n");
  writeBytes(data / "param.ini",
             "Langue=Fran\xE7"
             "ais\r\nDefaultFiche=\r\nx\r\nx\r\nx\r\n"
             "LCategories=-0-1-2-\r\n");
  start();
  prompts.answers = {true};
  EXPECT_EQ(remove(0), DeleteResult::Deleted);
  EXPECT_EQ(readBytes(file), "2;:B\r\n3\r\n");
  EXPECT_EQ(store->settings.categoryFilter(), "-0-1-2-");

  EXPECT_TRUE(addCategory(*store, "C"));
  EXPECT_EQ(readBytes(file), "2;:B\r\n3;:C\r\n4\r\n");
  EXPECT_EQ(store->settings.categoryFilter(), "-0-1-2-3-");
}

TEST_F(CategoryList, ACategoryACardUsesIsRefusedWithoutAQuestionOrAWrite) {
  writeCategories("1;:A\n3;:B\n4\n");
  start({"7;-0-0:Plain", "8;-3-H2-0:Bound to B"});
  EXPECT_EQ(remove(1), DeleteResult::InUse);
  EXPECT_EQ(prompts.messages, Lines{strings[i18n::Str::sErrCategoryInUse]});
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(store->categories.count(), 2);
  EXPECT_EQ(readBytes(file), "1;:A\n3;:B\n4\n");
}

TEST_F(CategoryList, AnsweringNoStillRewritesTheFileUnchanged) {
  writeCategories("1;:A\n2\n");
  start();
  prompts.answers = {false};
  EXPECT_EQ(remove(0), DeleteResult::Declined);
  EXPECT_EQ(prompts.questions,
            Lines{"Confirmation d'Effacement|Voulez-vous supprimer la Categorie : A"});
  EXPECT_EQ(readBytes(file), "1;:A\r\n2\r\n");
  EXPECT_EQ(store->categories.lines(), (Lines{"1;:A", "2"}));
}

TEST_F(CategoryList, OnlyTheCategoryFieldBeforeTheFirstColonCounts) {
  // Card 7 is in category 12, and a card name may hold anything after its ":".
  writeCategories("1;:One\n12;:Twelve\n13\n");
  start({"7;-12-0:X", "9;-0-0:name ;-1- here"});
  EXPECT_FALSE(lineUsesCategory("7;-12-0:X", "1"));
  EXPECT_TRUE(lineUsesCategory("7;-12-0:X", "12"));
  EXPECT_TRUE(lineUsesCategory("8;-3-H2-1:Linked", "3"));
  EXPECT_FALSE(lineUsesCategory("9;-0-0:name ;-1- here", "1"));
  EXPECT_FALSE(lineUsesCategory("5;-1-0", "1"));  // no ":" leaves nothing to search

  prompts.answers = {true};
  EXPECT_EQ(remove(0), DeleteResult::Deleted);
  EXPECT_EQ(store->categories.lines(), (Lines{"12;:Twelve", "13"}));
  EXPECT_EQ(remove(0), DeleteResult::InUse);
}

TEST_F(CategoryList, ARepeatedNameIsDeletedAtItsLastLine) {
  // Only a hand-edited file repeats a name; the names are all the dialog shows.
  writeCategories("1;:A\n2;:A\n3\n");
  start({"7;-1-0:Uses the first A"});
  prompts.answers = {true};
  EXPECT_EQ(remove(0), DeleteResult::Deleted);
  EXPECT_EQ(store->categories.lines(), (Lines{"1;:A", "3"}));
  EXPECT_THROW(remove(1), std::out_of_range);
}

TEST_F(CategoryList, AFileThatCannotBeWrittenLeavesListAndFilterAsTheyWere) {
  writeCategories("1;:A\n2\n");
  start();
  // The atomic writer cannot rename over a folder, whoever runs the test.
  fs::remove(file);
  fs::create_directory(file);
  EXPECT_THROW(addCategory(*store, "B"), store::StoreError);
  EXPECT_EQ(store->categories.lines(), (Lines{"1;:A", "2"}));
  EXPECT_EQ(store->settings.categoryFilter(), "-0-");

  prompts.answers = {true};
  EXPECT_THROW(remove(0), store::StoreError);
  EXPECT_EQ(store->categories.lines(), (Lines{"1;:A", "2"}));
}

}  // namespace
}  // namespace qw::notebook
