#include "core/find/text_matcher.h"

#include <gtest/gtest.h>

#include "core/text/accent_folding.h"

namespace qw::find {
namespace {

std::vector<Occurrence> all(std::string_view needle, std::string_view text,
                            bool ignoreAccents = false) {
  TextMatcher matcher(needle, ignoreAccents);
  std::vector<Occurrence> found;
  matcher.forEach(text, [&](Occurrence hit) {
    found.push_back(hit);
    return true;
  });
  return found;
}

TEST(TextMatcher, OnlyAToZFoldCaseAndOverlappingHitsAreAllFound) {
  EXPECT_EQ(all("hello", "Hello hello HELLO"),
            (std::vector<Occurrence>{{0, 5}, {6, 11}, {12, 17}}));
  EXPECT_EQ(all("aa", "aaaa"), (std::vector<Occurrence>{{0, 2}, {1, 3}, {2, 4}}));
  // é (C3 A9) and É (C3 89) are letters of their own, and e does not find them.
  EXPECT_TRUE(all("\xC3\xA9", "\xC3\x89t\xC3\x89").empty());
  EXPECT_TRUE(all("e", "\xC3\xA9t\xC3\xA9").empty());
  EXPECT_EQ(all("\xC3\xA9t\xC3\xA9", "l'\xC3\xA9t\xC3\xA9"), (std::vector<Occurrence>{{2, 7}}));
  EXPECT_TRUE(all("", "text").empty());
  EXPECT_TRUE(all("x", "").empty());
}

TEST(TextMatcher, IgnoringAccentsFoldsLatinLettersBothWaysAndPassesOverMarks) {
  // "Été" holds É (2 bytes), t, é (2 bytes): the hits are bytes of the original text.
  const std::string ete = "\xC3\x89t\xC3\xA9";
  EXPECT_EQ(all("ete", "un " + ete, true), (std::vector<Occurrence>{{3, 8}}));
  EXPECT_EQ(all(ete, "un ETE", true), (std::vector<Occurrence>{{3, 6}}));
  // Decomposed: e then U+0301; the mark goes with the hit.
  EXPECT_EQ(all("cafe", "cafe\xCC\x81!", true), (std::vector<Occurrence>{{0, 6}}));
  EXPECT_EQ(all("e!", "cafe\xCC\x81!", true), (std::vector<Occurrence>{{3, 7}}));
  // Letters with a stroke, and those whose base is itself beyond ASCII.
  EXPECT_EQ(all("lodz",
                "\xC5\x81\xC3\xB3"
                "d\xC5\xBA",
                true),
            (std::vector<Occurrence>{{0, 7}}));
  EXPECT_EQ(text::foldAccent(U'\u01E2'), U'\u00C6');  // Ǣ → Æ, which stays
  EXPECT_EQ(all("\xC3\xA6", "\xC7\xA2", true), (std::vector<Occurrence>{}));  // case: Æ ≠ æ
  // Other scripts and signs are left alone.
  EXPECT_EQ(text::foldAccent(U'\u00D7'), U'\u00D7');  // ×
  EXPECT_EQ(text::foldAccent(U'\u0439'), U'\u0439');  // й
  EXPECT_EQ(all("aa",
                "\xC3\xA0"
                "a\xC3\xA2",
                true),
            (std::vector<Occurrence>{{0, 3}, {2, 5}}));
  // A needle of marks alone finds nothing rather than everything.
  EXPECT_TRUE(TextMatcher("\xCC\x81", true).findsNothing());
}

TEST(TextMatcher, StopsWhenTold) {
  TextMatcher matcher("a", false);
  int seen = 0;
  matcher.forEach("aaaa", [&](Occurrence) { return ++seen < 2; });
  EXPECT_EQ(seen, 2);
}

TEST(TextMatcher, AHitAcrossTheWindowOfALargeTextIsFound) {
  std::string text(200'000, 'x');
  text.replace(65'535, 4, "Tail");
  EXPECT_EQ(all("tail", text), (std::vector<Occurrence>{{65'535, 65'539}}));
  EXPECT_EQ(all("tail", text, true), (std::vector<Occurrence>{{65'535, 65'539}}));
}

}  // namespace
}  // namespace qw::find
