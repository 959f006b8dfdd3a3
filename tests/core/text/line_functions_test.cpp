#include "core/text/line_functions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <string>
#include <vector>

namespace qw::text {
namespace {

using Lines = std::vector<std::string>;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

int caseInsensitive(const std::string& a, const std::string& b) {
  std::string x = a;
  std::string y = b;
  for (std::string* s : {&x, &y})
    for (char& c : *s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return x.compare(y);
}

TEST(NumericKey, ReadsTheNumberAtTheStartOfALine) {
  const struct {
    const char* line;
    std::int32_t key;
  } cases[] = {
      {"10", 10},   {"9", 9},         {"100", 100},    {"abc", 0},        {"", 0},    {"-5", -5},
      {"+7", 7},    {"-5 apples", 5}, {"3 pears", 3},  {"12abc", 12},     {"1.5", 1}, {"$10", 16},
      {"0x1F", 31}, {"0X1f", 31},     {"x1f", 31},     {"X1F", 31},       {"$1G", 1}, {"05", 5},
      {"0y", 0},    {"   42", 42},    {"   -42", -42}, {"\t42", 0},       {"-", 0},   {"$", 0},
      {"0x", 0},    {"-$5", 0},       {"- 5", 0},      {"$ff tail", 255},
  };
  for (const auto& c : cases) EXPECT_EQ(numericKey(c.line), c.key) << '"' << c.line << '"';
}

TEST(NumericKey, ClampsNumbersBeyond32Bits) {
  EXPECT_EQ(numericKey("2147483647"), INT32_MAX);
  EXPECT_EQ(numericKey("-2147483648"), INT32_MIN);
  EXPECT_EQ(numericKey("2147483648"), INT32_MAX);
  EXPECT_EQ(numericKey("-2147483649"), INT32_MIN);
  EXPECT_EQ(numericKey("99999999999999999999999999999999"), INT32_MAX);
  EXPECT_EQ(numericKey("-99999999999999999999999999999999"), INT32_MIN);
  EXPECT_EQ(numericKey("$FFFFFFFFFFFFFFFFFFFF"), INT32_MAX);
  // Without its sign a long partial number is a large magnitude.
  EXPECT_EQ(numericKey("-99999999999999999999 items"), INT32_MAX);
}

TEST(SortLines, TextSortsFollowTheCollation) {
  EXPECT_THAT(sortLinesText({"banana", "Apple", "cherry"}, caseInsensitive, false),
              ElementsAre("Apple", "banana", "cherry"));
  EXPECT_THAT(sortLinesText({"banana", "Apple", "cherry"}, caseInsensitive, true),
              ElementsAre("cherry", "banana", "Apple"));
  // Byte order would put the capitals first.
  EXPECT_THAT(sortLinesText({"beta", "Gamma", "alpha", "Delta"}, caseInsensitive, false),
              ElementsAre("alpha", "beta", "Delta", "Gamma"));
}

TEST(SortLines, NumericSortsOrderByKey) {
  EXPECT_THAT(sortLinesNumeric({"10", "9", "100", "abc", "-5"}, false),
              ElementsAre("-5", "abc", "9", "10", "100"));
  EXPECT_THAT(sortLinesNumeric({"10", "9", "100", "abc", "-5"}, true),
              ElementsAre("100", "10", "9", "abc", "-5"));
  EXPECT_THAT(sortLinesNumeric({"-5 apples", "3 pears"}, false),
              ElementsAre("3 pears", "-5 apples"));
  EXPECT_THAT(sortLinesNumeric({"$10", "12"}, false), ElementsAre("12", "$10"));
  EXPECT_THAT(sortLinesNumeric({"$10", "12"}, true), ElementsAre("$10", "12"));
}

TEST(SortLines, EqualKeysKeepEveryLine) {
  const Lines sorted = sortLinesNumeric({"b", "7", "a", "", "c"}, false);
  ASSERT_EQ(sorted.size(), 5u);
  EXPECT_THAT(Lines(sorted.begin(), sorted.end() - 1), UnorderedElementsAre("a", "b", "c", ""));
  EXPECT_EQ(sorted.back(), "7");
  EXPECT_THAT(sortLinesText({"B", "a", "b", "A"}, caseInsensitive, true),
              UnorderedElementsAre("A", "a", "B", "b"));
}

TEST(SortLines, FewerThanTwoLines) {
  EXPECT_TRUE(sortLinesText({}, caseInsensitive, false).empty());
  EXPECT_TRUE(sortLinesNumeric({}, true).empty());
  EXPECT_THAT(sortLinesText({"only"}, caseInsensitive, true), ElementsAre("only"));
  EXPECT_THAT(sortLinesNumeric({"only"}, false), ElementsAre("only"));
}

TEST(EmptyLines, EveryEmptyLineButTheLast) {
  EXPECT_THAT(emptyLinesToRemove({"a", "", "", "b"}), ElementsAre(1, 2));
  EXPECT_THAT(emptyLinesToRemove({"a", ""}), ElementsAre());
  EXPECT_THAT(emptyLinesToRemove({"", "", ""}), ElementsAre(0, 1));
  EXPECT_THAT(emptyLinesToRemove({"", "a", " ", "", "b", ""}), ElementsAre(0, 3));
  EXPECT_THAT(emptyLinesToRemove({""}), ElementsAre());
  EXPECT_THAT(emptyLinesToRemove({}), ElementsAre());
}

TEST(LeadingSpaces, CountsOnlySpaces) {
  EXPECT_EQ(leadingSpaces("   x"), 3);
  EXPECT_EQ(leadingSpaces("\tx"), 0);
  EXPECT_EQ(leadingSpaces(" \t x"), 1);
  EXPECT_EQ(leadingSpaces("  "), 2);
  EXPECT_EQ(leadingSpaces(""), 0);
  EXPECT_EQ(leadingSpaces("\xC2\xA0x"), 0);  // a no-break space is not a space here
}

}  // namespace
}  // namespace qw::text
