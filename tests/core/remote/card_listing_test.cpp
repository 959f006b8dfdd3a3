#include "core/remote/card_listing.h"

#include <gtest/gtest.h>

namespace qw::remote {
namespace {

std::vector<ListedCard> sample() {
  return {{"-", std::nullopt, "", "quillWick", false, false},
          {"0", 3, "Standard", "Courses", false, false},
          {"1", std::nullopt, "Maison", "Tab\there \"quoted\" back\\slash", true, true},
          {"2", std::nullopt, "", std::string("bell\x07"), false, false}};
}

TEST(CardListing, TextIsOneTabSeparatedLinePerCardWithTheNamesKeptOnOneLine) {
  EXPECT_EQ(listingText(sample()),
            "-\t\t\tquillWick\n"
            "0\t3\tStandard\tCourses\n"
            "1\t\tMaison\tTab here \"quoted\" back\\slash\n"
            "2\t\t\tbell\x07\n");
}

TEST(CardListing, JsonEscapesEveryCharacterThatWouldBreakIt) {
  EXPECT_EQ(listingJson(sample()),
            "[\n"
            "  {\"number\": \"-\", \"hotKey\": null, \"category\": \"\", \"name\": \"quillWick\", "
            "\"protected\": false, \"linked\": false},\n"
            "  {\"number\": \"0\", \"hotKey\": 3, \"category\": \"Standard\", \"name\": "
            "\"Courses\", \"protected\": false, \"linked\": false},\n"
            "  {\"number\": \"1\", \"hotKey\": null, \"category\": \"Maison\", \"name\": "
            "\"Tab\\there \\\"quoted\\\" back\\\\slash\", \"protected\": true, \"linked\": true},\n"
            "  {\"number\": \"2\", \"hotKey\": null, \"category\": \"\", \"name\": "
            "\"bell\\u0007\", \"protected\": false, \"linked\": false}\n"
            "]\n");
}

TEST(CardListing, EveryCardOfTheIndexWithItsKeyCategoryAndFlags) {
  store::Store store;
  store.cardIndex.setLines(
      {"1;-0-H2-0:Courses", "2;-5-0:Maison", "3;-9-H10-0:Orphan", "4;-0-1:C:\\notes.txt", "5"});
  store.categories = store::Categories({"5;0:Maison", "6"});
  store.settings.setCategoryFilter("-5-");  // the listing ignores it
  const auto strings = i18n::StringTable::forLanguage(i18n::Language::English);
  const auto cards = listedCards(store, strings, [](int card) { return card == 1; });
  ASSERT_EQ(cards.size(), 5u);
  EXPECT_EQ(cards[0], (ListedCard{"-", std::nullopt, "", "quillWick", false, false}));
  EXPECT_EQ(cards[1],
            (ListedCard{"0", 2, strings[i18n::Str::sCategStandard], "Courses", false, false}));
  EXPECT_EQ(cards[2], (ListedCard{"1", std::nullopt, "Maison", "Maison", true, false}));
  // The tenth slot has no key; a category the list does not hold has no name.
  EXPECT_EQ(cards[3], (ListedCard{"2", std::nullopt, "", "Orphan", false, false}));
  EXPECT_TRUE(cards[4].linked);
}

TEST(CardListing, FoundLinesAreNumberLineNameAndTextWithTheColumnsKept) {
  find::FoundLine hit;
  hit.number = "-";
  hit.line = 12;
  hit.name = "quillWick";
  hit.text = "a\ttabbed \xC3\xA9t\xC3\xA9";
  find::FoundLine other = hit;
  other.number = "4";
  other.line = 1;
  other.name = "Two\nlines";
  other.text = "x";
  EXPECT_EQ(foundLinesText({hit, other}),
            "-\t12\tquillWick\ta tabbed \xC3\xA9t\xC3\xA9\n"
            "4\t1\tTwo lines\tx\n");
}

}  // namespace
}  // namespace qw::remote
