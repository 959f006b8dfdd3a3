#pragma once
// A full data folder for the speed harness: the main card and `cards` cards in four
// categories, nine of them on hot keys, some holding about 1 MB of formatted RTF or of plain
// text. Cards go into the strip in this order, so that Ctrl+K walks through the cases:
//   1 small, 2 big RTF, 3 small, 4 small, 5 big plain, then the other big cards spread out.

#include <filesystem>
#include <string>

namespace qw::bench {

struct NotebookShape {
  int cards = 500;
  int bigRtfCards = 10;
  int bigPlainCards = 10;
};

// Strip positions of the cases the harness times (the main card is position 0).
constexpr int kSmallCard = 1;
constexpr int kBigRtfCard = 2;
constexpr int kSmallPairFirst = 3;
constexpr int kBigPlainCard = 5;

// What the editor shows for each kind of card, as plain text with "\n" line breaks.
struct NotebookTexts {
  std::string bigRtf;
  std::string bigPlain;
  std::string small;
};

// Writes param.ini, categ.kvn, fiches.kvn and every card's .kvo and .kvn into `dataFolder`.
// Throws on a shape that cannot hold the timed cases or on a write that fails.
NotebookTexts writeNotebook(const std::filesystem::path& dataFolder, const NotebookShape& shape);

}  // namespace qw::bench
