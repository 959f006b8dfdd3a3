#pragma once
// Find in all cards: every line of every given card that holds the search text, read from the
// cards' files through a cache, the open card from the editor's text. Protected cards are never
// read; a card whose file is gone is told once.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/find/card_text_cache.h"

namespace qw::find {

// One card to search, as the window knew it when the search began.
struct SearchedCard {
  int card = 0;        // the notebook's card number: kMainCard or the index position
  std::string number;  // as --list prints it: "-" or the index position
  std::string name;
  // Where its text is: the content file, else the settings file that names it.
  std::filesystem::path contentFile;
  std::filesystem::path settingsFile;
  // The open card: the editor's text with its unsaved edits, CR LF line breaks. A protected
  // card open with its password is searched through it.
  std::optional<std::string> openText;
  // The main card has no file until it is first saved: then it is empty, not unreadable.
  bool fileMayBeMissing = false;
};

struct FindQuery {
  std::string text;
  bool ignoreAccents = false;
  // Hits past this many are counted but not listed.
  std::size_t mostListed = std::numeric_limits<std::size_t>::max();
};

// One hit: its card, its line and where it is.
struct FoundLine {
  int card = 0;
  std::string number;
  std::string name;
  int line = 0;               // from 1
  std::int64_t position = 0;  // stored position of the hit in the card's text (CR LF as two)
  std::int64_t length = 0;    // in stored positions
  std::string text;           // the line, or a part around the hit when it is long
  std::size_t markStart = 0;  // the hit's bytes within `text`
  std::size_t markEnd = 0;
  friend bool operator==(const FoundLine&, const FoundLine&) = default;
};

// Lines longer than this many bytes are shown as a part around the hit, "…" at a cut end.
constexpr std::size_t kLongestShownLine = 400;

enum class CardOutcome { Searched, Protected, Unreadable };

struct FindSummary {
  int hits = 0;  // listed or not
  int cardsWithHits = 0;
  int listed = 0;
  int skippedProtected = 0;
  int unreadable = 0;
  bool cancelled = false;
  friend bool operator==(const FindSummary&, const FindSummary&) = default;
};

// Called after each card with hits, and for each card skipped: its outcome and the lines found
// in it that are listed.
using CardReport =
    std::function<void(const SearchedCard& card, CardOutcome outcome, std::vector<FoundLine>)>;

// Searches `cards` in their order. `cancelled` is looked at between cards and between hits;
// once set, the search stops and says so. A search that ran to its end forgets the cached files
// of cards no longer searched.
FindSummary findInCards(const std::vector<SearchedCard>& cards,
                        const std::filesystem::path& dataFolder, const FindQuery& query,
                        CardTextCache& cache, const std::atomic<bool>& cancelled,
                        const CardReport& report);

}  // namespace qw::find
