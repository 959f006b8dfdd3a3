#include "core/store/index_line.h"

#include <gtest/gtest.h>

namespace qw::store {
namespace {

TEST(IndexLine, FieldsOfWellFormedLines) {
  const std::string plain = "7;-3-0:Recettes";
  EXPECT_EQ(fileNumber(plain), "7");
  EXPECT_EQ(categoryId(plain), "3");
  EXPECT_EQ(hotKeySlot(plain), std::nullopt);
  EXPECT_FALSE(isLinked(plain));
  EXPECT_TRUE(hasOwnFile(plain));
  EXPECT_EQ(displayName(plain), "Recettes");

  const std::string bound = "125;-12-H9-1:Liens utiles";
  EXPECT_EQ(fileNumber(bound), "125");
  EXPECT_EQ(categoryId(bound), "12");
  EXPECT_EQ(hotKeySlot(bound), 9);
  EXPECT_TRUE(isLinked(bound));
  EXPECT_FALSE(hasOwnFile(bound));
  EXPECT_EQ(displayName(bound), "Liens utiles");
}

TEST(IndexLine, NameWithSeparatorsIsShownWholeAndMayLookLinked) {
  const std::string line = "8;-2-0:a:b-c-1:d";
  EXPECT_EQ(displayName(line), "a:b-c-1:d");
  EXPECT_EQ(categoryId(line), "2");
  EXPECT_EQ(hotKeySlot(line), std::nullopt);
  EXPECT_TRUE(hasOwnFile(line));
  EXPECT_TRUE(isLinked(line));  // "-1:" is searched in the whole line
  // A name starting with "H" and a number is not a hot key.
  EXPECT_EQ(hotKeySlot("8;-2-0:H3-x"), std::nullopt);
}

TEST(IndexLine, HotKeyFieldMustBeHAndANumber) {
  EXPECT_EQ(hotKeySlot("7;-3-H10-0:x"), 10);
  for (const char* line :
       {"7;-3-H-0:x", "7;-3-Hx-0:x", "7;-3-H2x-0:x", "7;-3-h2-0:x", "7;-3-H+2-0:x",
        "7;-3-H99999999999-0:x", "7;-3-H2"}) {  // the last: no "-" closes the field
    EXPECT_EQ(hotKeySlot(line), std::nullopt) << line;
  }
}

TEST(IndexLine, MalformedLinesGiveEmptyOrWholeText) {
  for (const std::string line : {"", "abc", "5;", "5;-", "5;-3", ":", "-", "--", "H2-"}) {
    EXPECT_NO_THROW({
      fileNumber(line);
      categoryId(line);
      hotKeySlot(line);
      displayName(line);
      withoutHotKey(line);
      shownByFilter(line, "-0-");
    }) << line;
  }
  EXPECT_EQ(fileNumber("abc"), "");
  EXPECT_EQ(displayName("abc"), "abc");
  EXPECT_EQ(categoryId("abc"), "");
  EXPECT_EQ(categoryId("5;-3"), "");
  EXPECT_EQ(categoryId("5;--0:x"), "");
  EXPECT_EQ(fileNumber(";-0-0:x"), "");
  EXPECT_EQ(displayName("5;-0-0:"), "");
  EXPECT_FALSE(isLinked("abc"));
  EXPECT_FALSE(hasOwnFile("abc"));
}

TEST(IndexLine, CategoryFilterNeedsTheIdBetweenDashes) {
  EXPECT_TRUE(shownByFilter("7;-3-0:x", "-0-3-7-"));
  EXPECT_TRUE(shownByFilter("7;-0-H1-0:x", "-0-"));
  EXPECT_FALSE(shownByFilter("7;-3-0:x", "-0-13-"));
  EXPECT_FALSE(shownByFilter("7;-3-0:x", "-0-"));
  EXPECT_FALSE(shownByFilter("7;-3-0:x", ""));
  EXPECT_TRUE(shownByFilter("7;-12-0:x", "-3-12-"));
}

TEST(IndexLine, RemovingTheHotKeyKeepsEverythingElse) {
  EXPECT_EQ(withoutHotKey("7;-3-H2-0:Recettes"), "7;-3-0:Recettes");
  EXPECT_EQ(withoutHotKey("12;-0-H10-1:Lien-H3:x"), "12;-0-1:Lien-H3:x");
  EXPECT_EQ(withoutHotKey("7;-3-0:Recettes"), "7;-3-0:Recettes");
  EXPECT_EQ(withoutHotKey("7;-3-0:Old-Hat-x"), "7;-3-0:Old-Hat-x");
  EXPECT_EQ(withoutHotKey(""), "");
  // Damaged lines the fuzzer found: the hot key is the third field, not the first "-H"; and a
  // third field that is no slot is no hot key to remove.
  EXPECT_EQ(withoutHotKey("7;-H1-H2-0:Recettes"), "7;-H1-0:Recettes");
  EXPECT_EQ(withoutHotKey("3--H\x12-1:Notes"), "3--H\x12-1:Notes");
  EXPECT_EQ(withoutHotKey("7;-3-H-0:x"), "7;-3-H-0:x");
}

TEST(IndexLine, BuiltLinesParseBack) {
  EXPECT_EQ(makeIndexLine("7", "3", 2, false, "Recettes"), "7;-3-H2-0:Recettes");
  EXPECT_EQ(makeIndexLine("7", "3", std::nullopt, true, "Recettes"), "7;-3-1:Recettes");
  const auto line = makeIndexLine("41", "0", 5, false, "a:b-c");
  EXPECT_EQ(fileNumber(line), "41");
  EXPECT_EQ(categoryId(line), "0");
  EXPECT_EQ(hotKeySlot(line), 5);
  EXPECT_EQ(displayName(line), "a:b-c");
  EXPECT_EQ(withoutHotKey(line), makeIndexLine("41", "0", std::nullopt, false, "a:b-c"));
}

TEST(IndexLine, OlderFormatIsRecognisedAndConverted) {
  EXPECT_TRUE(isOldFormat("3:0:Courses"));
  EXPECT_TRUE(isOldFormat("3:"));
  // The first: ":" must not be the first character.
  for (const char* line : {":0:Courses", "3;-0-0:Courses", "12", ""})
    EXPECT_FALSE(isOldFormat(line)) << line;
  EXPECT_EQ(convertOldLine("3:0:Courses"), "3;-0-0:Courses");
  EXPECT_EQ(convertOldLine("3:1:Liens: web"), "3;-0-1:Liens: web");
  EXPECT_EQ(convertOldLine("12"), "12");
  EXPECT_EQ(convertOldLine(""), "");
}

}  // namespace
}  // namespace qw::store
