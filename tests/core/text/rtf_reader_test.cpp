#include "core/text/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/plain_text.h"
#include "core/text/rtf_writer.h"
#include "core/text/text_test_support.h"

namespace qw::text {
namespace {

// The body of a minimal document.
RichText body(std::string_view rtf) { return readRtf("{\\rtf1\\ansi " + std::string(rtf) + "}"); }

std::string bodyText(std::string_view rtf) { return plainText(body(rtf), "\n"); }

// The plain text of a whole document.
std::string docText(std::string_view rtf) { return plainText(readRtf(rtf)); }

CharFormat firstFormat(std::string_view rtf) { return body(rtf).paragraphs[0].runs[0].format; }

// The font of each run of the first paragraph.
std::vector<std::string> fontsOf(const RichText& t) {
  std::vector<std::string> fonts;
  for (const Run& r : t.paragraphs[0].runs) fonts.push_back(r.format.font);
  return fonts;
}

// RichEdit ends its files with a NUL byte.
std::string withNul(std::string_view rtf) { return std::string(rtf) + '\0'; }

constexpr std::string_view kRedBlueTable =
    "{\\colortbl ;\\red255\\green0\\blue0; \\red0\\green0\\blue255;}";
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

TEST(RtfReader, UnicodeEscapesSkipTheirFallback) {
  EXPECT_EQ(bodyText("a\\u8364?b\\u-3913?c"), "a€b\uF0B7c");
  EXPECT_EQ(bodyText("{\\uc2\\u946xx}\\u946?z"), "ββz");  // \uc is restored with the group
  EXPECT_EQ(bodyText("\\uc1\\u8364\\'80x"), "€x");        // a \'hh is one fallback unit
  EXPECT_EQ(bodyText("\\uc2\\u8364\\'80\\'80x"), "€x");
  EXPECT_EQ(bodyText("\\uc1\\u8364\\foo x"), "€x");  // so is a control word
  EXPECT_EQ(bodyText("\\uc0\\u8364?"), "€?");
  EXPECT_EQ(bodyText("\\u8364 ?"), "€");  // the space is the delimiter
}

TEST(RtfReader, FallbackSkippingStopsAtAGroup) {
  const RichText t = body("\\uc3\\u8364{\\b y}");
  EXPECT_EQ(plainText(t), "€y");
  ASSERT_EQ(t.paragraphs[0].runs.size(), 2u);
  EXPECT_FALSE(t.paragraphs[0].runs[0].format.bold);
  EXPECT_EQ(t.paragraphs[0].runs[1].text, "y");
  EXPECT_TRUE(t.paragraphs[0].runs[1].format.bold);
  EXPECT_EQ(bodyText("\\uc3\\u8364}tail"), "€");
}

TEST(RtfReader, SurrogatePairsJoinAndLoneHalvesAreReplaced) {
  EXPECT_EQ(bodyText("\\u-10179?\\u-8694?"), "😊");
  EXPECT_EQ(bodyText("\\u55357?\\u56842?"), "😊");
  EXPECT_EQ(bodyText("a\\u-10179?b"), "a\uFFFDb");
  EXPECT_EQ(bodyText("a\\u-8694?b"), "a\uFFFDb");
  EXPECT_EQ(bodyText("\\u-10179?\\u-10179?\\u-8694?"), "\uFFFD😊");
  EXPECT_EQ(bodyText("x\\u-10179?"), "x\uFFFD");
  EXPECT_EQ(bodyText("\\u-10179?\\par y"), "\uFFFD\ny");
}

TEST(RtfReader, FontCharsetDecidesTheCodePage) {
  const RichText t = readRtf(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
      "{\\f1\\fnil\\fcharset204 Arial;}}\\f1\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\f0  \\'e9}");
  EXPECT_EQ(plainText(t), "Привет é");
}

TEST(RtfReader, AnsiCodePageAppliesWithoutFontCharset) {
  EXPECT_EQ(docText("{\\rtf1\\ansi\\ansicpg936 \\'c4\\'e3\\'ba\\'c3}"), "你好");
  EXPECT_EQ(docText("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Arial;}}\\'e4\\'e0}"), "да");
  // A double-byte pair whose trail byte is an ASCII character.
  EXPECT_EQ(docText("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}"
                    "\\'93\\'fa\\'96{\\'7b}"),
            "日\uFFFD{");
  EXPECT_EQ(docText("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}"
                    "\\'93\\'fa\\'96\\'7b}"),
            "日本");
  EXPECT_EQ(docText("{\\rtf1\\mac \\'8e}"), "é");
  EXPECT_EQ(docText("{\\rtf1\\ansi{\\fonttbl{\\f0\\cpg1253 Arial;}}\\'e1}"), "α");
}

TEST(RtfReader, SymbolMappingOnlyForSymbolFonts) {
  const std::string tables =
      "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset2 Symbol;}"
      "{\\f2\\fcharset2 Tahoma;}{\\f3\\fcharset2 Wingdings 2;}}";
  // The Symbol font draws known characters; other symbol fonts keep their private-use places.
  EXPECT_EQ(docText(tables + "\\f1\\'b7 a\\f2\\'e9\\f3\\'50}"), "• αé\uF050");
  // Its glyphs as private-use characters too, in the Symbol font only.
  EXPECT_EQ(docText(tables + "\\f1\\u-3913?\\u-3999?\\u-3969?\\f3\\u-3913?\\f0\\u-3913?}"),
            "•α\uF07F\uF0B7\uF0B7");
  // Read so, the text needs the font no more: it takes the document's default font.
  EXPECT_EQ(fontsOf(readRtf(tables + "\\f1 ab\\f3 c}")),
            (std::vector<std::string>{"Arial", "Wingdings 2"}));
  // A Symbol font without the symbol character set (this program's own files name it so)
  // keeps its bytes; its private-use characters still stand for the font's, in the default
  // font, or in none when that is the Symbol font itself.
  const RichText own = readRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Symbol;}}\\f0 a\\u-3999?\\'e9}");
  EXPECT_EQ(plainText(own), "aαé");
  EXPECT_EQ(fontsOf(own), (std::vector<std::string>{"Symbol", "", "Symbol"}));
}

