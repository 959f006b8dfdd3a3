#pragma once
// The global hot-key slots: what each one puts on the clipboard and which card it is bound to.

#include <array>
#include <stdexcept>
#include <string>

namespace qw::store {

struct HotKeySlot {
  std::string text;  // the bound card's content
  std::string name;  // the bound card's display name
  int card = -1;     // the bound card's number, -1 when unbound
  friend bool operator==(const HotKeySlot&, const HotKeySlot&) = default;
};

// Slots are numbered 1 to 10; the keys use 1 to 9.
class HotKeySlots {
 public:
  static constexpr int kFirst = 1;
  static constexpr int kLast = 10;

  static bool isSlot(int slot) { return slot >= kFirst && slot <= kLast; }

  HotKeySlot& operator[](int slot) { return slots_.at(indexOf(slot)); }
  const HotKeySlot& operator[](int slot) const { return slots_.at(indexOf(slot)); }

  // Every slot empty and unbound.
  void reset() { slots_.fill(HotKeySlot{}); }

 private:
  static size_t indexOf(int slot) {
    if (!isSlot(slot)) throw std::out_of_range("hot-key slot " + std::to_string(slot));
    return static_cast<size_t>(slot - kFirst);
  }

  std::array<HotKeySlot, kLast - kFirst + 1> slots_{};
};

}  // namespace qw::store
