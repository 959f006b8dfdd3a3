// Find in all cards on the notebook's side: the cards a search reads, and opening a hit.

#include "core/notebook/find_cards.h"

#include <gtest/gtest.h>

#include "core/notebook/notebook_fixture.h"

namespace qw::notebook {
namespace {

class FindCards : public fixtures::NotebookFolder {
 protected:
  // "Shown" in category 0, "Hidden" in category 5; the filter shows category 0 only.
  Notebook& open() {
    makeCards({"1;-0-0:Shown", "2;-5-0:Hidden"});
    loadStore();
    store->settings.setCategoryFilter("-0-");
    return openNotebook();
  }
  static std::vector<std::string> namesOf(const std::vector<find::SearchedCard>& cards) {
    std::vector<std::string> names;
    for (const auto& card : cards) names.push_back(card.number + " " + card.name);
    return names;
  }
};

TEST_F(FindCards, EveryCardWhateverTheFilterOrOnlyTheShownOnesWithTheOpenCardsText) {
  Notebook& book = open();
  const std::string mainName = "quillWick";
  EXPECT_EQ(namesOf(cardsToSearch(book, false)),
            (std::vector<std::string>{"- " + mainName, "0 Shown", "1 Hidden"}));
  EXPECT_EQ(namesOf(cardsToSearch(book, true)),
            (std::vector<std::string>{"- " + mainName, "0 Shown"}));

  book.switchToPosition(1);
  editor.content = "typed, not saved";
  const auto cards = cardsToSearch(book, false);
  ASSERT_TRUE(cards[1].openText.has_value());
  EXPECT_EQ(*cards[1].openText, "typed, not saved");
  EXPECT_FALSE(cards[2].openText.has_value());
  EXPECT_EQ(cards[2].settingsFile, data / "2.kvo");
}

TEST_F(FindCards, AHitInAHiddenCategoryAddsItToTheFilterThenOpensAndSelects) {
  Notebook& book = open();
  editor.content = "main card edited";
  editor.modified = true;
  find::FoundLine hit;
  hit.card = 1;
  hit.number = "1";
  hit.name = "Hidden";
  hit.position = 3;
  hit.length = 2;
  ASSERT_TRUE(openFoundCard(book, *store, hit, platform));
  EXPECT_EQ(store->settings.categoryFilter(), "-0-5-");
  EXPECT_EQ(names(), (std::vector<std::string>{book.strip().front().name, "Shown", "Hidden"}));
  EXPECT_EQ(book.current().number, 1);
  EXPECT_EQ(editor.content, "text of 2");
  EXPECT_EQ(editor.selection(), (ports::Selection{3, 2}));
  // The card left was saved first, as every switch does.
  EXPECT_NE(store::fixtures::readBytes(data / "default.kvn").find("main card edited"),
            std::string::npos);
}

TEST_F(FindCards, AHitWhoseCardIsGoneOrRenamedOpensNothing) {
  Notebook& book = open();
  find::FoundLine hit;
  hit.card = 0;
  hit.name = "Renamed since";
  EXPECT_FALSE(openFoundCard(book, *store, hit, platform));
  hit.card = 7;
  EXPECT_FALSE(openFoundCard(book, *store, hit, platform));
  EXPECT_EQ(book.current().number, kMainCard);
  EXPECT_EQ(store->settings.categoryFilter(), "-0-");
}

}  // namespace
}  // namespace qw::notebook