TEST(RtfReader, RichEditBulletsShowAsBullets) {
  const std::string list =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
      "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n\\viewkind4\\uc1\\pard{\\pntext\\f1\\'B7\\tab}"
      "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}\\fi-720\\li720\\f0\\fs20 First\\par\r\n"
      "{\\pntext\\f1\\'B7\\tab}Second\\par\r\n\\pard Plain\\par\r\n}\r\n";
  const RichText t = readRtf(withNul(list));
  EXPECT_EQ(plainText(t, "|"), "•\tFirst|•\tSecond|Plain");
  EXPECT_EQ(plainTextOfCard(withNul(list)), "•\tFirst\r\n•\tSecond\r\nPlain");
  // The bullet of the first line is in the size the text had before the list's own.
  ASSERT_EQ(t.paragraphs[0].runs.size(), 2u);
  EXPECT_EQ(t.paragraphs[0].runs[0].format.halfPoints, kDefaultHalfPoints);
  ASSERT_EQ(t.paragraphs[1].runs.size(), 1u);
  EXPECT_EQ(t.paragraphs[1].runs[0].format.font, "Arial");
  // Saved and read again, the card is the same.
  EXPECT_EQ(readRtf(writeRtf(t)), t);
}

TEST(RtfReader, IgnorableAndUnknownDestinations) {
  EXPECT_EQ(bodyText("{\\*\\zzz {\\b x} y}visible{\\foo kept}"), "visiblekept");
  EXPECT_EQ(bodyText("a{\\info{\\title T}{\\author A}}b{\\stylesheet{\\s0 Normal;}}c"), "abc");
  EXPECT_EQ(bodyText("a{\\header head}{\\footerl foot}{\\pict 0a0b0c}b"), "ab");
  EXPECT_EQ(bodyText("a{\\object\\objemb{\\*\\objdata 0102}{\\result shown}}b"), "ashownb");
  EXPECT_EQ(bodyText("{\\*\\bkmkstart x}a{\\*\\bkmkend x}"), "a");
  EXPECT_EQ(bodyText("{\\pntext\\'b7\\tab}item"), "\u00B7\titem");
  // \* inside the text of a group is no destination mark.
  EXPECT_EQ(bodyText("{a\\*b}"), "ab");
}

