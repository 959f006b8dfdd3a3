#pragma once
// The strip of card names above the editor: which cards it shows, in which order, and which
// one is selected.

#include <filesystem>
#include <string>
#include <vector>

#include "core/notebook/card_numbers.h"
#include "core/store/store.h"

namespace qw::notebook {

// One name in the strip. Position 0 is the main card.
struct StripEntry {
  int card = kMainCard;
  std::string name;
  std::filesystem::path contentFile;
};

class CardStrip {
 public:
  const std::vector<StripEntry>& entries() const { return entries_; }
  const StripEntry& entry(int position) const { return entries_.at(position); }
  int size() const { return static_cast<int>(entries_.size()); }
  bool has(int position) const { return position >= 0 && position < size(); }

  int selected() const { return selected_; }
  const StripEntry& selectedEntry() const { return entries_.at(selected_); }
  void select(int position) { selected_ = position; }

  // The main card under `mainCardName`, then every card the category filter shows, in index
  // order; the main card is selected. Cards the filter shows whose settings file names no
  // content file are dropped from the index first, so no position points at a shifted card.
  void build(store::Store& store, const std::string& mainCardName);
  // Adds `entry` at the end, whatever the category filter says; returns its position.
  int append(StripEntry entry);
  // The entry at `position` shows card `card` under a new name and content file.
  void update(int position, std::string name, std::filesystem::path contentFile);
  // Removes the entry at `position`, whose card left the index: later cards move up one
  // number. The card that followed is selected, or after the last one the card above it.
  void remove(int position);
  // Exchanges the names and files of the entries at `position` and the one below, after
  // their cards exchanged index lines; each position keeps its card number.
  void swapWithNext(int position);
  // The last position of a card named `name`, the main card excepted; 0 when there is none.
  int lastPositionNamed(const std::string& name) const;
  // The position of card `card`, or -1.
  int positionOf(int card) const;
  // The font families named by the font tables of the strip's cards, each once, protected
  // cards left out: loaded ahead, they make a card's first visit as quick as the next.
  std::vector<std::string> fontFamilies() const;

 private:
  std::vector<StripEntry> entries_;
  int selected_ = 0;
};

// Removes a card's index line; hot keys bound to later cards follow them.
void dropCard(store::Store& store, int card);

// "KTRquillWick n" with n one more than the greatest number after that word among the strip's
// card names (the main card's excepted), 1 when there is none.
std::string nextClipboardCardName(const std::vector<StripEntry>& strip);

}  // namespace qw::notebook
