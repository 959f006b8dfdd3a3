// The card commands: new card, properties, delete, previous and next, move up and down. Each
// keeps the index and its file, the card files, the strip, the hot-key slots and the shown
// card in step.

#include <stdexcept>
#include <system_error>
#include <utility>

#include "core/notebook/notebook.h"
#include "core/store/index_line.h"
#include "core/store/utf8_path.h"

namespace qw::notebook {
namespace fs = std::filesystem;
using i18n::Str;

void Notebook::changeIndex(const std::function<void()>& change) {
  const store::CardIndex index = store_.cardIndex;
  const store::HotKeySlots slots = store_.hotKeys;
  try {
    change();
    store::saveCardIndex(store_);
  } catch (...) {
    store_.cardIndex = index;
    store_.hotKeys = slots;
    throw;
  }
}

void Notebook::createCard(const CardProperties& properties) {
  checkCardProperties(properties);
  if (!canCreateCard()) throw std::length_error("the card index is full");
  addAndOpenCard(properties, {});
}

void Notebook::addAndOpenCard(const CardProperties& properties, std::string_view content) {
  // The new card opens with the look of the card shown before it.
  const ports::EditorLook look = editor_.look();
  saveCard();
  const int card = addCard(properties, content);
  refreshHotKeyTexts();

  // Appended whatever the category filter says; the next rebuild of the strip applies it.
  const std::string name = store::displayName(store_.cardIndex.line(card));
  strip_.select(strip_.append({card, name, store::readContentPath(store_, card)}));
  loadCard(card, name);
  editor_.setLook(look);
}

bool Notebook::editCurrentCard(const CardProperties& properties) {
  // The selected entry, not the editor, names the card: after a failed load this is how a
  // missing linked file gets replaced.
  const int card = strip_.selectedEntry().card;
  if (card == kMainCard) {
    prompts_.message(text(Str::sErrPropsNotEditable));
    return false;
  }
  modifyCard(card, properties);
  refreshHotKeyTexts();

  const int position = strip_.selected();
  strip_.update(position, store::displayName(store_.cardIndex.line(card)),
                store::readContentPath(store_, card));
  // Read again from the files the dialog chose, without saving: unsaved edits are dropped.
  loadCard(card, strip_.entry(position).name);
  card_.setSyncLink(properties.syncLink);
  return true;
}

void Notebook::deleteCurrentCard() {
  const StripEntry& entry = strip_.selectedEntry();
  const int card = entry.card;
  if (card == kMainCard) {
    prompts_.message(text(Str::sErrMainCardUndeletable));
    return;
  }
  if (!prompts_.question(text(Str::sMsgDeleteCardTitle),
                         text(Str::sMsgDeleteCardQuestion) + "\"" + entry.name + "\""))
    return;

  const std::string number = store::fileNumber(store_.cardIndex.line(card));
  changeIndex([&] { dropCard(store_, card); });
  // Nothing may put the deleted card back after a crash.
  card_.dropSnapshotsJournalAndDraft();
  // The files go once the saved index no longer names them. Only names made of a file number
  // are touched, and only in the data folder: a linked file is never deleted.
  if (store::parseCounter(number)) {
    for (const char* extension : {".kvo", ".kvn", ".kvc"}) {
      std::error_code missing;
      fs::remove(store_.dataFolder / store::utf8Path(number + extension), missing);
    }
  }

  strip_.remove(strip_.selected());
  loadCard(strip_.selectedEntry().card, strip_.selectedEntry().name);
}

void Notebook::previousCard() {
  if (strip_.selected() > 0) switchToPosition(strip_.selected() - 1);
}

void Notebook::nextCard() {
  if (strip_.has(strip_.selected() + 1)) switchToPosition(strip_.selected() + 1);
}

void Notebook::moveCurrentCardDown() {
  const int position = strip_.selected();
  if (position == 0 || !strip_.has(position + 1)) return;
  swapWithNext(position);
  strip_.select(position + 1);
}

void Notebook::moveCurrentCardUp() {
  // Never above the main card.
  const int position = strip_.selected();
  if (position < 2) return;
  swapWithNext(position - 1);
  strip_.select(position - 1);
}

void Notebook::swapWithNext(int position) {
  const int a = strip_.entry(position).card;
  const int b = strip_.entry(position + 1).card;
  // Cards hidden by the filter between the two keep their places.
  changeIndex([&] {
    auto lines = store_.cardIndex.lines();
    std::swap(lines[a], lines[b]);
    store_.cardIndex.setLines(std::move(lines));
    for (int slot = store::HotKeySlots::kFirst; slot <= store::HotKeySlots::kLast; ++slot) {
      int& bound = store_.hotKeys[slot].card;
      if (bound == a)
        bound = b;
      else if (bound == b)
        bound = a;
    }
  });
  // Positions keep their card numbers; the names and files change places with the lines.
  strip_.swapWithNext(position);
  // The shown card is not saved or reloaded, it only has a new number. An editor left empty
  // by a failed load stays without a card.
  const int shown = card_.current().number;
  if (shown == a)
    card_.renumber(b);
  else if (shown == b)
    card_.renumber(a);
}

}  // namespace qw::notebook
