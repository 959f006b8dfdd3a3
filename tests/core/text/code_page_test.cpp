#include "core/text/code_page.h"

#include <gtest/gtest.h>

#include <utility>

namespace qw::text {

TEST(CodePage, Windows1252RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const auto utf8 = decodeWindows1252(all);
  EXPECT_EQ(encodeWindows1252(utf8), all);
}

TEST(CodePage, Windows1252KnownCharacters) {
  EXPECT_EQ(decodeWindows1252("Fran\xE7"
                              "ais"),
            "Français");
  EXPECT_EQ(decodeWindows1252("\x80\x9C"), "€œ");
  EXPECT_EQ(encodeWindows1252("Français €"), std::string("Fran\xE7"
                                                         "ais \x80"));
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

TEST(CodePage, SingleByteCodePages) {
  EXPECT_EQ(decodeCodePage("\xcf\xf0\xe8\xe2\xe5\xf2", 1251), "Привет");
  EXPECT_EQ(decodeCodePage("\xe1\xe2\xe3", 1253), "αβγ");
  EXPECT_EQ(decodeCodePage("\xa1\xd2", 874), "กา");
  EXPECT_EQ(decodeCodePage("\xb9\xe6", 1250), "ąć");
  EXPECT_EQ(decodeCodePage("\xf9\xe0", 1255), "שא");
  EXPECT_EQ(decodeCodePage("\xc7\xe1", 1256), "ال");
  EXPECT_EQ(decodeCodePage("\xf0\xfe", 1254), "ğş");
  EXPECT_EQ(decodeCodePage("\xe0\xf8", 1257), "ąų");
  EXPECT_EQ(decodeCodePage("\xd0\xf5", 1258), "Đơ");
  EXPECT_EQ(decodeCodePage("\x8e\xa5", 10000), "é•");
  EXPECT_EQ(decodeCodePage("\xc9\xcd\xbb", 437), "╔═╗");
  EXPECT_EQ(decodeCodePage("\x82\x9b", 850), "éø");
  EXPECT_EQ(decodeCodePage("plain ASCII", 1253), "plain ASCII");
  // Holes of a code page are U+FFFD; an unknown code page reads as 1252.
  EXPECT_EQ(decodeCodePage("\x98", 1251), "\uFFFD");
  EXPECT_EQ(decodeCodePage("\x80\xe9", 12345), "€é");
  EXPECT_EQ(decodeCodePage("\x80\xe9", 1252), "€é");
}

TEST(CodePage, DoubleByteCodePages) {
  EXPECT_EQ(decodeCodePage("\xc4\xe3\xba\xc3", 936), "你好");
  EXPECT_EQ(decodeCodePage("\x93\xfa\x96\x7b\xb1", 932), "日本ｱ");  // trail 0x7B is '{'
  EXPECT_EQ(decodeCodePage("\xc7\xd1\xb1\xdb", 949), "한글");
  EXPECT_EQ(decodeCodePage("\xa4\xa4\xa4\xe5", 950), "中文");
  EXPECT_EQ(decodeCodePage("a\x80z", 936), "a€z");
  // A lead byte at the end, or before a byte that cannot follow it.
  EXPECT_EQ(decodeCodePage("x\xc4", 936), "x\uFFFD");
  EXPECT_EQ(decodeCodePage("\xc4\x0a"
                           "b",
                           936),
            "\uFFFD\nb");
  EXPECT_EQ(decodeCodePage("\x81\x7f", 949), "\uFFFD");  // in range, but unassigned
}

TEST(CodePage, SymbolAndUtf8) {
  EXPECT_EQ(decodeCodePage("\xb7"
                           "a\x01",
                           kSymbolCodePage),
            "\uF0B7\uF061\x01");
  EXPECT_EQ(decodeCodePage("\xe2\x82\xac\xff", kUtf8CodePage), "€\uFFFD");
}

TEST(CodePage, CharsetNumbers) {
  const std::pair<int, int> cases[] = {{0, 1252},  {1, 0},     {2, kSymbolCodePage}, {77, 10000},
                                       {128, 932}, {134, 936}, {204, 1251},          {238, 1250},
                                       {99, 0},    {-1, 0}};
  for (const auto& [charset, codePage] : cases)
    EXPECT_EQ(codePageOfCharset(charset), codePage) << "charset " << charset;
}

TEST(CodePage, Windows1252Bytes) {
  EXPECT_EQ(windows1252Byte(U'€'), 0x80);
  EXPECT_EQ(windows1252Byte(U'é'), 0xE9);
  EXPECT_EQ(windows1252Byte(0x81), 0x81);
  EXPECT_EQ(windows1252Byte(U'Ж'), -1);
}

TEST(Utf8, LenientDecodingReplacesMalformedBytes) {
  EXPECT_TRUE(isValidUtf8("añ€😊"));
  EXPECT_FALSE(isValidUtf8("\xF0\x9F\x98"));
  EXPECT_EQ(toValidUtf8("a\xC3z\xED\xA0\x80"), "a\uFFFDz\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(toValidUtf8("ok"), "ok");
}

}  // namespace qw::text
