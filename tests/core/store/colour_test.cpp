#include "core/store/colour.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace qw::store {
namespace {

// Every name the settings may hold, with its value (system colours carry the Windows palette
// index in their low byte).
const std::vector<std::pair<std::string, std::uint32_t>> kExpectedNames = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", 0xFF000000},
    {"clBackground", 0xFF000001},
    {"clActiveCaption", 0xFF000002},
    {"clInactiveCaption", 0xFF000003},
    {"clMenu", 0xFF000004},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clMenuText", 0xFF000007},
    {"clWindowText", 0xFF000008},
    {"clCaptionText", 0xFF000009},
    {"clActiveBorder", 0xFF00000A},
    {"clInactiveBorder", 0xFF00000B},
    {"clAppWorkSpace", 0xFF00000C},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clBtnFace", 0xFF00000F},
    {"clBtnShadow", 0xFF000010},
    {"clGrayText", 0xFF000011},
    {"clBtnText", 0xFF000012},
    {"clInactiveCaptionText", 0xFF000013},
    {"clBtnHighlight", 0xFF000014},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clInfoText", 0xFF000017},
    {"clInfoBk", 0xFF000018},
    {"clHotLight", 0xFF00001A},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuBar", 0xFF00001E},
};

TEST(Colour, EveryNameReadsAndWritesBack) {
  for (const auto& [name, value] : kExpectedNames) {
    EXPECT_EQ(parseColour(name), value) << name;
    EXPECT_EQ(colourText(value), name) << name;
  }
}

TEST(Colour, DollarFormIsBlueGreenRed) {
  EXPECT_EQ(parseColour("$00A67467"), 0x00A67467u);
  EXPECT_EQ(colourText(0x00A67467), "$00A67467");
  EXPECT_EQ(rgbOf(0x00A67467), (Rgb{0x67, 0x74, 0xA6}));
  EXPECT_EQ(colourOf(Rgb{0x67, 0x74, 0xA6}), 0x00A67467u);
  EXPECT_EQ(colourText(0x0000000A), "$0000000A");  // always eight upper-case digits
  EXPECT_EQ(parseColour("$a"), 0x0Au);
  EXPECT_EQ(parseColour("$00b78578"), 0x00B78578u);
  EXPECT_EQ(parseColour("$FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(parseColour("$0000FFFF"), parseColour("clYellow"));
}

TEST(Colour, DecimalIsA32BitInteger) {
  EXPECT_EQ(parseColour("65535"), 0x0000FFFFu);
  EXPECT_EQ(parseColour("0"), 0u);
  EXPECT_EQ(parseColour("4294967295"), 0xFFFFFFFFu);
  EXPECT_EQ(parseColour("-16777201"), 0xFF00000Fu);  // clBtnFace as a signed number
  EXPECT_EQ(parseColour("-2147483648"), 0x80000000u);
  EXPECT_EQ(parseColour("+12"), 12u);
}

TEST(Colour, GarbageIsRefused) {
  for (const std::string& text : std::vector<std::string>{"",
                                                          "$",
                                                          "$123456789",
                                                          "$0x12",
                                                          "$-1",
                                                          "$+1",
                                                          "$ 1",
                                                          "$1G",
                                                          "clyellow",
                                                          "yellow",
                                                          " clYellow",
                                                          "clYellow ",
                                                          "12a",
                                                          "1 ",
                                                          " 1",
                                                          "--1",
                                                          "+-1",
                                                          "-",
                                                          "+",
                                                          "4294967296",
                                                          "-2147483649",
                                                          "99999999999999999999999",
                                                          "1.5",
                                                          std::string("1\0", 2)}) {
    EXPECT_EQ(parseColour(text), std::nullopt) << text;
  }
}

TEST(Colour, RandomValuesRoundTrip) {
  std::mt19937 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    const std::uint32_t value = random();
    const auto text = colourText(value);
    EXPECT_EQ(parseColour(text), value) << text;
    if (text.starts_with('$')) {
      EXPECT_EQ(text.size(), 9u);
      EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF", 1), std::string::npos) << text;
    }
    const auto rgb = rgbOf(value & 0x00FFFFFF);
    ASSERT_TRUE(rgb);
    EXPECT_EQ(colourOf(*rgb), value & 0x00FFFFFF);
  }
}

TEST(Colour, OnlyThePaletteResolvesSystemColours) {
  for (const std::uint32_t value : {0xFF00000Fu, 0xFF000000u, kColourNone, kColourDefault})
    EXPECT_EQ(rgbOf(value), std::nullopt) << std::hex << value;
  EXPECT_EQ(rgbOf(0x000000FF), (Rgb{0xFF, 0, 0}));
  EXPECT_EQ(rgbOf(0x00FFFFFF), (Rgb{0xFF, 0xFF, 0xFF}));
}

}  // namespace
}  // namespace qw::store
