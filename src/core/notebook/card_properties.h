#pragma once
// What the card properties dialog collects for one card, and what it shows for a card that
// exists.

#include <string>

namespace qw::notebook {

struct CardProperties {
  std::string name;
  std::string linkedFile;  // the file holding the card's text; empty for the card's own file
  std::string syncLink;    // the synchronisation partner file; empty for none
  std::string categoryId = "0";
  int hotKeySlot = 0;  // 0 = none, 1..9

  friend bool operator==(const CardProperties&, const CardProperties&) = default;
};

// Throws std::invalid_argument for properties no card may have: an empty name, a line break in
// the name or the linked file (it would split the index or settings line), a category id that
// is not a number, a hot-key slot outside 0..9.
void checkCardProperties(const CardProperties& properties);

}  // namespace qw::notebook
