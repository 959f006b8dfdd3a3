#include "core/remote/card_reference.h"

#include <gtest/gtest.h>

#include "core/store/card_line.h"

namespace qw::remote {
namespace {

using store::fixtures::CardLine;

class CardReference : public ::testing::Test {
 protected:
  CardReference() {
    index.setLines({CardLine(1, "Courses"), CardLine(2, "Notes").category(3), CardLine(3, "Notes"),
                    CardLine(4, "Secret"), CardLine(5, "7"), "9"});
  }
  FoundCard find(std::string_view reference) {
    return findCard(index, reference, [](int card) { return card == 3; });
  }
  store::CardIndex index;
};

TEST_F(CardReference, TheMainCardNumbersAndNames) {
  EXPECT_EQ(find("-").card, notebook::kMainCard);
  EXPECT_EQ(find("0").card, 0);
  EXPECT_EQ(find("4").card, 4);
  EXPECT_EQ(find("004").card, 4);
  EXPECT_EQ(find("Courses").card, 0);
  EXPECT_EQ(find("Courses").refusal, CardRefusal::None);
}

TEST_F(CardReference, DigitsAreANumberEvenWhenACardHasThemForName) {
  EXPECT_EQ(find("7").refusal, CardRefusal::NotFound);  // card 4 is named "7": five cards
  EXPECT_EQ(find("5").refusal, CardRefusal::NotFound);  // the counter line is no card
}

TEST_F(CardReference, UnknownSharedAndProtectedCardsAreRefused) {
  EXPECT_EQ(find("courses").refusal, CardRefusal::NotFound);  // names compare exactly
  EXPECT_EQ(find("").refusal, CardRefusal::NotFound);
  EXPECT_EQ(find("99999999999999999999").refusal, CardRefusal::NotFound);
  EXPECT_EQ(find("Notes").refusal, CardRefusal::SharedName);
  EXPECT_EQ(find("Notes").card, notebook::kNoCard);
  EXPECT_EQ(find("Secret").refusal, CardRefusal::Protected);
  EXPECT_EQ(find("3").refusal, CardRefusal::Protected);
}

}  // namespace
}  // namespace qw::remote
