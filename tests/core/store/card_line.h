#pragma once
// Index lines for tests, spelt by what they mean:
//   CardLine(7, "Recettes").category(3).hotKey(2)   gives   7;-3-H2-0:Recettes

#include <optional>
#include <string>
#include <utility>

#include "core/store/index_line.h"

namespace qw::store::fixtures {

class CardLine {
 public:
  CardLine(int fileNumber, std::string name) : fileNumber_(fileNumber), name_(std::move(name)) {}

  CardLine& category(int id) {
    category_ = id;
    return *this;
  }
  CardLine& hotKey(int slot) {
    hotKey_ = slot;
    return *this;
  }
  // Linked to an outside file ("-1:") rather than holding its own.
  CardLine& linked() {
    linked_ = true;
    return *this;
  }

  // Implicit, so a list of CardLines passes where index lines are wanted.
  operator std::string() const {
    return makeIndexLine(std::to_string(fileNumber_), std::to_string(category_), hotKey_, linked_,
                         name_);
  }

 private:
  int fileNumber_;
  std::string name_;
  int category_ = 0;
  std::optional<int> hotKey_;
  bool linked_ = false;
};

}  // namespace qw::store::fixtures
