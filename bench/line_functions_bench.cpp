// Search, sorts and empty-line removal over a large card, each beside the plainest standard
// code doing the same work.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/text/line_functions.h"
#include "core/text/text_search.h"

namespace {

using namespace qw::text;

constexpr std::size_t kTextBytes = 1 << 20;
constexpr int kLines = 100000;

// Notes with accents and CR LF breaks; the searched phrase comes once, at the very end, so a
// search reads the whole text.
const std::string& searchText() {
  static const std::string text = [] {
    static const char* const kWords[] = {"Meeting", "with", "Zoé",   "about", "the",
                                         "budget",  "déjà", "vu",    "€12",   "TODO",
                                         "call",    "back", "straße"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::string s;
    while (s.size() < kTextBytes) {
      for (int w = 0; w < 10; ++w) {
        s += kWords[word(rng)];
        s += ' ';
      }
      s += "\r\n";
    }
    s += "Zebra Crossing";
    return s;
  }();
  return text;
}

constexpr std::string_view kNeedle = "zebra crossing";

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Card lines as people keep them: numbers, words, numbered items, some blank lines.
const std::vector<std::string>& cardLines() {
  static const std::vector<std::string> lines = [] {
    static const char* const kWords[] = {"apple", "Banana", "cherry", "Zoé",  "élan",
                                         "delta", "Echo",   "fox",    "golf", "Hotel"};
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> number(-100000, 100000);
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::vector<std::string> out;
    out.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
      const int k = kind(rng);
      if (k == 0) {
        out.emplace_back();
      } else if (k < 4) {
        out.push_back(std::to_string(number(rng)));
      } else {
        std::string line = k < 6 ? std::to_string(number(rng)) + " " : std::string();
        for (int w = 0; w < 4; ++w) line += std::string(kWords[word(rng)]) + ' ';
        out.push_back(std::move(line));
      }
    }
    return out;
  }();
  return lines;
}

int collate(const std::string& a, const std::string& b) {
  const auto [x, y] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                    [](char p, char q) { return lower(p) == lower(q); });
  if (x == a.end()) return y == b.end() ? 0 : -1;
  if (y == b.end()) return 1;
  return static_cast<unsigned char>(lower(*x)) - static_cast<unsigned char>(lower(*y));
}

const Collate& collateFunction() {
  static const Collate f = collate;
  return f;
}

std::size_t linesBytes() {
  std::size_t bytes = 0;
  for (const auto& line : cardLines()) bytes += line.size() + 2;
  return bytes;
}

void FindText1MB(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(findText(searchText(), kNeedle, 0));
  state.SetBytesProcessed(state.iterations() * searchText().size());
}

void FindTextFloor_LowerCopyThenFind(benchmark::State& state) {
  for (auto _ : state) {
    std::string copy(searchText());
    std::transform(copy.begin(), copy.end(), copy.begin(), lower);
    std::string needle(kNeedle);
    std::transform(needle.begin(), needle.end(), needle.begin(), lower);
    benchmark::DoNotOptimize(std::string_view(copy).find(needle));
  }
  state.SetBytesProcessed(state.iterations() * searchText().size());
}

void SortText100k(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(sortLinesText(cardLines(), collateFunction(), state.range(0) != 0));
  state.SetBytesProcessed(state.iterations() * linesBytes());
}

void SortTextFloor_StdSort(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::string> lines = cardLines();
    std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
      return collateFunction()(a, b) < 0;
    });
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetBytesProcessed(state.iterations() * linesBytes());
}

void SortNumeric100k(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(sortLinesNumeric(cardLines(), state.range(0) != 0));
  state.SetBytesProcessed(state.iterations() * linesBytes());
}

void SortNumericFloor_StdSort(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::string> lines = cardLines();
    std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
      return numericKey(a) < numericKey(b);
    });
    benchmark::DoNotOptimize(lines.data());
  }
  state.SetBytesProcessed(state.iterations() * linesBytes());
}

void EmptyLines100k(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(emptyLinesToRemove(cardLines()));
  state.SetItemsProcessed(state.iterations() * kLines);
}

void EmptyLinesFloor_PlainLoop(benchmark::State& state) {
  for (auto _ : state) {
    const std::vector<std::string>& lines = cardLines();
    std::vector<int> removed;
    for (int i = 0; i + 1 < static_cast<int>(lines.size()); ++i)
      if (lines[static_cast<std::size_t>(i)].empty()) removed.push_back(i);
    benchmark::DoNotOptimize(removed.data());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}

BENCHMARK(FindText1MB)->Unit(benchmark::kMicrosecond);
BENCHMARK(FindTextFloor_LowerCopyThenFind)->Unit(benchmark::kMicrosecond);
BENCHMARK(SortText100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SortTextFloor_StdSort)->Unit(benchmark::kMillisecond);
BENCHMARK(SortNumeric100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(SortNumericFloor_StdSort)->Unit(benchmark::kMillisecond);
BENCHMARK(EmptyLines100k)->Unit(benchmark::kMicrosecond);
BENCHMARK(EmptyLinesFloor_PlainLoop)->Unit(benchmark::kMicrosecond);

}  // namespace
