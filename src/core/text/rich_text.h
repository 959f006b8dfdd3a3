#pragma once
// The neutral rich-text model of a card: what the RTF reader produces, the RTF writer stores
// and the GUI converts to and from its editor document.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::text {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr int kDefaultHalfPoints = 24;  // 12 pt
constexpr int kMaxHalfPoints = 3276;    // 1638 pt, the largest size RTF editors accept

struct CharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  std::string font;  // family name; empty: the editor's default font
  int halfPoints = kDefaultHalfPoints;
  std::optional<Rgb> colour;     // nothing: automatic (the editor's text colour)
  std::optional<Rgb> highlight;  // nothing: no background of its own
  friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// A line break inside a paragraph (RTF \line, the editor's Shift+Enter) is U+2028 in run
// text, as QTextDocument holds it. A tab is '\t'.
constexpr char32_t kLineSeparator = 0x2028;
constexpr std::string_view kLineSeparatorUtf8 = "\xE2\x80\xA8";

struct Run {
  std::string text;  // UTF-8 without CR or LF
  CharFormat format;
  friend bool operator==(const Run&, const Run&) = default;
};

struct Paragraph {
  std::vector<Run> runs;  // none for an empty paragraph
  friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

// N paragraphs are separated by N-1 paragraph breaks: the last one has no break after it.
struct RichText {
  std::vector<Paragraph> paragraphs;
  friend bool operator==(const RichText&, const RichText&) = default;
};

// Brings the model to its one canonical form, so that equal documents compare equal:
// - run text becomes valid UTF-8 (malformed bytes: U+FFFD) without NUL characters, and CR LF,
//   CR or LF inside a run splits its paragraph there; font names are cleaned the same way
//   (their line breaks are kept);
// - a private-use character that a run in the Symbol font holds for one of that font's
//   characters (symbol_font.h: U+F0B7, the bullet) is that character, in a run of its own
//   in the editor's default font;
// - halfPoints outside 1..kMaxHalfPoints: non-positive is the default size, larger is the
//   maximum;
// - empty runs are dropped and neighbouring runs with equal formats merged;
// - a model without paragraphs gets one empty paragraph.
void normalise(RichText& text);
RichText normalised(RichText text);
bool isNormalised(const RichText& text);

int clampHalfPoints(int halfPoints);

// One paragraph per line of `utf8` (lines end at CR LF, CR or LF; a final line end leaves an
// empty last paragraph), each a single run in `format`.
RichText fromPlainText(std::string_view utf8, const CharFormat& format = {});

}  // namespace qw::text
