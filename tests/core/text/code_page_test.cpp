#include "core/text/code_page.h"

#include <gtest/gtest.h>

namespace qw::text {

TEST(CodePage, Windows1252RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const auto utf8 = decodeWindows1252(all);
  EXPECT_EQ(encodeWindows1252(utf8), all);
}

TEST(CodePage, Windows1252KnownCharacters) {
  EXPECT_EQ(decodeWindows1252("Fran\xE7" "ais"), "Français");
  EXPECT_EQ(decodeWindows1252("\x80\x9C"), "€œ");
  EXPECT_EQ(encodeWindows1252("Français €"), std::string("Fran\xE7" "ais \x80"));
}

TEST(CodePage, Windows1252RefusesWhatItCannotHold) {
  EXPECT_FALSE(encodeWindows1252("Привет"));
  EXPECT_FALSE(encodeWindows1252("😊"));
  EXPECT_FALSE(encodeWindows1252("\xC3"));          // truncated sequence
  EXPECT_FALSE(encodeWindows1252("\xC0\xA9"));      // overlong
  EXPECT_FALSE(encodeWindows1252("\xED\xA0\x80"));  // surrogate
}

TEST(CodePage, AppendUtf8ReplacesInvalidCodePoints) {
  std::string s;
  appendUtf8(s, 0xD800);
  appendUtf8(s, 0x110000);
  appendUtf8(s, 0x1F60A);
  EXPECT_EQ(s, "\uFFFD\uFFFD😊");
}

}  // namespace qw::text
