// The card list: its rows, the column sorts, and the category filter made from the ticks.

#include "core/notebook/card_list.h"

#include <gtest/gtest.h>

#include "core/store/index_line.h"
#include "core/store/temp_folder.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::writeBytes;

const CardListRow kMainRow{"-2", "quillWick", "Default", "default.kvn", kMainCard};

class CardListRows : public ::testing::Test {
 protected:
  store::fixtures::TempFolder temp;
  store::Store store;
  i18n::StringTable strings = i18n::StringTable::forLanguage("Français");

  CardListRows() {
    store.dataFolder = temp.path() / "dataQuillWick";
    store.settings = store::Settings::defaults();
    store.categories = store::Categories({"3;:Work", "12;:Home", "3;:Work again", "13"});
  }

  void index(std::vector<std::string> lines) {
    lines.push_back("90");
    store.cardIndex = store::CardIndex(std::move(lines));
  }
  void settingsFile(const std::string& number, const std::string& bytes) {
    writeBytes(store.dataFolder / (number + ".kvo"), bytes);
  }
};

TEST_F(CardListRows, MainRowFirstThenShownCardsInIndexOrderWithTheirFourTexts) {
  index({"40;-0-0:Plain", "41;-3-H2-0:Plan: A-B", "42;-12-1:Linked", "43;-1-0:Hidden",
         "44;-7-0:Orphan"});
  store.settings.setCategoryFilter("-0-3-12-7-");
  settingsFile("40", "40.kvn\r\n0\r\n0\r\n");
  settingsFile("41", "41.kvn\r\n");
  settingsFile("42", "/home/me/notes.txt\r\n5\r\n");
  settingsFile("44", "44.kvn\r\n");

  const auto rows = cardListRows(store, strings);
  const std::vector<CardListRow> expected{
      kMainRow,
      {"0", "Plain", "Standard", "40.kvn", 0},
      {"1", "Plan: A-B", "Work", "41.kvn", 1},  // first category line of id 3 names it
      {"2", "Linked", "Home", "/home/me/notes.txt", 2},
      {"4", "Orphan", "", "44.kvn", 4},  // category 7 has no line: no group, files kept
  };
  EXPECT_EQ(rows, expected);
  // The standard group reads the same in English.
  EXPECT_EQ(cardListRows(store, i18n::StringTable::forLanguage("Anglais"))[1].group, "Standard");
}

TEST_F(CardListRows, CategoryIdsMatchWholeAndAnEmptyFilterLeavesTheMainRowAlone) {
  index({"1;-1-0:One", "2;-12-0:Twelve", "3;-0-0:Zero"});
  store.settings.setCategoryFilter("-12-");
  auto rows = cardListRows(store, strings);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].title, "Twelve");
  EXPECT_EQ(rows[1].num, "1");

  store.settings.setCategoryFilter("-");
  EXPECT_EQ(cardListRows(store, strings), std::vector<CardListRow>{kMainRow});
}

TEST_F(CardListRows, FilesIsEmptyWhenTheSettingsFileIsMissingEmptyOrUnreadable) {
  index({"1;-0-0:Missing", "2;-0-0:Empty", "3;-0-0:Folder", "4;-0-0:Accented"});
  settingsFile("2", "");
  fs::create_directories(store.dataFolder / "3.kvo");
  settingsFile("4",
               "C:\\Donn\xE9"
               "es\\r\xE9sum\xE9.txt\r\n");  // Windows-1252 on disk

  const auto rows = cardListRows(store, strings);
  ASSERT_EQ(rows.size(), 5u);
  for (int missing = 1; missing <= 3; ++missing)
    EXPECT_EQ(rows[missing].files, "") << rows[missing].title;
  EXPECT_EQ(rows[4].files, "C:\\Données\\résumé.txt");
}

CardListRow row(int card, std::string title, std::string group = "", std::string files = "") {
  return {std::to_string(card), std::move(title), std::move(group), std::move(files), card};
}

std::vector<int> cards(const std::vector<CardListRow>& rows) {
  std::vector<int> out;
  for (const auto& r : rows) out.push_back(r.card);
  return out;
}

TEST(CardListSorting, NumbersCompareAsNumbersNotAsText) {
  std::vector<CardListRow> rows{row(10, "a"), kMainRow, row(2, "b"), row(1, "c")};
  sortCardList(rows, kNumColumn, false);
  EXPECT_EQ(cards(rows), (std::vector<int>{-2, 1, 2, 10}));
  sortCardList(rows, kNumColumn, true);
  EXPECT_EQ(cards(rows), (std::vector<int>{10, 2, 1, -2}));
}

