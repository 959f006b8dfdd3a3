#pragma once
// Fields of a card index line, such as 7;-3-H2-0:Recettes: file number 7, category 3, hot-key
// slot 2, own file ("-0:"; "-1:" is a linked file), display name Recettes. Fields are found by
// the first occurrence of their separator, so a name may hold ":" and "-". Every reader and
// writer of index lines goes through these functions; none of them fails on a malformed line.

#include <optional>
#include <string>
#include <string_view>

namespace qw::store {

// Text before the first ";" (empty when there is none).
std::string fileNumber(std::string_view line);

// After the first "-", the text before the next "-" (empty when either is missing).
std::string categoryId(std::string_view line);

// The slot when the field after the second "-" is "H" followed by a number.
std::optional<int> hotKeySlot(std::string_view line);

// Searched in the whole line, so a display name holding "-1:" makes a card count as linked.
bool isLinked(std::string_view line);
bool hasOwnFile(std::string_view line);

// Text after the first ":" (the whole line when there is none).
std::string displayName(std::string_view line);

// The file number of a line that can stand as a card: digits, ";-", and a ":" further on.
// Nothing for any other line.
std::optional<long long> cardFileNumber(std::string_view line);

// Whether the category filter (such as -0-3-7-) holds "-" + category id + "-".
bool filterShowsCategory(std::string_view filter, std::string_view categoryId);
// The same for the category of an index line.
bool shownByFilter(std::string_view line, std::string_view filter);

// The line without its "-H<slot>" part: 7;-3-H2-0:Recettes becomes 7;-3-0:Recettes. A line
// whose hotKeySlot() is nothing comes back unchanged.
std::string withoutHotKey(std::string_view line);

std::string makeIndexLine(std::string_view fileNumber, std::string_view categoryId,
                          std::optional<int> hotKeySlot, bool linked, std::string_view name);

// Lines of the older index format look like 3:0:Courses: no ";", and a first ":" that is not
// the first character.
bool isOldFormat(std::string_view firstLine);

// The older line with its first ":" replaced by ";-0-" (category 0, no hot key); a line
// without ":" is kept.
std::string convertOldLine(std::string_view line);

}  // namespace qw::store