TEST(RtfReader, BinaryDataIsSkippedExactly) {
  EXPECT_EQ(bodyText("a{\\pict\\bin6 }{\\\\x}}b"), "ab");
  EXPECT_EQ(bodyText("a\\bin3 xyzb"), "ab");
  EXPECT_EQ(docText("{\\rtf1 a\\bin99999999"), "a");
  EXPECT_EQ(docText("{\\rtf1 a\\bin99999999 xy"), "a");
  EXPECT_EQ(bodyText("\\u8364\\bin2 ??x"), "€x");  // \bin with its data is one fallback unit
  EXPECT_EQ(bodyText("a\\bin-5 b"), "ab");
}

TEST(RtfReader, CharacterToggles) {
  const RichText t = body("{\\b\\i\\ul A\\b0 B\\ulnone C\\i0\\ul D\\ul0 E\\strike F\\strike0 G}");
  ASSERT_EQ(plainText(t), "ABCDEFG");
  std::vector<std::string> styles;
  for (const text::Run& r : t.paragraphs[0].runs) {
    const CharFormat& f = r.format;
    styles.push_back(std::string(f.bold ? "b" : "") + (f.italic ? "i" : "") +
                     (f.underline ? "u" : "") + (f.strike ? "s" : ""));
  }
  EXPECT_EQ(styles, (std::vector<std::string>{"biu", "iu", "i", "u", "", "s", ""}));
  EXPECT_TRUE(firstFormat("\\b1 x").bold);
  EXPECT_TRUE(firstFormat("\\ulwave x").underline);
  EXPECT_TRUE(firstFormat("\\striked1 x").strike);
}

TEST(RtfReader, PlainResetsCharactersAndPardDoesNot) {
  const RichText t = readRtf("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 Courier;}{\\f1 Arial;}}" +
                             std::string(kRedBlueTable) +
                             "\\f0\\b\\i\\ul\\strike\\fs40\\cf1\\highlight2 x\\pard y\\plain z}");
  const auto& runs = t.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, "xy");
  const CharFormat& f = runs[0].format;
  EXPECT_TRUE(f.bold && f.italic && f.underline && f.strike);
  EXPECT_EQ(f.font, "Courier");
  EXPECT_EQ(f.halfPoints, 40);
  EXPECT_EQ(f.colour, kRed);
  EXPECT_EQ(f.highlight, kBlue);
  CharFormat plain;
  plain.font = "Arial";  // \plain returns to \deff
  EXPECT_EQ(runs[1].format, plain);
  EXPECT_EQ(runs[1].text, "z");
}

TEST(RtfReader, ColourTableIndexes) {
  const RichText t =
      body(std::string(kRedBlueTable) + "\\cf2 a\\cf99 b\\cf-5 c\\cf1 d\\cf0 e\\highlight1 f");
  const auto& runs = t.paragraphs[0].runs;
  ASSERT_EQ(plainText(t), "abcdef");
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].text, "abc");  // out-of-range and negative indexes change nothing
  EXPECT_EQ(runs[0].format.colour, kBlue);
  EXPECT_EQ(runs[1].text, "d");
  EXPECT_EQ(runs[1].format.colour, kRed);
  EXPECT_EQ(runs[2].text, "e");
  EXPECT_EQ(runs[2].format.colour, std::nullopt);
  EXPECT_EQ(runs[3].format.highlight, kRed);
}

TEST(RtfReader, ColourTableWithoutAutomaticEntry) {
  // Older RichEdit: entry 0 is a real colour, and text without \cf stays automatic.
  const RichText t =
      body("{\\colortbl\\red0\\green128\\blue0;\\red255\\green0\\blue0}a\\cf0 b\\cf1 c");
  const auto& runs = t.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].format.colour, std::nullopt);
  EXPECT_EQ(runs[1].format.colour, (Rgb{0, 128, 0}));
  EXPECT_EQ(runs[2].format.colour, kRed);  // the last entry may lack its ';'
}

