// The strip of card names: which cards it shows, which one is selected, and the switch.

#include <utility>

#include "core/notebook/notebook.h"
#include "core/store/index_line.h"
#include "core/store/store_error.h"
#include "core/store/utf8_path.h"
#include "core/text/rtf_reader.h"

namespace qw::notebook {
namespace fs = std::filesystem;
using i18n::Str;

namespace {

// The content file a card's settings name; nothing when they cannot be read: the card keeps
// its place, and opening it says why.
std::optional<fs::path> readableContentPath(const store::Store& store, int card) {
  try {
    return store::readContentPath(store, card);
  } catch (const store::StoreError&) {
    return std::nullopt;
  }
}

}  // namespace

Notebook::Notebook(store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
                   ports::Prompts& prompts)
    : store_(store), strings_(strings), editor_(editor), prompts_(prompts) {}

void Notebook::open() {
  refreshHotKeyTexts();
  reportIndexRepair();
  recoverInterruptedCard();
  buildStrip();
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

void Notebook::dropCard(int card) {
  auto lines = store_.cardIndex.lines();
  lines.erase(lines.begin() + card);
  store_.cardIndex.setLines(std::move(lines));
  // Hot keys follow their cards to their new positions.
  for (int slot = 1; slot <= 9; ++slot) {
    int& bound = store_.hotKeys[slot].card;
    if (bound == card)
      store_.hotKeys[slot] = {};
    else if (bound > card)
      --bound;
  }
}

void Notebook::buildStrip() {
  // Cards whose settings file names no content file are dropped before any position is
  // handed out, so the strip and the hot keys never point at a shifted card. Each settings
  // file is read once: 500 of them are a good part of the start.
  const std::string& filter = store_.settings.categoryFilter();
  const size_t count = store_.cardIndex.count();
  auto read = std::exchange(store_.contentPathsAtLoad, std::nullopt);
  const bool known = read && read->size() == count;
  std::vector<std::optional<fs::path>> contents =
      known ? std::move(*read) : std::vector<std::optional<fs::path>>(count);
  for (int card = store_.cardIndex.count() - 1; card >= 0; --card) {
    if (!store::shownByFilter(store_.cardIndex.line(card), filter)) continue;
    if (!known) contents[card] = readableContentPath(store_, card);
    if (contents[card] && contents[card]->empty()) {
      dropCard(card);
      contents.erase(contents.begin() + card);
    }
  }

  strip_.assign(1, StripEntry{kMainCard, text(Str::sMainCardName), mainContentFile()});
  for (int card = 0; card < store_.cardIndex.count(); ++card) {
    const std::string& line = store_.cardIndex.line(card);
    if (!store::shownByFilter(line, filter)) continue;
    strip_.push_back({card, store::displayName(line), contents[card].value_or(fs::path())});
  }
}

void Notebook::openDefaultCard() {
  const std::string& wanted = store_.settings.defaultCard();
  selected_ = 0;
  if (wanted != text(Str::sMainCardName)) {
    // The last card of that name wins, as it always has.
    for (int position = static_cast<int>(strip_.size()) - 1; position > 0; --position) {
      if (strip_[position].name == wanted) {
        selected_ = position;
        break;
      }
    }
  }
  loadCard(strip_[selected_].card, strip_[selected_].name);
}

void Notebook::applyCategoryFilter() {
  saveCard();
  buildStrip();
  selected_ = 0;
  loadCard(kMainCard, strip_[0].name);
}

void Notebook::switchToPosition(int position) {
  if (position < 0 || position >= static_cast<int>(strip_.size())) return;
  saveCard();
  selected_ = position;
  loadCard(strip_[position].card, strip_[position].name);
}

}  // namespace qw::notebook
