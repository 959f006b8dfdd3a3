#include "core/text/rtf_writer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/text/plain_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/text_test_support.h"

namespace qw::text {
namespace {

Run run(std::string text, CharFormat format) { return Run{std::move(text), std::move(format)}; }

CharFormat font(std::string name) {
  CharFormat f;
  f.font = std::move(name);
  return f;
}

bool isSevenBit(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

TEST(RtfWriter, CompactOutput) {
  CharFormat boldRed = font("Arial");
  boldRed.bold = true;
  boldRed.colour = Rgb{255, 0, 0};
  CharFormat mono = font("Courier New");
  mono.halfPoints = 20;
  mono.highlight = Rgb{255, 255, 0};
  RichText t;
  t.paragraphs = {
      Paragraph{{run("Hello ", font("Arial")), run("world", boldRed)}},
      Paragraph{{run("9 é€ Ж😊{\\}", mono)}},
      Paragraph{},
      Paragraph{{run("a\tb\u2028c", font("Arial"))}},
  };
  EXPECT_EQ(writeRtf(t),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
            "{\\f1\\fnil\\fcharset0 Courier New;}}\r\n"
            "{\\colortbl ;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}\r\n"
            "\\uc1\\pard\\plain Hello \\cf1\\b world\\par\r\n"
            "\\f1\\fs20\\cf0\\highlight2\\b0 9 \\'e9\\'80 \\u1046?\\u-10179?\\u-8694?\\{\\\\\\}"
            "\\par\r\n"
            "\\par\r\n"
            "\\f0\\fs24\\highlight0 a\\tab b\\line c\\par\r\n"
            "}\r\n");
}

TEST(RtfWriter, EmptyDocument) {
  const std::string rtf = writeRtf(RichText{});
  EXPECT_EQ(rtf,
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl}\r\n{\\colortbl ;}\r\n"
            "\\uc1\\pard\\plain\\par\r\n}\r\n");
  EXPECT_EQ(readRtf(rtf), normalised(RichText{}));
}

TEST(RtfWriter, DelimitsControlWordsOnlyWhereNeeded) {
  CharFormat bold;
  bold.bold = true;
  auto body = [](const RichText& t) {
    const std::string rtf = writeRtf(t);
    const auto start = rtf.find("\\plain");
    return rtf.substr(start, rtf.rfind("\\par") - start);
  };
  EXPECT_EQ(body(RichText{{Paragraph{{run("a", {}), run("-1x", bold)}}}}), "\\plain a\\b -1x");
  EXPECT_EQ(body(RichText{{Paragraph{{run("a", {}), run(" x", bold)}}}}), "\\plain a\\b  x");
  EXPECT_EQ(body(RichText{{Paragraph{{run("a", {}), run(".x", bold)}}}}), "\\plain a\\b.x");
  EXPECT_EQ(body(RichText{{Paragraph{{run("\t-", {})}}}}), "\\plain\\tab -");
}

TEST(RtfWriter, CharactersOutsideWindows1252) {
  RichText t{{Paragraph{{run("\u0081\u00A0\u0416\U0010FFFF\x01", {})}}}};
  const std::string rtf = writeRtf(t);
  EXPECT_NE(rtf.find("\\u129?\\'a0\\u1046?\\u-9217?\\u-8193?\\'01"), std::string::npos) << rtf;
  EXPECT_EQ(readRtf(rtf), t);
}

TEST(RtfWriter, FontNamesKeepEveryCharacter) {
  RichText t{{Paragraph{
      {run("x", font(" A;B{c}\\d\te ")), run("y", font("")), run("z", font("ＭＳ 明朝"))}}}};
  const std::string rtf = writeRtf(t);
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0  A\\'3bB\\{c\\}\\\\d\\'09e ;}"), std::string::npos)
      << rtf;
  EXPECT_NE(rtf.find("{\\f1\\fnil\\fcharset0 ;}"), std::string::npos) << rtf;
  EXPECT_EQ(readRtf(rtf), t);
}

TEST(RtfWriter, SymbolFontTextKeepsItsCharacters) {
  // The Symbol font named in a card shows its glyphs by character number, as Windows does: its
  // text is written as any other, and read back unchanged.
  const RichText t{{Paragraph{{run("ax\u2022\uF07F", font("Symbol")), run(" y", font("Arial"))}}}};
  const std::string rtf = writeRtf(t);
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0 Symbol;}"), std::string::npos) << rtf;
  EXPECT_EQ(readRtf(rtf), t);

  // A private-use character that stands for one of the font's is written as that character.
  const RichText privateUse{{Paragraph{{run("\uF0B7x", font("symbol"))}}}};
  EXPECT_EQ(writeRtf(privateUse), writeRtf(normalised(privateUse)));
  EXPECT_EQ(readRtf(writeRtf(privateUse)),
            (RichText{{Paragraph{{run("\u2022", {}), run("x", font("symbol"))}}}}));
}

TEST(RtfWriter, LastEmptyParagraphSurvives) {
  RichText t{{Paragraph{{run("abc", {})}}, Paragraph{}}};
  EXPECT_EQ(plainText(readRtf(writeRtf(t))), "abc\r\n");
  RichText lone{{Paragraph{}, Paragraph{}}};
  EXPECT_EQ(readRtf(writeRtf(lone)), lone);
}

// Every model comes back from its RTF as it went in, and its RTF is stable.
TEST(RtfWriterProperties, RoundTripOfRandomModels) {
  for (std::uint32_t seed = 1; seed <= 500; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const RichText model = randomModel(seed);
    const std::string rtf = writeRtf(model);
    ASSERT_TRUE(isSevenBit(rtf));
    ASSERT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    ASSERT_TRUE(rtf.ends_with("}\r\n"));
    const RichText back = readRtf(rtf);
    ASSERT_EQ(back, model) << rtf;
    ASSERT_EQ(writeRtf(back), rtf);
    ASSERT_EQ(plainTextOfCard(rtf), plainText(model));
  }
}

TEST(RtfWriterProperties, UnnormalisedModelsAreWrittenAsTheirCanonicalForm) {
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const RichText raw = randomRawModel(seed);
    const RichText canonical = normalised(raw);
    const std::string rtf = writeRtf(raw);
    ASSERT_EQ(rtf, writeRtf(canonical));
    ASSERT_EQ(readRtf(rtf), canonical);
  }
}

}  // namespace
}  // namespace qw::text
