#pragma once
// The card index as held in memory: one line per card in strip order (see index_line.h), then
// the counter line holding the next file number. A card's number is its line's position.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::store {

// The counter of an index or category list: a non-empty run of decimal digits.
std::optional<long long> parseCounter(std::string_view line);

// Lines that can stand as an index or a category list: at least the counter line, and that
// line a number.
bool hasValidCounter(const std::vector<std::string>& lines);

// The lines of a counted file (the index, the categories) as they are read: blank lines are
// dropped wherever they stand, and the last line left is the counter when it is a number.
struct CountedLines {
  std::vector<std::string> entries;    // every other line, in file order
  std::optional<std::string> counter;  // nothing when there is no line left or it is no number
};
CountedLines splitCounted(std::vector<std::string> lines);

class CardIndex {
 public:
  static constexpr int kMaxCards = 500;

  // A new index: no card, counter 1.
  CardIndex();
  // Throws std::invalid_argument unless hasValidCounter(lines).
  explicit CardIndex(std::vector<std::string> lines);

  int count() const { return static_cast<int>(lines_.size()) - 1; }
  bool isFull() const { return count() >= kMaxCards; }

  // Card lines, 0 to count() - 1; throw std::out_of_range outside that.
  const std::string& line(int card) const;
  void setLine(int card, std::string line);

  // All lines, counter line last.
  const std::vector<std::string>& lines() const { return lines_; }
  // Throws std::invalid_argument unless hasValidCounter(lines).
  void setLines(std::vector<std::string> lines);

  // The next file number.
  long long counter() const;
  // Moves the counter on to `next`; a counter already past it stays.
  void moveCounterTo(long long next);

  // Appends a card whose file number is the counter, and moves the counter on by one. Returns
  // the new card's number. The caller saves the index.
  int addCard(std::string_view categoryId, std::optional<int> hotKeySlot, bool linked,
              std::string_view name);

  // Drops empty card lines; the counter line stays whatever it holds.
  void removeBlankLines();

 private:
  size_t checked(int card) const;

  std::vector<std::string> lines_;
};

}  // namespace qw::store
