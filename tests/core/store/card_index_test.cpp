#include "core/store/card_index.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/store/categories.h"
#include "core/store/hot_key_slots.h"

namespace qw::store {
namespace {

using ::testing::ElementsAre;

TEST(CardIndex, NewIndexHoldsOnlyTheCounter) {
  const CardIndex index;
  EXPECT_EQ(index.count(), 0);
  EXPECT_EQ(index.counter(), 1);
  EXPECT_THAT(index.lines(), ElementsAre("1"));
  EXPECT_THROW(index.line(0), std::out_of_range);
}

TEST(CardIndex, AddedCardTakesTheCounterAsFileNumber) {
  CardIndex index({"1;-0-0:A", "4;-2-0:B", "9"});  // numbers 2 to 8 were deleted cards
  EXPECT_EQ(index.addCard("3", 4, true, "New: one"), 2);
  EXPECT_THAT(index.lines(), ElementsAre("1;-0-0:A", "4;-2-0:B", "9;-3-H4-1:New: one", "10"));
  EXPECT_EQ(index.addCard("0", std::nullopt, false, "Other"), 3);
  EXPECT_EQ(index.line(3), "10;-0-0:Other");
  EXPECT_EQ(index.counter(), 11);
  EXPECT_EQ(index.count(), 4);
}

TEST(CardIndex, BlankLinesGoButTheCounterStays) {
  CardIndex index({"", "1;-0-0:A", "", "", "2;-0-0:B", "", "3"});
  index.removeBlankLines();
  EXPECT_THAT(index.lines(), ElementsAre("1;-0-0:A", "2;-0-0:B", "3"));
  index.setLine(0, "");
  index.setLine(1, "");
  index.removeBlankLines();
  EXPECT_THAT(index.lines(), ElementsAre("3"));
}

TEST(CardIndex, LinesMustEndWithANumber) {
  EXPECT_THROW(CardIndex(std::vector<std::string>{}), std::invalid_argument);
  EXPECT_THROW(CardIndex({"1;-0-0:A"}), std::invalid_argument);
  EXPECT_THROW(CardIndex({"1;-0-0:A", ""}), std::invalid_argument);
  CardIndex index({"1;-0-0:A", "2"});
  EXPECT_THROW(index.setLines({"1;-0-0:A", "-2"}), std::invalid_argument);
  EXPECT_THAT(index.lines(), ElementsAre("1;-0-0:A", "2"));  // unchanged after a refusal
  EXPECT_THROW(index.setLine(1, "x"), std::out_of_range);    // the counter is no card
}

TEST(CardIndex, CounterParsing) {
  EXPECT_EQ(parseCounter("0"), 0);
  EXPECT_EQ(parseCounter("007"), 7);
  EXPECT_EQ(parseCounter("123456"), 123456);
  for (const std::string bad : {"", " 1", "1 ", "+1", "-1", "1a", "0x10", "99999999999999999999"})
    EXPECT_EQ(parseCounter(bad), std::nullopt) << bad;
}

TEST(CardIndex, FullAtFiveHundredCards) {
  std::vector<std::string> lines(499, "1;-0-0:x");
  lines.push_back("500");
  CardIndex index(lines);
  EXPECT_FALSE(index.isFull());
  index.addCard("0", std::nullopt, false, "last");
  EXPECT_EQ(index.count(), 500);
  EXPECT_TRUE(index.isFull());
}

TEST(HotKeySlots, TenSlotsNumberedFromOne) {
  HotKeySlots slots;
  for (int slot = 1; slot <= 10; ++slot) EXPECT_EQ(slots[slot], HotKeySlot{}) << slot;
  EXPECT_THROW(slots[0], std::out_of_range);
  EXPECT_THROW(slots[11], std::out_of_range);
  slots[1] = {"text", "name", 4};
  slots[10].card = 2;
  EXPECT_EQ(slots[1].name, "name");
  EXPECT_EQ(slots[2], HotKeySlot{});
  slots.reset();
  EXPECT_EQ(slots[1], HotKeySlot{});
  EXPECT_EQ(slots[10].card, -1);
}

TEST(Categories, IdsNamesAndCounter) {
  const Categories categories({"1;:Work", "3;:Home: sweet-home", "no separators", "5"});
  EXPECT_EQ(categories.count(), 3);
  EXPECT_EQ(categories.id(0), "1");
  EXPECT_EQ(categories.name(0), "Work");
  EXPECT_EQ(categories.id(1), "3");
  EXPECT_EQ(categories.name(1), "Home: sweet-home");
  EXPECT_EQ(categories.id(2), "");
  EXPECT_EQ(categories.name(2), "no separators");
  EXPECT_EQ(categories.counter(), 5);
  EXPECT_THROW(categories.name(3), std::out_of_range);
  EXPECT_THROW(categories.id(-1), std::out_of_range);

  const Categories empty;
  EXPECT_EQ(empty.count(), 0);
  EXPECT_EQ(empty.counter(), 1);
  EXPECT_THROW(Categories({"1;:Work"}), std::invalid_argument);
}

}  // namespace
}  // namespace qw::store
