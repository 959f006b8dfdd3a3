// Reading and writing a 1 MB card, formatted and plain.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "core/text/plain_text.h"
#include "core/text/rich_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"

namespace {

using namespace qw::text;

constexpr std::size_t kCardBytes = 1 << 20;

// Prose in a few languages, formatted every few words, the way notes are: bold titles, a
// coloured or underlined word here and there, another font for a code line.
RichText formattedModel() {
  static const char* const kWords[] = {
      "note",  "card",     "meeting",     "Tuesday",   "budget",     "à",   "propos",
      "déjà",  "€12",      "über",        "straße",    "привет",     "мир", "日本語",
      "😊",     "{braces}", "back\\slash", "tab\there", "2024-03-05", "-",   "«quote»",
      "naïve", "résumé",   "Ελλάδα",      "OK"};
  std::mt19937 rng(42);
  std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  RichText t;
  std::size_t size = 0;
  while (size < kCardBytes * 53 / 100) {  // about 1 MB once written as RTF
    Paragraph p;
    const int runs = 1 + percent(rng) % 8;
    for (int r = 0; r < runs; ++r) {
      Run run;
      run.format.font = percent(rng) < 90 ? "Arial" : "Courier New";
      run.format.halfPoints = percent(rng) < 80 ? 20 : 28;
      run.format.bold = percent(rng) < 20;
      run.format.italic = percent(rng) < 10;
      run.format.underline = percent(rng) < 10;
      if (percent(rng) < 15) run.format.colour = Rgb{200, 0, 0};
      if (percent(rng) < 5) run.format.highlight = Rgb{255, 255, 0};
      const int words = 1 + percent(rng) % 12;
      for (int w = 0; w < words; ++w) {
        run.text += kWords[word(rng)];
        run.text += ' ';
      }
      size += run.text.size();
      p.runs.push_back(std::move(run));
    }
    t.paragraphs.push_back(std::move(p));
  }
  normalise(t);
  return t;
}

// Windows-1252 text with CR LF line ends, as plain cards and linked text files are stored.
std::string plainCard() {
  static const char* const kLine =
      "Shopping: bread, cheese, caf\xE9, cr\xE8me br\xFBl\xE9"
      "e \x80"
      "3.50 \x96 don't forget!";
  std::string s;
  for (int i = 0; s.size() < kCardBytes; ++i) {
    s += kLine;
    s += std::to_string(i);
    s += "\r\n";
  }
  return s;
}

const RichText& formatted() {
  static const RichText model = formattedModel();
  return model;
}

const std::string& formattedRtf() {
  static const std::string rtf = writeRtf(formatted());
  return rtf;
}

const std::string& plainBytes() {
  static const std::string bytes = plainCard();
  return bytes;
}

const RichText& plainModel() {
  static const RichText model = readRtf(plainBytes());
  return model;
}

std::string kib(std::size_t bytes) { return std::to_string(bytes / 1024) + " KiB"; }

void ReadFormattedRtf(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(readRtf(formattedRtf()));
  state.SetBytesProcessed(state.iterations() * formattedRtf().size());
  state.SetLabel(kib(formattedRtf().size()) + " of RTF");
}

void WriteFormattedRtf(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(writeRtf(formatted()));
  state.SetBytesProcessed(state.iterations() * formattedRtf().size());
}

void PlainTextOfFormattedRtf(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(plainTextOfCard(formattedRtf()));
  state.SetBytesProcessed(state.iterations() * formattedRtf().size());
}

void ReadPlainCard(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(readRtf(plainBytes()));
  state.SetBytesProcessed(state.iterations() * plainBytes().size());
  state.SetLabel(kib(plainBytes().size()) + " of text");
}

// Writing the plain card's model gives RTF; throughput counts the bytes written.
void WritePlainCard(benchmark::State& state) {
  const std::size_t written = writeRtf(plainModel()).size();
  for (auto _ : state) benchmark::DoNotOptimize(writeRtf(plainModel()));
  state.SetBytesProcessed(state.iterations() * written);
  state.SetLabel(kib(written) + " of RTF");
}

void ReadWrittenPlainCard(benchmark::State& state) {
  const std::string rtf = writeRtf(plainModel());
  for (auto _ : state) benchmark::DoNotOptimize(readRtf(rtf));
  state.SetBytesProcessed(state.iterations() * rtf.size());
}

BENCHMARK(ReadFormattedRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteFormattedRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainTextOfFormattedRtf)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPlainCard)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePlainCard)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadWrittenPlainCard)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