TEST(RtfReader, FieldsShowTheirResult) {
  const RichText t = body(std::string(kRedBlueTable) +
                          "see {\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}"
                          "{\\fldrslt{\\ul\\cf1 link}}} now");
  EXPECT_EQ(plainText(t), "see link now");
  const text::Run& link = t.paragraphs[0].runs[1];
  EXPECT_EQ(link.text, "link");
  EXPECT_TRUE(link.format.underline);
  EXPECT_EQ(link.format.colour, kRed);
  EXPECT_EQ(bodyText("{\\field{\\fldinst PAGE}{\\fldrslt 3}}"), "3");
}

TEST(RtfReader, DocumentEndings) {
  EXPECT_EQ(docText(withNul("{\\rtf1 abc\\par\r\n}\r\n")), "abc");
  EXPECT_EQ(docText("{\\rtf1 abc}JUNK{\\b more}"), "abc");
  EXPECT_EQ(docText("{\\rtf1 abc\\par def"), "abc\r\ndef");
  EXPECT_EQ(docText("{\\rtf1 {\\b abc"), "abc");
  // An extra '}' closes the document where it stands, as RichEdit reads it.
  EXPECT_EQ(docText("{\\rtf1 {\\b abc}} tail}"), "abc");
  EXPECT_EQ(docText("{\\rtf1 abc\\par\\par}"), "abc\r\n");
  EXPECT_EQ(docText("{\\rtf1 \\par}"), "");
  EXPECT_EQ(readRtf("{\\rtf1}").paragraphs.size(), 1u);
}

TEST(RtfReader, DeepNestingRunsInLinearTime) {
  constexpr int kDepth = 100'000;
  std::string rtf = "{\\rtf1 a";
  rtf.append(kDepth, '{');
  rtf += "\\b deep";
  rtf.append(kDepth, '}');
  rtf += "b}";
  const RichText t = readRtf(rtf);
  EXPECT_EQ(plainText(t), "adeepb");
  EXPECT_TRUE(t.paragraphs[0].runs[1].format.bold);
  EXPECT_FALSE(t.paragraphs[0].runs.back().format.bold);

  std::string unclosed = "{\\rtf1 x";
  unclosed.append(kDepth, '{');
  EXPECT_EQ(docText(unclosed + "y"), "xy");
}

TEST(RtfReader, ManyBreaksRunInLinearTime) {
  constexpr int kCount = 200'000;
  std::string rtf = "{\\rtf1 ";
  for (int i = 0; i < kCount; ++i) rtf += "\\u8232?x\\par ";
  rtf += "}";
  const std::string text = plainTextOfCard(rtf);
  EXPECT_EQ(text.size(), kCount * 5u - 2);
  EXPECT_TRUE(text.starts_with("\r\nx\r\n\r\nx"));
  EXPECT_EQ(readRtf(rtf).paragraphs.size(), static_cast<std::size_t>(kCount));
}

TEST(RtfReader, OversizedParametersAndMalformedWords) {
  EXPECT_EQ(firstFormat("\\fs99999999999 x").halfPoints, kMaxHalfPoints);
  EXPECT_EQ(firstFormat("\\fs0 x").halfPoints, kDefaultHalfPoints);
  EXPECT_EQ(firstFormat("\\fs-4 x").halfPoints, kDefaultHalfPoints);
  EXPECT_EQ(firstFormat("\\fs21 x").halfPoints, 21);

  const RichText far = readRtf(
      "{\\rtf1{\\fonttbl{\\f2147483647 Far;}{\\f99999999999999999999999 Huge;}}"
      "\\f2147483647 a\\f99999999999999999999999 b\\f7 c}");
  EXPECT_EQ(fontsOf(far), (std::vector<std::string>{"Far", "Huge", ""}));

  EXPECT_EQ(bodyText("a\\" + std::string(40, 'b') + " c"), "ac");
  EXPECT_EQ(bodyText("a\\" + std::string(40, 'b') + "123 c"), "ac");
  EXPECT_EQ(bodyText("\\'g1"), "g1");
  EXPECT_EQ(bodyText("\\'4"), "4");
  EXPECT_EQ(bodyText("a\\u b"), "ab");
  EXPECT_EQ(bodyText("a\\u-b"), "a-b");
  EXPECT_EQ(docText("{\\rtf1 a\\'"), "a");
  EXPECT_EQ(docText("{\\rtf1 a\\'6"), "a6");
  EXPECT_EQ(docText("{\\rtf1 a\\"), "a");
  EXPECT_EQ(bodyText("\\pIct x"), "x");  // words are case-sensitive: no picture here
}