TEST(CardListSorting, TextsFoldOnlyAToZAndEqualKeysKeepTheirOrder) {
  std::vector<CardListRow> rows{row(0, "banana"),
                                row(1, "\xC3\x89t\xC3\xA9"),  // "Été"
                                row(2, "Apple"),
                                row(3, "apple"),
                                row(4, "\xC3\xA9t\xC3\xA9"),  // "été"
                                row(5, "")};
  sortCardList(rows, kTitleColumn, false);
  // Empty first; Apple and apple tie; É and é are different letters, both after z.
  EXPECT_EQ(cards(rows), (std::vector<int>{5, 2, 3, 0, 1, 4}));
  sortCardList(rows, kTitleColumn, true);
  EXPECT_EQ(cards(rows), (std::vector<int>{4, 1, 0, 2, 3, 5}));
}

TEST(CardListSorting, GroupAndFilesColumnsSortByTheirOwnText) {
  std::vector<CardListRow> rows{row(0, "z", "work", "b.kvn"), row(1, "y", "", "C.kvn"),
                                row(2, "x", "Home", "a.kvn")};
  sortCardList(rows, kGroupColumn, false);
  EXPECT_EQ(cards(rows), (std::vector<int>{1, 2, 0}));
  sortCardList(rows, kFilesColumn, false);
  EXPECT_EQ(cards(rows), (std::vector<int>{2, 0, 1}));
  sortCardList(rows, kFilesColumn, true);
  EXPECT_EQ(cards(rows), (std::vector<int>{1, 0, 2}));
}

TEST(CardListSortState, NumStartsAscendingOtherColumnsStartAscendingAndClicksAlternate) {
  CardListSort sort;
  EXPECT_FALSE(sort.click(kNumColumn));
  EXPECT_EQ(sort.state(), 1);
  EXPECT_TRUE(sort.click(kNumColumn));
  EXPECT_EQ(sort.state(), 0);
  EXPECT_FALSE(sort.click(kNumColumn));

  EXPECT_FALSE(sort.click(kTitleColumn));
  EXPECT_EQ(sort.state(), 2);
  EXPECT_TRUE(sort.click(kTitleColumn));
  EXPECT_EQ(sort.state(), 3);
  EXPECT_FALSE(sort.click(kTitleColumn));

  EXPECT_FALSE(sort.click(kFilesColumn));
  EXPECT_EQ(sort.state(), 6);
}

TEST(CardListSortState, ComingToNumFromAnotherColumnSortsDescendingFirst) {
  CardListSort fromEven;
  fromEven.click(kGroupColumn);
  EXPECT_TRUE(fromEven.click(kNumColumn));
  EXPECT_EQ(fromEven.state(), 0);

  CardListSort fromOdd;
  fromOdd.click(kGroupColumn);
  fromOdd.click(kGroupColumn);
  EXPECT_TRUE(fromOdd.click(kNumColumn));
  EXPECT_FALSE(fromOdd.click(kNumColumn));
}

TEST(CategoryFilter, IdsOfTickedItemsInListOrder) {
  EXPECT_EQ(categoryFilterFrom({{"0", true}, {"3", true}, {"12", true}}), "-0-3-12-");
  EXPECT_EQ(categoryFilterFrom({{"0", false}, {"3", true}, {"12", false}, {"5", true}}), "-3-5-");
  EXPECT_EQ(categoryFilterFrom({{"0", true}, {"3", false}}), "-0-");
  EXPECT_EQ(categoryFilterFrom({{"0", false}, {"3", false}}), "-");
  EXPECT_EQ(categoryFilterFrom({}), "-");
}

TEST(CategoryFilter, AFilterFromTicksShowsExactlyTheTickedCategories) {
  const std::string filter = categoryFilterFrom({{"0", false}, {"1", false}, {"12", true}});
  EXPECT_TRUE(store::filterShowsCategory(filter, "12"));
  EXPECT_FALSE(store::filterShowsCategory(filter, "1"));
  EXPECT_FALSE(store::filterShowsCategory(filter, "0"));
}

TEST(CardListOpening, TheMainRowOpensPositionZeroOthersTheFirstStripEntryOfThatName) {
  const std::vector<StripEntry> strip{
      {kMainCard, "ktrquillWick", {}}, {4, "Twin", {}}, {7, "Twin", {}}, {9, "Other", {}}};
  EXPECT_EQ(stripPositionForRow(strip, kMainRow), 0);
  EXPECT_EQ(stripPositionForRow(strip, row(7, "Twin")), 1);
  EXPECT_EQ(stripPositionForRow(strip, row(9, "Other")), 3);
  EXPECT_EQ(stripPositionForRow(strip, row(9, "other")), -1);
  EXPECT_EQ(stripPositionForRow(strip, row(5, "Gone")), -1);
  // A card named like the main card's label opens the main card: the labels are searched in
  // strip order from the first.
  EXPECT_EQ(stripPositionForRow(strip, row(3, "ktrquillWick")), 0);
  EXPECT_EQ(stripPositionForRow({}, kMainRow), -1);
}

}  // namespace
}  // namespace qw::notebook
