#pragma once
// The category list of categ.kvn: one line per category such as 3;:Work (id 3, name Work) in
// the order they were added, then the counter line holding the next id. Category 0, the
// built-in standard category, has no line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::store {

// The id of a line that can stand as a category: digits, then ";". Nothing for any other line.
std::optional<long long> categoryLineId(std::string_view line);

class Categories {
 public:
  // No category; the next id is 1.
  Categories();
  // Throws std::invalid_argument unless the last line is a counter (see card_index.h).
  explicit Categories(std::vector<std::string> lines);

  int count() const { return static_cast<int>(lines_.size()) - 1; }

  // Category k, 0 to count() - 1 in file order; throw std::out_of_range outside that.
  // The id is the text before the first ";", the name the text after the first ":" (the whole
  // line when there is none).
  std::string id(int k) const;
  std::string name(int k) const;

  // The id the next added category gets.
  long long counter() const;

  const std::vector<std::string>& lines() const { return lines_; }
  void setLines(std::vector<std::string> lines);

 private:
  const std::string& line(int k) const;

  std::vector<std::string> lines_;
};

}  // namespace qw::store