TEST(RtfReader, ControlSymbolsAndSpecialCharacters) {
  EXPECT_EQ(bodyText("a\\~b\\-c\\_d\\\\e\\{f\\}g"), "a\u00A0b\u00ADc\u2011d\\e{f}g");
  EXPECT_EQ(bodyText("\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\endash\\emdash"), "‘’“”•–—");
  EXPECT_EQ(bodyText("a\\tab b\\line c\\par d"), "a\tb\nc\nd");
  EXPECT_EQ(body("a\\line b").paragraphs[0].runs[0].text, "a\u2028b");
  EXPECT_EQ(bodyText("a\\\r\nb"), "a\nb");      // backslash before a line end is \par
  EXPECT_EQ(bodyText("a\r\nb\rc\nd"), "abcd");  // raw line ends are nothing
  EXPECT_EQ(bodyText("a\\sect b\\page c"), "a\nb\nc");
  EXPECT_EQ(bodyText("a\\'0d\\'0ab\\u13?c"), "abc");  // nor are escaped ones
  EXPECT_EQ(bodyText("a\\'00b\\u0?c"), "abc");
  EXPECT_EQ(bodyText("x\\cell y\\cell\\row z"), "x\ty\t\nz");
}

TEST(RtfReader, FontTableForms) {
  const RichText t = readRtf(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\froman Times;"
      "{\\f2\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New "
      "Roman;}{\\f3\\fnil\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}{\\f4 Liberation Sans"
      "{\\*\\falt Arial};}{\\f5 No Semicolon}}\\f1 a\\f2 b\\f3 c\\f4 d\\f5 e\\f0 f}");
  EXPECT_EQ(fontsOf(t), (std::vector<std::string>{"Times", "Times New Roman", "Ариал",
                                                  "Liberation Sans", "No Semicolon", "Helvetica"}));
}

TEST(RtfReader, RunsMergeWhenTheirFormatsResolveAlike) {
  const RichText t = readRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Arial;}}a\\f1 b{\\i0 c}\\b0 d}");
  ASSERT_EQ(t.paragraphs[0].runs.size(), 1u);
  EXPECT_EQ(t.paragraphs[0].runs[0].text, "abcd");
  EXPECT_TRUE(isNormalised(t));
}

TEST(RtfReader, NonRtfIsPlainText) {
  EXPECT_TRUE(looksLikeRtf("{\\rtf1}"));
  EXPECT_FALSE(looksLikeRtf(" {\\rtf1}"));
  EXPECT_FALSE(looksLikeRtf("{\\rt"));
  const RichText t = readRtf("line one\r\nd\xE9j\xE0\rthree\nfour\r\n");
  ASSERT_EQ(t.paragraphs.size(), 5u);
  EXPECT_EQ(t.paragraphs[1].runs[0].text, "déjà");
  EXPECT_TRUE(t.paragraphs[4].runs.empty());
  EXPECT_EQ(t.paragraphs[0].runs[0].format, CharFormat{});
  EXPECT_EQ(docText("\xEF\xBB\xBF"
                    "caf\xC3\xA9 \xE2\x82\xAC\n"),
            "café €\r\n");
  EXPECT_EQ(readRtf("").paragraphs.size(), 1u);
}

// Samples in the style of each writer, written for these tests.

TEST(RtfReaderDialects, RichEdit) {
  const RichText t = readRtf(withNul(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans "
      "Serif;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\cf1"
      "\\lang1036\\f0\\fs16 Bonjour \\ul\\b le\\ulnone\\b0  monde\\par\r\n}\r\n"));
  ASSERT_EQ(t.paragraphs.size(), 1u);
  const auto& runs = t.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, "Bonjour ");
  EXPECT_EQ(runs[1].text, "le");
  EXPECT_EQ(runs[2].text, " monde");
  CharFormat f;
  f.font = "MS Sans Serif";
  f.halfPoints = 16;
  f.colour = kRed;
  EXPECT_EQ(runs[0].format, f);
  EXPECT_EQ(runs[2].format, f);
  f.bold = f.underline = true;
  EXPECT_EQ(runs[1].format, f);
}

