#include "sample_cards.h"

#include <iterator>
#include <random>

namespace qw::bench {

text::RichText formattedCard(int maxRuns) {
  constexpr int kParagraphs = 20'000;
  static const char* const kWords[] = {"note",    "card", "the",  "rendez-vous", "été",   "café",
                                       "€ 12,50", "list", "à",    "faire",       "Größe", "naïve",
                                       "1)",      "\t",   "milk", "eggs",        "😊",     "année"};
  std::mt19937 rng(42);
  const auto pick = [&rng](int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
  };
  const text::Rgb colours[] = {{200, 0, 0}, {0, 128, 0}, {0, 0, 255}, {128, 0, 128}};
  const char* const fonts[] = {"", "", "Arial", "Courier New"};
  const int sizes[] = {16, 20, 21, 24, 28};

  // Runs of fewer words in paragraphs of more runs: about 1 MB of RTF either way.
  const int maxWords = maxRuns == 1 ? 8 : 2;
  text::RichText card;
  for (int i = 0; i < kParagraphs; ++i) {
    text::Paragraph p;
    for (int r = pick(0, 8) == 0 ? 0 : pick(1, maxRuns); r > 0; --r) {
      text::Run run;
      for (int w = pick(1, maxWords); w > 0; --w) {
        run.text += kWords[pick(0, std::size(kWords) - 1)];
        run.text += ' ';
      }
      run.format.bold = pick(0, 2) == 0;
      run.format.italic = pick(0, 3) == 0;
      run.format.underline = pick(0, 5) == 0;
      if (pick(0, 2) == 0) run.format.colour = colours[pick(0, 3)];
      run.format.font = fonts[pick(0, 3)];
      run.format.halfPoints = sizes[pick(0, 4)];
      p.runs.push_back(std::move(run));
    }
    card.paragraphs.push_back(std::move(p));
  }
  return text::normalised(std::move(card));
}

std::string plainCardBytes(std::size_t bytes) {
  std::mt19937 rng(7);
  const char* const words[] = {"note",
                               "card",
                               "the",
                               "caf\xE9",
                               "\x80 3",
                               "list",
                               "\xE0",
                               "faire",
                               "milk",
                               "eggs",
                               "ann\xE9"
                               "e",
                               "\t"};
  std::string out;
  while (out.size() < bytes) {
    for (int w = std::uniform_int_distribution<int>(2, 12)(rng); w > 0; --w) {
      out += words[std::uniform_int_distribution<int>(0, std::size(words) - 1)(rng)];
      out += ' ';
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace qw::bench
