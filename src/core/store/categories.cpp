#include "core/store/categories.h"

#include <stdexcept>

#include "core/store/card_index.h"

namespace qw::store {

std::optional<long long> categoryLineId(std::string_view line) {
  const auto semicolon = line.find(';');
  if (semicolon == std::string_view::npos) return std::nullopt;
  return parseCounter(line.substr(0, semicolon));
}

Categories::Categories() : lines_{"1"} {}

Categories::Categories(std::vector<std::string> lines) { setLines(std::move(lines)); }

const std::string& Categories::line(int k) const {
  if (k < 0 || k >= count())
    throw std::out_of_range("category " + std::to_string(k) + " is not in the list");
  return lines_[static_cast<size_t>(k)];
}

std::string Categories::id(int k) const {
  const auto& text = line(k);
  const auto semicolon = text.find(';');
  return semicolon == std::string::npos ? std::string() : text.substr(0, semicolon);
}

std::string Categories::name(int k) const {
  const auto& text = line(k);
  const auto colon = text.find(':');
  return colon == std::string::npos ? text : text.substr(colon + 1);
}

long long Categories::counter() const { return *parseCounter(lines_.back()); }

void Categories::setLines(std::vector<std::string> lines) {
  if (!hasValidCounter(lines))
    throw std::invalid_argument("a category list ends with its counter line");
  lines_ = std::move(lines);
}

}  // namespace qw::store
