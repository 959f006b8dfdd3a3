#include "core/store/journal.h"

namespace qw::store {

std::vector<std::string> journalLines(const Journal& journal) {
  return {journal.cardName, journal.settingsFile, journal.contentFile};
}

Journal journalFromLines(const std::vector<std::string>& lines) {
  const auto line = [&](size_t i) { return i < lines.size() ? lines[i] : std::string(); };
  return {line(0), line(1), line(2)};
}

}  // namespace qw::store