TEST(RtfReaderDialects, WordPad) {
  const RichText t = readRtf(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil"
      "\\fcharset0 Calibri;}{\\f1\\fnil\\fcharset204 Times New Roman;}}\r\n"
      "{\\colortbl ;\\red0\\green77\\blue187;}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
      "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Hello \\b bold\\b0  and "
      "\\i italic\\i0\\par\r\n"
      "\\cf1 Colour\\cf0  \\f1\\lang1049\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\f0\\lang9\\par\r\n"
      "\\u8364?uro \\u-10179?\\u-8694?\\tab end\\par\r\n}\r\n");
  EXPECT_EQ(plainText(t, "\n"), "Hello bold and italic\nColour Привет\n€uro 😊\tend");
  const auto& p1 = t.paragraphs[1].runs;
  ASSERT_EQ(p1.size(), 3u);
  EXPECT_EQ(p1[0].format.colour, (Rgb{0, 77, 187}));
  EXPECT_EQ(p1[2].format.font, "Times New Roman");
  EXPECT_EQ(p1[2].format.halfPoints, 22);
}

TEST(RtfReaderDialects, LibreOffice) {
  const RichText t = readRtf(
      "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
      "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2"
      "\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f3\\froman\\fprq2"
      "\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}{\\f4\\fswiss\\fprq2\\fcharset0 "
      "Liberation Sans{\\*\\falt Arial};}}\n"
      "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}\n"
      "{\\stylesheet{\\s0\\snext0\\dbch\\af5\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3"
      "\\fs24\\lang1033 Normal;}\n{\\*\\cs15\\snext15 Strong Emphasis;}\n}"
      "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}"
      "{\\info{\\creatim\\yr2024\\mo3\\dy5\\hr10\\min2}{\\revtim\\yr2024\\mo3\\dy5\\hr10\\min3}"
      "{\\printim\\yr0\\mo0\\dy0\\hr0\\min0}}{\\*\\userprops}\\deftab709\n"
      "\\hyphauto1\\viewscale100\n{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838"
      "\\pgdscnxt0 Default Page Style;}}\n"
      "\\formshade\\paperh16838\\paperw11906\\sectd\\sbknone\\pgndec\\sftnnar\\saftnnar\\cols1"
      "\\colsx709\\ftnbj\\ftnstart1\\ftnrstcont\\ftnnar\\aenddoc\\aftnrstcont\\aftnstart1"
      "\\aftnnrlc\n{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\rtlch\\af5\\afs24"
      "\\alang1081 \\ltrch\\lang1033\\langfe2052\\hich\\af3\\loch\\ql\\widctlpar\\hyphpar0"
      "\\ltrpar\\cf0\\f3\\fs24\\lang1033\\dbch\\af6\\langfe2052{\\rtlch \\ltrch\\loch\n"
      "Plain }{\\b\\rtlch\\ab \\ltrch\\loch\nbold}{\\rtlch \\ltrch\\loch\n and }"
      "{\\cf2\\rtlch \\ltrch\\loch\nred}{\\highlight3\\rtlch \\ltrch\\loch\n marked}\n"
      "\\par \\pard\\plain \\s0\\rtlch\\af5\\afs24\\alang1081 \\ltrch\\lang1033\\langfe2052"
      "\\hich\\af3\\loch\\ql\\widctlpar\\hyphpar0\\ltrpar\\cf0\\f4\\fs28\\lang1033{\\rtlch "
      "\\ltrch\\loch\nSecond line with \\'e9t\\'e9}\n\\par }");
  ASSERT_EQ(plainText(t, "\n"), "Plain bold and red marked\nSecond line with été");
  const auto& p0 = t.paragraphs[0].runs;
  ASSERT_EQ(p0.size(), 5u);
  EXPECT_EQ(p0[0].format.font, "Liberation Serif");
  EXPECT_TRUE(p0[1].format.bold);
  EXPECT_EQ(p0[3].text, "red");
  EXPECT_EQ(p0[3].format.colour, kRed);
  EXPECT_EQ(p0[4].format.highlight, (Rgb{255, 255, 0}));
  const text::Run& second = t.paragraphs[1].runs[0];
  EXPECT_EQ(second.format.font, "Liberation Sans");
  EXPECT_EQ(second.format.halfPoints, 28);
}

