#pragma once
// The open-card journal (backup.ini): the card's display name, then the full paths of its
// settings file and its content file, one per line. Its presence at start means the program
// was stopped with that card open.

#include <string>
#include <vector>

namespace qw::store {

struct Journal {
  std::string cardName;
  std::string settingsFile;
  std::string contentFile;

  friend bool operator==(const Journal&, const Journal&) = default;
};

std::vector<std::string> journalLines(const Journal& journal);

// A missing line leaves its field empty; lines after the third are ignored.
Journal journalFromLines(const std::vector<std::string>& lines);

}  // namespace qw::store
