#include "core/text/text_search.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace qw::text {
namespace {

// Every hit, each search starting one character after the previous hit as the search field does.
std::vector<std::int64_t> allHits(std::string_view text, std::string_view needle) {
  std::vector<std::int64_t> hits;
  std::int64_t from = 0;
  while (const auto hit = findText(text, needle, from)) {
    hits.push_back(*hit);
    from = *hit + 1;
  }
  return hits;
}

TEST(FindText, StepsThroughHitsIgnoringAsciiCase) {
  const struct {
    const char* text;
    const char* needle;
    std::vector<std::int64_t> hits;
  } cases[] = {
      {"Hello hello HELLO", "hello", {0, 6, 12}},
      {"Hello hello HELLO", "HeLLo", {0, 6, 12}},
      {"aaaa", "aa", {0, 1, 2}},
      {"hello world", "WORLD", {6}},
      {"abc", "abcd", {}},
      {"", "a", {}},
      {"a\r\nB a\r\nb", "A\r\nb", {0, 5}},
      // Only A to Z fold: accented letters match themselves alone.
      {"\xC3\x89t\xC3\xA9", "\xC3\xA9", {2}},           // ÉtÉ: é finds only é
      {"\xC3\xA9t\xC3\xA9", "e", {}},                   // a plain e is not é
      {"\xC3\x89T\xC3\x89", "\xC3\x89t\xC3\x89", {0}},  // É matches É, T folds
      {"\xCE\xA3\xCF\x83", "\xCF\x83", {1}},            // Σσ: σ only
  };
  for (const auto& c : cases)
    EXPECT_EQ(allHits(c.text, c.needle), c.hits) << c.text << " / " << c.needle;
}

TEST(FindText, PositionsCountCodePointsAndBothHalvesOfABreak) {
  // été CR LF "x " ÉTÉ 😊 " " Abc: 3 + 2 + 2 + 3 + 1 + 1 characters before Abc.
  const std::string text = "\xC3\xA9t\xC3\xA9\r\nx \xC3\x89T\xC3\x89\xF0\x9F\x98\x8A Abc";
  EXPECT_EQ(findText(text, "abc", 0), 12);
  EXPECT_EQ(findText(text, "abc", 12), 12);
  EXPECT_EQ(findText(text, "abc", 13), std::nullopt);
  EXPECT_EQ(findText(text, "\nx", 0), 4);
  EXPECT_EQ(findText("\xF0\x9F\x98\x8A"
                     "a\xF0\x9F\x98\x8A"
                     "a",
                     "a", 2),
            3);
}

TEST(FindText, StartOutsideTheText) {
  EXPECT_EQ(findText("abc", "c", 3), std::nullopt);
  EXPECT_EQ(findText("abc", "c", 99), std::nullopt);
  EXPECT_EQ(findText("abc", "a", -5), 0);
  EXPECT_EQ(findText("abc", "", 0), std::nullopt);
}

TEST(FindText, HitsAcrossLongTexts) {
  // Long texts are searched in pieces; a hit may straddle any boundary between them.
  for (const std::size_t before : {65530u, 65535u, 65536u, 131070u, 200000u}) {
    std::string text(before, 'x');
    text += "NeedLe tail";
    EXPECT_EQ(findText(text, "needle", 0), static_cast<std::int64_t>(before)) << before;
    EXPECT_EQ(findText(text, "needle", static_cast<std::int64_t>(before) + 1), std::nullopt);
  }
  // Multi-byte characters before the hit, spread over several pieces.
  std::string text;
  for (int i = 0; i < 50000; ++i) text += "\xC3\xA9\xE2\x82\xAC";  // é€, 5 bytes, 2 characters
  text += "end";
  EXPECT_EQ(findText(text, "END", 0), 100000);
  EXPECT_EQ(findText(text, "END", 99999), 100000);
}

}  // namespace
}  // namespace qw::text
