// The notebook's start and the moves along the strip; the other commands live beside it, in
// the files named after what the user does with them.

#include "core/notebook/notebook.h"

#include <utility>

#include "core/store/utf8_path.h"
#include "core/text/rtf_reader.h"

namespace qw::notebook {
using i18n::Str;

Notebook::Notebook(store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
                   ports::Prompts& prompts)
    : store_(store), strings_(strings), editor_(editor), prompts_(prompts) {}

void Notebook::open() {
  refreshHotKeyTexts();
  reportIndexRepair();
  recoverInterruptedCard();
  strip_.build(store_, text(Str::sMainCardName));
  if (!restoreDrafts()) openDefaultCard();
}

void Notebook::reportIndexRepair() {
  const auto repair = std::exchange(store_.indexRepair, std::nullopt);
  if (!repair) return;
  std::string message = text(Str::sMsgIndexRepaired) + std::to_string(repair->cards);
  if (!repair->keptAside.empty())
    message += "\n" + text(Str::sMsgOldIndexKeptAs) + store::utf8Of(repair->keptAside);
  prompts_.message(message);
}

void Notebook::refreshHotKeyTexts() {
  for (int slot = 1; slot <= 9; ++slot) {
    std::string& text = store_.hotKeys[slot].text;
    if (text::looksLikeRtf(text)) text = text::readRtfPlainText(text);
  }
}

void Notebook::openDefaultCard() {
  const std::string& wanted = store_.settings[store::kDefaultCard];
  // The last card of that name wins, as it always has.
  strip_.select(wanted != text(Str::sMainCardName) ? strip_.lastPositionNamed(wanted) : 0);
  loadCard(strip_.selectedEntry().card, strip_.selectedEntry().name);
}

void Notebook::applyCategoryFilter() {
  saveCard();
  strip_.build(store_, text(Str::sMainCardName));
  loadCard(kMainCard, strip_.entry(0).name);
}

void Notebook::switchToPosition(int position) {
  if (!strip_.has(position)) return;
  saveCard();
  strip_.select(position);
  loadCard(strip_.entry(position).card, strip_.entry(position).name);
}

}  // namespace qw::notebook
