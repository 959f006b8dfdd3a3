// A 1 MB card into the editor and back. Loading should cost no more than twice what Qt's
// setPlainText costs for the same text, the floor any load pays.
#include <benchmark/benchmark.h>

#include <QTextDocument>
#include <QTextEdit>
#include <string>

#include "core/text/plain_text.h"
#include "core/text/rich_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"
#include "gui/rich_text_document.h"
#include "sample_cards.h"

namespace qw::gui {
namespace {

using bench::formattedCard;
using bench::plainCardBytes;

struct Card {
  std::string bytes;
  QString text;  // the same text, for the floor
  std::size_t runs = 0;
};

Card cardOf(std::string bytes) {
  Card c;
  c.bytes = std::move(bytes);
  const text::RichText model = text::readRtf(c.bytes);
  c.text = QString::fromStdString(text::plainText(model, "\n"));
  for (const auto& p : model.paragraphs) c.runs += p.runs.size();
  return c;
}

// The formatted card with up to 4 runs a paragraph, or with 1.
const Card& rtfCard(int maxRuns) {
  static const Card mixed = cardOf(text::writeRtf(formattedCard(4)));
  static const Card plainRuns = cardOf(text::writeRtf(formattedCard(1)));
  return maxRuns == 1 ? plainRuns : mixed;
}

const Card& plainCard() {
  static const Card c = cardOf(plainCardBytes());
  return c;
}

QFont editorFont() { return QFont("DejaVu Sans", 10); }

void setCounters(benchmark::State& state, const Card& card) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * card.bytes.size()));
  state.counters["bytes"] = static_cast<double>(card.bytes.size());
  state.counters["chars"] = static_cast<double>(card.text.size());
  state.counters["runs"] = static_cast<double>(card.runs);
}

// The floor: Qt's own load of the card's text, without formats.
void BM_SetPlainTextFloor_Rtf(benchmark::State& state) {
  const Card& card = rtfCard(static_cast<int>(state.range(0)));
  QTextDocument doc;
  for (auto _ : state) doc.setPlainText(card.text);
  setCounters(state, card);
}
BENCHMARK(BM_SetPlainTextFloor_Rtf)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadCard_Rtf(benchmark::State& state) {
  const Card& card = rtfCard(static_cast<int>(state.range(0)));
  QTextDocument doc;
  for (auto _ : state) loadCard(doc, card.bytes, editorFont());
  setCounters(state, card);
}
BENCHMARK(BM_LoadCard_Rtf)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

// The real case: the editor's document, with the editor's layout attached (not shown).
void BM_SetPlainTextFloor_Editor(benchmark::State& state) {
  const Card& card = rtfCard(static_cast<int>(state.range(0)));
  QTextEdit edit;
  edit.setFont(editorFont());
  for (auto _ : state) edit.setPlainText(card.text);
  setCounters(state, card);
}
BENCHMARK(BM_SetPlainTextFloor_Editor)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadCard_Editor(benchmark::State& state) {
  const Card& card = rtfCard(static_cast<int>(state.range(0)));
  QTextEdit edit;
  edit.setFont(editorFont());
  for (auto _ : state) loadCard(*edit.document(), card.bytes, editorFont());
  setCounters(state, card);
}
BENCHMARK(BM_LoadCard_Editor)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

// The two halves of the RTF load: the core's reader, then the document.
void BM_ReadRtf(benchmark::State& state) {
  const Card& card = rtfCard(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(text::readRtf(card.bytes));
  setCounters(state, card);
}
BENCHMARK(BM_ReadRtf)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FillDocument_Rtf(benchmark::State& state) {
  const Card& card = rtfCard(static_cast<int>(state.range(0)));
  const text::RichText model = text::readRtf(card.bytes);
  QTextDocument doc;
  for (auto _ : state) fillDocument(doc, model, editorFont());
  setCounters(state, card);
}
BENCHMARK(BM_FillDocument_Rtf)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SetPlainTextFloor_Plain(benchmark::State& state) {
  QTextDocument doc;
  for (auto _ : state) doc.setPlainText(plainCard().text);
  setCounters(state, plainCard());
}
BENCHMARK(BM_SetPlainTextFloor_Plain)->Unit(benchmark::kMillisecond);

void BM_LoadCard_Plain(benchmark::State& state) {
  QTextDocument doc;
  for (auto _ : state) loadCard(doc, plainCard().bytes, editorFont());
  setCounters(state, plainCard());
}
BENCHMARK(BM_LoadCard_Plain)->Unit(benchmark::kMillisecond);

// The save path: the document back to the model, then RTF.
void BM_SaveCard_Rtf(benchmark::State& state) {
  const Card& card = rtfCard(4);
  QTextDocument doc;
  loadCard(doc, card.bytes, editorFont());
  for (auto _ : state) benchmark::DoNotOptimize(cardBytes(doc));
  setCounters(state, card);
}
BENCHMARK(BM_SaveCard_Rtf)->Unit(benchmark::kMillisecond);

void BM_ModelOf_Rtf(benchmark::State& state) {
  const Card& card = rtfCard(4);
  QTextDocument doc;
  loadCard(doc, card.bytes, editorFont());
  for (auto _ : state) benchmark::DoNotOptimize(modelOf(doc));
  setCounters(state, card);
}
BENCHMARK(BM_ModelOf_Rtf)->Unit(benchmark::kMillisecond);

// The selection kept at the end of a 1 MB card, one conversion each way.
void BM_StoredPositionAtEnd(benchmark::State& state) {
  const Card& card = rtfCard(4);
  QTextDocument doc;
  loadCard(doc, card.bytes, editorFont());
  const int end = doc.characterCount() - 1;
  for (auto _ : state) benchmark::DoNotOptimize(documentPosition(doc, storedPosition(doc, end)));
  setCounters(state, card);
}
BENCHMARK(BM_StoredPositionAtEnd)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qw::gui
