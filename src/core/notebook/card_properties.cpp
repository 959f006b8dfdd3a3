// The confirmation of the card properties dialog: the card's index line, its settings file,
// the empty content file of a new card, and the hot-key slot it takes.

#include "core/notebook/card_properties.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "core/notebook/notebook.h"
#include "core/store/atomic_file.h"
#include "core/store/card_index.h"
#include "core/store/card_settings.h"
#include "core/store/index_line.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"

namespace qw::notebook {
namespace fs = std::filesystem;

namespace {

// Font list position written into the settings file of a new card.
constexpr int kNewCardFontItem = 11;

std::optional<int> slotOf(const CardProperties& properties) {
  if (properties.hotKeySlot == 0) return std::nullopt;
  return properties.hotKeySlot;
}

// What a hot key puts on the clipboard for a card: a one-line text as that line, any other
// text whole. A content file that cannot be read leaves the slot empty; the next save of the
// card fills it.
std::string slotText(const fs::path& contentFile) {
  if (contentFile.empty()) return {};
  try {
    const auto bytes = store::readFileBytes(contentFile);
    if (!bytes) return {};
    std::string text = store::decodeStoredText(*bytes);
    auto lines = store::splitLines(text);
    return lines.size() == 1 ? std::move(lines.front()) : text;
  } catch (const store::StoreError&) {
    return {};
  }
}

// Whether file number `number` belongs to a card already: a line of the index names it, or a
// file of that number is in the data folder (settings, content, their snapshot copies, a
// draft). A file that cannot be examined counts as there.
bool fileNumberTaken(const store::Store& store, long long number) {
  const std::string name = std::to_string(number);
  for (const char* suffix : {".kvo", ".kvn", ".kvc", ".kvo.$$$", ".kvn.$$$", ".kvc.$$$"}) {
    std::error_code error;
    if (fs::symlink_status(store.dataFolder / store::utf8Path(name + suffix), error).type() !=
        fs::file_type::not_found)
      return true;
  }
  std::error_code error;
  if (fs::symlink_status(draftFileIn(store.dataFolder, name), error).type() !=
      fs::file_type::not_found)
    return true;
  for (int card = 0; card < store.cardIndex.count(); ++card)
    if (store::parseCounter(store::fileNumber(store.cardIndex.line(card))) == number) return true;
  return false;
}

}  // namespace

void checkCardProperties(const CardProperties& properties) {
  if (properties.name.empty()) throw std::invalid_argument("a card needs a name");
  for (const std::string* field : {&properties.name, &properties.linkedFile})
    if (field->find_first_of("\r\n") != std::string::npos)
      throw std::invalid_argument("a card name or linked file holds a line break");
  const std::string& category = properties.categoryId;
  if (category.empty() ||
      !std::all_of(category.begin(), category.end(), [](char c) { return c >= '0' && c <= '9'; }))
    throw std::invalid_argument("category id \"" + category + "\" is not a number");
  if (properties.hotKeySlot < 0 || properties.hotKeySlot > 9)
    throw std::invalid_argument("hot-key slot " + std::to_string(properties.hotKeySlot));
}

CardProperties Notebook::propertiesOf(int card) const {
  const std::string& line = store_.cardIndex.line(card);
  CardProperties properties;
  properties.name = store::displayName(line);
  properties.categoryId = store::categoryId(line);
  const auto slot = store::hotKeySlot(line);
  properties.hotKeySlot = slot && *slot >= 1 && *slot <= 9 ? *slot : 0;

  const auto settings = store::readTextLines(store::cardSettingsFile(store_, line))
                            .value_or(std::vector<std::string>{});
  // The same reading as the load: a line holding "-0:" has its own file, whatever its name.
  if (store::isLinked(line) && !store::hasOwnFile(line) && !settings.empty())
    properties.linkedFile = settings.front();
  // The shown card may carry a link set since its last save; its file has the old one.
  if (card == current().number)
    properties.syncLink = current().syncLink;
  else if (settings.size() > 10)
    properties.syncLink = store::syncLinkOf(settings[10]);
  return properties;
}

void Notebook::releaseHotKey(int slot, int keeper) {
  for (int card = 0; card < store_.cardIndex.count(); ++card) {
    const std::string& line = store_.cardIndex.line(card);
    if (card != keeper && store::hotKeySlot(line) == slot)
      store_.cardIndex.setLine(card, store::withoutHotKey(line));
  }
  if (store_.hotKeys[slot].card != keeper) store_.hotKeys[slot] = {};
}

int Notebook::addCard(const CardProperties& properties, std::string_view content) {
  checkCardProperties(properties);
  if (store_.cardIndex.isFull()) throw std::length_error("the card index is full");

  // Never over another card's files, whatever the counter says: it may have been lost.
  long long free = store_.cardIndex.counter();
  while (fileNumberTaken(store_, free)) ++free;
  const std::string number = std::to_string(free);
  const bool linked = !properties.linkedFile.empty();
  const std::string line = store::makeIndexLine(number, properties.categoryId, slotOf(properties),
                                                linked, properties.name);
  const std::string ownFile = number + ".kvn";
  if (!linked) store::writeFileAtomically(store_.dataFolder / ownFile, content);
  store::writeTextLines(
      store::cardSettingsFile(store_, line),
      store::newCardSettingsLines(linked ? properties.linkedFile : ownFile, kNewCardFontItem));

  int card = kNoCard;
  // One save for the new line and the slot taken from another card, so the file never shows
  // two cards on one slot.
  changeIndex([&] {
    store_.cardIndex.moveCounterTo(free);
    card = store_.cardIndex.addCard(properties.categoryId, slotOf(properties), linked,
                                    properties.name);
    if (properties.hotKeySlot != 0) releaseHotKey(properties.hotKeySlot, card);
  });
  if (properties.hotKeySlot != 0)
    store_.hotKeys[properties.hotKeySlot] = {"", properties.name, card};
  return card;
}

void Notebook::modifyCard(int card, const CardProperties& properties) {
  checkCardProperties(properties);
  const std::string oldLine = store_.cardIndex.line(card);
  const std::string number = store::fileNumber(oldLine);
  const fs::path settingsFile = store::cardSettingsFile(store_, oldLine);
  const bool linked = !properties.linkedFile.empty();

  auto settings = store::readTextLines(settingsFile).value_or(std::vector<std::string>{});
  if (settings.empty()) settings = store::newCardSettingsLines("", kNewCardFontItem);
  std::string ownFile = number + ".kvn";
  // A sealed card keeps its sealed file: pointing it at an empty ".kvn" would hide its text.
  if (store::hasOwnFile(oldLine) && settings.front() == number + ".kvc") ownFile = settings.front();
  std::error_code error;
  const fs::path ownPath = store_.dataFolder / ownFile;
  if (!linked && fs::status(ownPath, error).type() == fs::file_type::not_found)
    store::writeFileAtomically(ownPath, "");
  settings.front() = linked ? properties.linkedFile : ownFile;
  store::writeTextLines(settingsFile, settings);

  const std::string line = store::makeIndexLine(number, properties.categoryId, slotOf(properties),
                                                linked, properties.name);
  changeIndex([&] {
    if (properties.hotKeySlot != 0) releaseHotKey(properties.hotKeySlot, card);
    store_.cardIndex.setLine(card, line);
    // A slot the card leaves is free at once, not only after the next start.
    for (int slot = store::HotKeySlots::kFirst; slot <= store::HotKeySlots::kLast; ++slot)
      if (slot != properties.hotKeySlot && store_.hotKeys[slot].card == card)
        store_.hotKeys[slot] = {};
  });
  if (properties.hotKeySlot != 0)
    store_.hotKeys[properties.hotKeySlot] = {slotText(store::readContentPath(store_, card)),
                                             properties.name, card};
}

}  // namespace qw::notebook
