#include "core/text/rich_text.h"

#include <gtest/gtest.h>

#include "core/text/plain_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/text_test_support.h"

namespace qw::text {
namespace {

CharFormat bold() {
  CharFormat f;
  f.bold = true;
  return f;
}

TEST(RichText, NormaliseMergesAndDropsRuns) {
  RichText t{{Paragraph{{text::Run{"a", {}}, text::Run{"", bold()}, text::Run{"b", {}},
                         text::Run{"c", bold()}, text::Run{"d", bold()}}}}};
  normalise(t);
  const RichText expected{{Paragraph{{text::Run{"ab", {}}, text::Run{"cd", bold()}}}}};
  EXPECT_EQ(t, expected);
  EXPECT_TRUE(isNormalised(t));
}

TEST(RichText, NormaliseSplitsParagraphsAtLineEnds) {
  RichText t{{Paragraph{{text::Run{"a\r\nb\rc", {}}, text::Run{"d\ne\r", bold()}}}, Paragraph{}}};
  normalise(t);
  ASSERT_EQ(t.paragraphs.size(), 6u);
  EXPECT_EQ(plainText(t, "|"), "a|b|cd|e||");
  EXPECT_EQ(t.paragraphs[2].runs.size(), 2u);
  EXPECT_EQ(t.paragraphs[2].runs[1].text, "d");
}

TEST(RichText, NormaliseCleansTextAndSizes) {
  CharFormat odd;
  odd.halfPoints = 0;
  odd.font = std::string("Ar\0ial\xFF", 7);
  CharFormat huge;
  huge.halfPoints = 100000;
  RichText t{{Paragraph{{text::Run{std::string("x\0y\xC3", 4), odd}, text::Run{"z", huge}}}}};
  normalise(t);
  ASSERT_EQ(t.paragraphs[0].runs.size(), 2u);
  EXPECT_EQ(t.paragraphs[0].runs[0].text, "xy\uFFFD");
  EXPECT_EQ(t.paragraphs[0].runs[0].format.halfPoints, kDefaultHalfPoints);
  EXPECT_EQ(t.paragraphs[0].runs[0].format.font, "Arial\uFFFD");
  EXPECT_EQ(t.paragraphs[0].runs[1].format.halfPoints, kMaxHalfPoints);
  EXPECT_EQ(clampHalfPoints(-3), kDefaultHalfPoints);
  EXPECT_EQ(clampHalfPoints(1), 1);
}

TEST(RichText, SymbolFontPrivateUseCharactersAreTheCharactersTheyStandFor) {
  // Such a character is the one the font draws there, which shows in any font.
  CharFormat symbol;
  symbol.font = "Symbol";
  const RichText raw{{Paragraph{{text::Run{"\uF0B7\t", symbol}, text::Run{"\uF0B7", {}},
                                 text::Run{"\uF061\uF07F", symbol}}}}};
  EXPECT_FALSE(isNormalised(raw));
  const RichText expected{{Paragraph{{text::Run{"•", {}}, text::Run{"\t", symbol},
                                      text::Run{"\uF0B7α", {}}, text::Run{"\uF07F", symbol}}}}};
  EXPECT_EQ(normalised(raw), expected);
  EXPECT_TRUE(isNormalised(expected));
  EXPECT_EQ(fromPlainText("\uF0B7 one\n\uF0B7", symbol),
            (RichText{{Paragraph{{text::Run{"•", {}}, text::Run{" one", symbol}}},
                       Paragraph{{text::Run{"•", {}}}}}}));
}

TEST(RichText, EmptyModelHasOneParagraph) {
  EXPECT_FALSE(isNormalised(RichText{}));
  EXPECT_EQ(normalised(RichText{}).paragraphs.size(), 1u);
  EXPECT_EQ(plainText(RichText{}), "");
}

TEST(RichText, NormaliseIsIdempotent) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    const RichText once = normalised(randomRawModel(seed));
    ASSERT_TRUE(isNormalised(once));
    ASSERT_EQ(normalised(once), once);
  }
}

TEST(RichText, FromPlainTextKeepsAFinalLineEnd) {
  const RichText t = fromPlainText("one\r\ntwo\n", bold());
  ASSERT_EQ(t.paragraphs.size(), 3u);
  EXPECT_EQ(t.paragraphs[1].runs[0], (text::Run{"two", bold()}));
  EXPECT_TRUE(t.paragraphs[2].runs.empty());
  EXPECT_EQ(plainText(t), "one\r\ntwo\r\n");
  EXPECT_EQ(plainText(fromPlainText("one")), "one");
}

TEST(RichText, FromPlainTextIsTheNormalisedSingleRun) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    const RichText raw = randomRawModel(seed);
    for (const Paragraph& p : raw.paragraphs) {
      for (const text::Run& run : p.runs) {
        const RichText single{{Paragraph{{run}}}};
        ASSERT_EQ(fromPlainText(run.text, run.format), normalised(single)) << seed;
      }
    }
  }
}

TEST(RichText, PlainTextBreaksLinesAtSeparators) {
  const RichText t{{Paragraph{{text::Run{"a\u2028b", {}}, text::Run{"\u2028", bold()}}},
                    Paragraph{{text::Run{"c\td", {}}}}}};
  EXPECT_EQ(plainText(t), "a\r\nb\r\n\r\nc\td");
  EXPECT_EQ(plainText(t, "\n"), "a\nb\n\nc\td");
}

TEST(PlainTextOfCard, PlainFilesDecodeLikeTheModel) {
  for (const std::string_view bytes :
       {std::string_view("caf\xE9\r\nx\ry\n"), std::string_view("\xEF\xBB\xBFz\xE2\x80\xA8\xC3"),
        std::string_view("a\0b\r\n\r\n", 7), std::string_view("")}) {
    EXPECT_EQ(plainTextOfCard(bytes), plainText(readRtf(bytes)));
  }
  EXPECT_EQ(plainTextOfCard("caf\xE9\nx"), "café\r\nx");
  EXPECT_EQ(plainTextOfCard(std::string_view("a\r\0\nb", 5)), "a\r\nb");
  EXPECT_EQ(decodePlainText("\xEF\xBB\xBF\xE2\x82\xAC"), "€");
  EXPECT_EQ(decodePlainText("\x80"), "€");
}

}  // namespace
}  // namespace qw::text