TEST(RtfReaderDialects, Word) {
  const RichText t = readRtf(
      "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505"
      "\\stshfloch31506\\stshfhich31506\\stshfbi31507\\deflang1033\\deflangfe1033{\\fonttbl"
      "{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
      "{\\f34\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02040503050406030204}Cambria Math;}\r\n"
      "{\\f37\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020f0502020204030204}Calibri;}"
      "{\\flomajor\\f31500\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}"
      "Times New Roman;}\r\n{\\f39\\fbidi \\froman\\fcharset238\\fprq2 Times New Roman CE;}}"
      "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;}"
      "{\\*\\defchp \\f31506\\fs22 }{\\*\\defpap \\ql \\li0\\ri0\\sa160\\sl259\\slmult1\r\n"
      "\\widctlpar\\wrapdefault\\aspalpha\\aspnum\\faauto\\adjustright\\rin0\\lin0\\itap0 }"
      "\\noqfpromote {\\stylesheet{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\rtlch\\fcs1 "
      "\\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \r\n\\f31506\\fs22\\lang1033\\langfe1033\\cgrid "
      "\\snext0 \\sqformat \\spriority0 Normal;}{\\*\\cs10 \\additive \\ssemihidden Default "
      "Paragraph Font;}}\r\n{\\*\\rsidtbl \\rsid1312351\\rsid6190245}{\\mmathPr\\mmathFont34"
      "\\mbrkBin0\\mbrkBinSub0\\msmallFrac0\\mdispDef1\\mlMargin0\\mrMargin0}{\\info{\\author "
      "Jane}{\\operator Jane}{\\creatim\\yr2024\\mo3\\dy5\\hr10\\min4}{\\version2}{\\edmins1}"
      "{\\nofpages1}{\\vern91}}{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/"
      "word/2003/wordml}}\r\n\\paperw12240\\paperh15840\\margl1440\\margr1440\\gutter0\\ltrsect "
      "\r\n{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\r\n"
      "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\rtlch\\fcs1 "
      "\\af31507\\afs22\\alang1025 \\ltrch\\fcs0 \\f37\\fs22\\lang1033\\langfe1033\\cgrid "
      "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\b\\insrsid6190245 Word}{\\rtlch\\fcs1 \\af31507 "
      "\\ltrch\\fcs0 \\insrsid6190245  text with a }{\\field\\flddirty{\\*\\fldinst {\\rtlch"
      "\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid6190245  HYPERLINK \"https://example.org\" }}"
      "{\\fldrslt {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\cs15\\ul\\cf2\\insrsid6190245 link}}}"
      "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid6190245 \\'93quoted\\'94 \\u8364\\'80}"
      "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid1312351 \r\n\\par }"
      "{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f}\r\n"
      "{\\*\\colorschememapping 3c3f786d6c2076657273696f6e3d22312e302220656e636f64696e67}\r\n"
      "{\\*\\latentstyles\\lsdstimax376\\lsdlockeddef0{\\lsdlockedexcept \\lsdqformat1 "
      "\\lsdpriority0 \\lsdlocked0 Normal;}}\r\n"
      "{\\*\\datastore 0105000002000000180000004d73786d6c322e534158584d4c}}\r\n");
  ASSERT_EQ(plainText(t), "Word text with a link“quoted” €");
  const auto& runs = t.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_TRUE(runs[0].format.bold);
  EXPECT_EQ(runs[0].format.font, "Calibri");
  EXPECT_EQ(runs[0].format.halfPoints, 22);
  EXPECT_EQ(runs[2].text, "link");
  EXPECT_TRUE(runs[2].format.underline);
  EXPECT_EQ(runs[2].format.colour, kBlue);
}

