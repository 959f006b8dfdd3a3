#include "core/store/card_index.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "core/store/index_line.h"

namespace qw::store {

std::optional<long long> parseCounter(std::string_view line) {
  if (line.empty() ||
      !std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  long long value = 0;
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (error != std::errc()) return std::nullopt;
  return value;
}

bool hasValidCounter(const std::vector<std::string>& lines) {
  return !lines.empty() && parseCounter(lines.back()).has_value();
}

CountedLines splitCounted(std::vector<std::string> lines) {
  std::erase_if(lines, [](const std::string& line) { return line.empty(); });
  CountedLines counted;
  if (!lines.empty() && parseCounter(lines.back())) {
    counted.counter = std::move(lines.back());
    lines.pop_back();
  }
  counted.entries = std::move(lines);
  return counted;
}

CardIndex::CardIndex() : lines_{"1"} {}

CardIndex::CardIndex(std::vector<std::string> lines) { setLines(std::move(lines)); }

size_t CardIndex::checked(int card) const {
  if (card < 0 || card >= count())
    throw std::out_of_range("card " + std::to_string(card) + " is not in the index");
  return static_cast<size_t>(card);
}

const std::string& CardIndex::line(int card) const { return lines_[checked(card)]; }

void CardIndex::setLine(int card, std::string line) { lines_[checked(card)] = std::move(line); }

void CardIndex::setLines(std::vector<std::string> lines) {
  if (!hasValidCounter(lines))
    throw std::invalid_argument("a card index ends with its counter line");
  lines_ = std::move(lines);
}

long long CardIndex::counter() const { return *parseCounter(lines_.back()); }

void CardIndex::moveCounterTo(long long next) {
  if (next > counter()) lines_.back() = std::to_string(next);
}

int CardIndex::addCard(std::string_view categoryId, std::optional<int> hotKeySlot, bool linked,
                       std::string_view name) {
  const long long number = counter();
  lines_.back() = makeIndexLine(std::to_string(number), categoryId, hotKeySlot, linked, name);
  lines_.push_back(std::to_string(number + 1));
  return count() - 1;
}

void CardIndex::removeBlankLines() {
  const std::string counterLine = std::move(lines_.back());
  lines_.pop_back();
  std::erase_if(lines_, [](const std::string& line) { return line.empty(); });
  lines_.push_back(counterLine);
}

}  // namespace qw::store
