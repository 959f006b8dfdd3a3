#include "core/notebook/card_strip.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <utility>

#include "core/store/card_settings.h"
#include "core/store/index_line.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/text/rtf_reader.h"

namespace qw::notebook {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGeneratedName = "KTRquillWick";

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

void CardStrip::build(store::Store& store, const std::string& mainCardName) {
  // Cards whose settings file names no content file are dropped before any position is
  // handed out, so the strip and the hot keys never point at a shifted card. Each settings
  // file is read once: 500 of them are a good part of the start.
  const std::string& filter = store.settings.categoryFilter();
  const size_t count = store.cardIndex.count();
  auto read = std::exchange(store.contentPathsAtLoad, std::nullopt);
  const bool known = read && read->size() == count;
  std::vector<std::optional<fs::path>> contents =
      known ? std::move(*read) : std::vector<std::optional<fs::path>>(count);
  for (int card = store.cardIndex.count() - 1; card >= 0; --card) {
    if (!store::shownByFilter(store.cardIndex.line(card), filter)) continue;
    if (!known) contents[card] = readableContentPath(store, card);
    if (contents[card] && contents[card]->empty()) {
      dropCard(store, card);
      contents.erase(contents.begin() + card);
    }
  }

  entries_.assign(1, StripEntry{kMainCard, mainCardName, mainContentFile(store)});
  for (int card = 0; card < store.cardIndex.count(); ++card) {
    const std::string& line = store.cardIndex.line(card);
    if (!store::shownByFilter(line, filter)) continue;
    entries_.push_back({card, store::displayName(line), contents[card].value_or(fs::path())});
  }
  selected_ = 0;
}

int CardStrip::append(StripEntry entry) {
  entries_.push_back(std::move(entry));
  return size() - 1;
}

void CardStrip::update(int position, std::string name, fs::path contentFile) {
  StripEntry& entry = entries_.at(position);
  entry.name = std::move(name);
  entry.contentFile = std::move(contentFile);
}

void CardStrip::remove(int position) {
  const int card = entries_.at(position).card;
  entries_.erase(entries_.begin() + position);
  for (StripEntry& entry : entries_)
    if (entry.card > card) --entry.card;
  // The card that followed takes the place; after the last one, the card above it.
  if (position == size()) --position;
  selected_ = position;
}

void CardStrip::swapWithNext(int position) {
  StripEntry& upper = entries_.at(position);
  StripEntry& lower = entries_.at(position + 1);
  std::swap(upper.name, lower.name);
  std::swap(upper.contentFile, lower.contentFile);
}

int CardStrip::lastPositionNamed(const std::string& name) const {
  for (int position = size() - 1; position > 0; --position)
    if (entries_[position].name == name) return position;
  return 0;
}

int CardStrip::positionOf(int card) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [card](const StripEntry& entry) { return entry.card == card; });
  return found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

std::vector<std::string> CardStrip::fontFamilies() const {
  // Font tables come first: the beginning of a file holds them, even in a megabyte card.
  constexpr std::size_t kBeginning = std::size_t{8} * 1024;
  std::vector<std::string> families;
  for (const StripEntry& entry : entries_) {
    const fs::path& file = entry.contentFile;
    // A protected card's file is ciphertext, and stays unread until its password is given.
    if (file.empty() || store::isProtectedFile(file)) continue;
    std::optional<std::string> beginning;
    try {
      beginning = store::readFileBytes(file, kBeginning);
    } catch (const store::StoreError&) {
      continue;  // told when the card is opened
    }
    if (!beginning) continue;
    for (std::string& family : text::readRtfFontNames(*beginning))
      if (std::find(families.begin(), families.end(), family) == families.end())
        families.push_back(std::move(family));
  }
  return families;
}

void dropCard(store::Store& store, int card) {
  auto lines = store.cardIndex.lines();
  lines.erase(lines.begin() + card);
  store.cardIndex.setLines(std::move(lines));
  // Hot keys follow their cards to their new positions.
  for (int slot = 1; slot <= 9; ++slot) {
    int& bound = store.hotKeys[slot].card;
    if (bound == card)
      store.hotKeys[slot] = {};
    else if (bound > card)
      --bound;
  }
}

std::string nextClipboardCardName(const std::vector<StripEntry>& strip) {
  long long next = 1;
  for (std::size_t position = 1; position < strip.size(); ++position) {
    const std::string& name = strip[position].name;
    if (name.compare(0, kGeneratedName.size(), kGeneratedName) != 0) continue;
    std::size_t i = kGeneratedName.size();
    while (i < name.size() && name[i] == ' ') ++i;
    long long number = 0;
    // Clamped, so a name with a run of digits cannot overflow the count.
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
      number = std::min<long long>(number * 10 + (name[i] - '0'), INT_MAX - 1);
    if (number >= next) next = number + 1;
  }
  return std::string(kGeneratedName) + " " + std::to_string(next);
}

}  // namespace qw::notebook
