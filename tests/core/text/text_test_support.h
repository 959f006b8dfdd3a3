#pragma once
// Generated inputs for the property tests of the rich-text core: fixed seeds, so every run
// checks the same cases.

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/rich_text.h"
#include "core/text/utf8.h"

namespace qw::text {

template <class T>
const T& pick(std::mt19937& rng, const std::vector<T>& from) {
  return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
}

inline bool chance(std::mt19937& rng, int percent) {
  return std::uniform_int_distribution<int>(0, 99)(rng) < percent;
}

// Characters that each take another path through the writer and the reader: RTF syntax,
// Windows-1252, its C1 holes, other scripts, characters beyond the BMP, controls, separators.
inline const std::vector<char32_t>& interestingCharacters() {
  // clang-format off
  static const std::vector<char32_t> chars = {
      'a', 'Z', 'q', '0', '7', ' ', '-', '?', ';', '\\', '{', '}', '\t', 0x2028, 0x2029,
      U'é', U'€', U'“', U'Ÿ', 0x81, 0x9D, 0xA0, 0xAD, U'Ж', U'ω', U'中', U'語', U'한',
      U'😊', 0x10FFFF, 0x1F0B7, 0xFFFD, 0xF0B7, 0xFFFF, 0xE000, 0xD7FF, 0x01, 0x0B, 0x1F, 0x7F,
      // the Symbol font's own characters and private-use places
      U'α', U'•', U'∴', U'⎛', 0xF061, 0xF07F,
  };
  // clang-format on
  return chars;
}

inline std::string randomText(std::mt19937& rng, int maxLength) {
  std::string s;
  const int n = std::uniform_int_distribution<int>(0, maxLength)(rng);
  for (int i = 0; i < n; ++i) {
    if (chance(rng, 40))
      s += static_cast<char>(std::uniform_int_distribution<int>('a', 'z')(rng));
    else
      appendUtf8(s, pick(rng, interestingCharacters()));
  }
  return s;
}

inline CharFormat randomFormat(std::mt19937& rng) {
  static const std::vector<std::string> fonts = {"",          "Arial",      "Courier New",
                                                 "ＭＳ 明朝", "Times;Semi", "{Brace}\\",
                                                 " Lead",     "Tab\tName",  "Symbol"};
  static const std::vector<int> sizes = {24, 24, 16, 17, 1, kMaxHalfPoints, 48};
  static const std::vector<Rgb> colours = {{0, 0, 0}, {255, 0, 0}, {0, 128, 255}, {1, 2, 3}};
  CharFormat f;
  f.bold = chance(rng, 30);
  f.italic = chance(rng, 30);
  f.underline = chance(rng, 30);
  f.strike = chance(rng, 15);
  f.font = pick(rng, fonts);
  f.halfPoints = pick(rng, sizes);
  if (chance(rng, 40)) f.colour = pick(rng, colours);
  if (chance(rng, 25)) f.highlight = pick(rng, colours);
  return f;
}

// A model in canonical form.
inline RichText randomModel(std::uint32_t seed) {
  std::mt19937 rng(seed);
  RichText t;
  const int paragraphs = std::uniform_int_distribution<int>(1, 8)(rng);
  for (int p = 0; p < paragraphs; ++p) {
    Paragraph para;
    const int runs = std::uniform_int_distribution<int>(0, 5)(rng);
    for (int r = 0; r < runs; ++r) para.runs.push_back(Run{randomText(rng, 12), randomFormat(rng)});
    t.paragraphs.push_back(std::move(para));
  }
  normalise(t);
  return t;
}

// A model that breaks every rule normalise() enforces.
inline RichText randomRawModel(std::uint32_t seed) {
  static const std::vector<std::string> junk = {
      "\r", "\n", "\r\n", std::string(1, '\0'), "\xC3", "\xFF", "\xED\xA0\x80", ""};
  std::mt19937 rng(seed);
  RichText t;
  const int paragraphs = std::uniform_int_distribution<int>(0, 5)(rng);
  for (int p = 0; p < paragraphs; ++p) {
    Paragraph para;
    const int runs = std::uniform_int_distribution<int>(0, 5)(rng);
    CharFormat format = randomFormat(rng);
    for (int r = 0; r < runs; ++r) {
      if (chance(rng, 50)) format = randomFormat(rng);
      if (chance(rng, 20)) format.halfPoints = pick(rng, std::vector<int>{0, -7, 99999});
      if (chance(rng, 10)) format.font += '\0';
      std::string text = randomText(rng, 6) + pick(rng, junk) + randomText(rng, 6);
      para.runs.push_back(Run{std::move(text), format});
    }
    t.paragraphs.push_back(std::move(para));
  }
  return t;
}

// Random sequences of RTF tokens: groups, formatting, tables, destinations, escapes.
inline std::string randomRtfSoup(std::uint32_t seed, int tokens) {
  // clang-format off
  static const std::vector<std::string> pieces = {
      "{", "}", "{", "}", "\\b ", "\\b0 ", "\\i ", "\\ul ", "\\ulnone ", "\\strike ", "\\par ",
      "\\par\r\n", "\\line ", "\\tab ", "\\plain ", "\\pard ", "\\f0 ", "\\f1 ", "\\f2 ",
      "\\f3 ", "\\fs30 ", "\\fs0 ", "\\cf1 ", "\\cf2 ", "\\cf0 ", "\\highlight1 ", "\\u8364?",
      "\\u-10179?", "\\u-8694?", "\\u8232?", "\\u0?", "\\uc2 ", "\\uc0 ", "\\'e9", "\\'c4",
      "\\'e3", "\\'0d", "\\'00", "\\'", "\\*", "\\*\\foo ", "\\bin2 ", "{\\pict\\bin4 ",
      "{\\fonttbl{\\f1\\fcharset204 Arial;}{\\f2\\fcharset134 SimSun;}}",
      "{\\fonttbl\\f3\\fcharset128 MS;}", "{\\fonttbl{\\f0\\fcharset2 Symbol;}}",
      "{\\fonttbl{\\f2 Symbol;}}", "\\u-3913?", "\\u-3969?", "\\'b7", "\\'61",
      "{\\colortbl ;\\red255\\green0\\blue0;}", "{\\colortbl\\red1\\green2\\blue3;}",
      "{\\field{\\*\\fldinst x}{\\fldrslt y}}", "{\\object{\\result r}}", "\\ansicpg932 ",
      "\\ansicpg1251 ", "\\urtf ", "\\deff1 ", "\\sect ", "hello", " ", "world", "\\\\",
      "\\{", "\\}", "\r\n", "\\~", "\\-", "\xE9", "\xC4\xE3", "\xE2\x80\xA8", ";", "\\", "-",
      "12", "{\\info x}", "{\\*\\generator g;}", "\\rtf1 ", "\\'81", "\\'40"};
  // clang-format on
  std::mt19937 rng(seed);
  std::string s = "{\\rtf1\\ansi ";
  for (int i = 0; i < tokens; ++i) s += pick(rng, pieces);
  if (chance(rng, 50)) s += "}";
  return s;
}

inline std::string randomBytes(std::uint32_t seed, int length) {
  std::mt19937 rng(seed);
  std::string s;
  for (int i = 0; i < length; ++i) {
    // Favour the bytes RTF gives meaning to.
    static const std::string special = "{}\\'*; \r\n0123456789-abuf";
    s += chance(rng, 50)
             ? special[std::uniform_int_distribution<std::size_t>(0, special.size() - 1)(rng)]
             : static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
  }
  return s;
}

}  // namespace qw::text
