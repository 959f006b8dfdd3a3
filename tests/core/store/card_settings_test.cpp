#include "core/store/card_settings.h"

#include <gtest/gtest.h>

namespace qw::store {
namespace {

TEST(CardSettings, FifteenLineCreationFormsOfTheMainCardAndANewCard) {
  EXPECT_EQ(newCardSettingsLines("default.kvn", 0),
            (std::vector<std::string>{"default.kvn", "0", "0", "8", "1", "0", "1", "16", "0", "0",
                                      "0", "0", "0", "0", "0"}));
  const auto card = newCardSettingsLines("12.kvn", 11);
  ASSERT_EQ(card.size(), 15u);
  EXPECT_EQ(card[0], "12.kvn");
  EXPECT_EQ(card[5], "11");
}

TEST(CardSettings, BothFormsLoadTheSameWay) {
  const auto created = cardSettingsFromLines(newCardSettingsLines("7.kvn", 0));
  EXPECT_EQ(created.contentFile, "7.kvn");
  EXPECT_FALSE(created.wordWrap);  // line 5 "1": wrapping off
  EXPECT_EQ(created.look.backgroundItem, 16);
  EXPECT_EQ(created.syncLink, "");  // line 11 "0"

  // A 23-line file reads back to what was written.
  CardSettings s;
  s.contentFile = "/home/me/notes.txt";
  s.selection = {1234, 56};
  s.look = {14, 3, 10, 12, 7, 9};
  s.wordWrap = true;
  s.syncLink = "/mnt/usb/notes.txt";
  const auto lines = cardSettingsLines(s);
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[4], "0");
  EXPECT_EQ(lines[10], "/mnt/usb/notes.txt");
  for (size_t i = 11; i < 23; ++i) EXPECT_EQ(lines[i], "9") << i;
  EXPECT_EQ(cardSettingsFromLines(lines), s);
}

TEST(CardSettings, ShortLinksAreNoLink) {
  EXPECT_EQ(syncLinkOf("0"), "");
  EXPECT_EQ(syncLinkOf("ab"), "");
  EXPECT_EQ(syncLinkOf("C:\\x"), "C:\\x");
  // Written empty; the "0" of a new card's file still reads as no link.
  CardSettings none;
  EXPECT_EQ(cardSettingsLines(none)[10], "");
  EXPECT_EQ(cardSettingsFromLines(cardSettingsLines(none)).syncLink, "");
}

TEST(CardSettings, DamagedFilesLoadWithDefaultsInsteadOfFailing) {
  EXPECT_EQ(cardSettingsFromLines({}), CardSettings{});
  const auto s = cardSettingsFromLines({"3.kvn", "12x", "-5", "", "0", "font", "2"});
  EXPECT_EQ(s.contentFile, "3.kvn");
  EXPECT_EQ(s.selection, (ports::Selection{0, 0}));
  EXPECT_EQ(s.look.fontSize, 8);
  EXPECT_TRUE(s.wordWrap);
  EXPECT_EQ(s.look.fontItem, 0);
  EXPECT_EQ(s.look.colourItem, 2);
  EXPECT_EQ(s.look.backgroundItem, 16);
  EXPECT_EQ(cardSettingsFromLines({"x", "99999999999999999999999"}).selection.start, 0);
}

}  // namespace
}  // namespace qw::store