TEST(RtfReaderDialects, Pandoc) {
  const RichText t = readRtf(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 \\fswiss Helvetica;}{\\f1 Courier;}}\n"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n"
      "\\widowctrl\\hyphauto\n\n"
      "{\\pard \\qc \\f0 \\sa180 \\li0 \\fi0 \\b \\fs36 Title\\par}\n"
      "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 Some {\\i emphasis} and {\\b strong} text with "
      "{\\f1 code}.\\par}\n"
      "{\\pard \\ql \\f0 \\sa0 \\li360 \\fi-360 \\bullet \\tx360\\tab One\\par}\n"
      "{\\pard \\ql \\f0 \\sa0 \\li360 \\fi-360 \\bullet \\tx360\\tab Two\\sa180\\par}\n"
      "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 Unicode: \\u955?\\u8594? end\\par}\n\n}\n");
  EXPECT_EQ(plainText(t, "\n"),
            "Title\nSome emphasis and strong text with code.\n•\tOne\n•\tTwo\nUnicode: λ→ end");
  const text::Run& title = t.paragraphs[0].runs[0];
  EXPECT_TRUE(title.format.bold);
  EXPECT_EQ(title.format.halfPoints, 36);
  EXPECT_EQ(title.format.font, "Helvetica");
  EXPECT_EQ(t.paragraphs[1].runs[5].text, "code");
  EXPECT_EQ(t.paragraphs[1].runs[5].format.font, "Courier");
  EXPECT_FALSE(t.paragraphs[1].runs[0].format.bold);
}

// Whatever the bytes, the reader ends with a normalised model whose plain text is what the
// fast plain-text path gives, and which the writer stores faithfully.
TEST(RtfReaderRobustness, RandomInputKeepsTheInvariants) {
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    const std::string input = randomRtfSoup(seed, 1 + seed % 300);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const RichText t = readRtf(input);
    ASSERT_TRUE(isNormalised(t));
    ASSERT_EQ(plainText(t), plainTextOfCard(input));
    ASSERT_EQ(readRtf(writeRtf(t)), t);
  }
}

TEST(RtfReaderRobustness, RandomBytes) {
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    const std::string input = "{\\rtf1" + randomBytes(seed, 1 + seed * 7 % 500);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const RichText t = readRtf(input);
    ASSERT_TRUE(isNormalised(t));
    ASSERT_EQ(plainText(t), plainTextOfCard(input));
  }
}

// A big card is shown from the beginning of its reading: the same first paragraphs the whole
// reading gives, and no claim to be whole while paragraphs are left.
TEST(RtfReaderRobustness, TheBeginningIsTheFirstParagraphsOfTheWhole) {
  auto check = [](const std::string& input) {
    const RichText all = readRtf(input);
    for (std::size_t n : {1, 2, 5}) {
      SCOPED_TRACE(testing::Message() << n << " paragraphs");
      const RichTextBeginning beginning = readRtfBeginning(input, n);
      const std::size_t shown = std::min(n, all.paragraphs.size());
      ASSERT_EQ(beginning.text.paragraphs,
                std::vector<Paragraph>(all.paragraphs.begin(), all.paragraphs.begin() + shown));
      if (all.paragraphs.size() > n) {
        ASSERT_FALSE(beginning.whole);
      }
      if (beginning.whole) {
        ASSERT_EQ(beginning.text, all);
      }
    }
  };
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    check(randomRtfSoup(seed, 1 + seed % 300));
  }
  check("one\r\ntwo\r\nthree");  // a plain-text card
  check("{\\rtf1 {\\b one\\par two\\par three}\\par}");
}

TEST(RtfReader, FontNamesComeFromTheTableAlone) {
  EXPECT_EQ(readRtfFontNames("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier New;}"
                             "{\\f2 Arial;}}\\f1 text}"),
            (std::vector<std::string>{"Arial", "Courier New"}));
  // The beginning of a file cut inside its table gives the names read so far.
  const auto cut = readRtfFontNames("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Cour");
  ASSERT_FALSE(cut.empty());
  EXPECT_EQ(cut.front(), "Arial");
  EXPECT_TRUE(readRtfFontNames("Arial; plain text").empty());
  EXPECT_TRUE(readRtfFontNames("{\\rtf1 no table}").empty());
}

}  // namespace
}  // namespace qw::text
