#pragma once
// A global key combination as the program asks for it; no Qt here, so the Windows backend can be
// built and tested without it.

#include <string>
#include <utility>

namespace qw::platform {

// The Qt::Key codes a HotKey may carry, spelled out for the code that does not see Qt
// (global_hot_keys.cpp checks them against Qt's own).
namespace keys {
constexpr int k0 = 0x30, k9 = 0x39;  // Qt::Key_0, Qt::Key_9: their ASCII codes
constexpr int kA = 0x41, kZ = 0x5a;  // Qt::Key_A, Qt::Key_Z
constexpr int kF1 = 0x01000030;      // Qt::Key_F1; F2 … F35 follow it
constexpr int kF35 = 0x01000052;
}  // namespace keys

struct HotKey {
  enum Modifier : unsigned { Super = 1, Shift = 2, Control = 4, Alt = 8 };
  HotKey() = default;
  HotKey(int id, unsigned modifiers, int key, std::string name = {}, std::string description = {})
      : id(id),
        modifiers(modifiers),
        key(key),
        name(std::move(name)),
        description(std::move(description)) {}
  int id = 0;              // given back by activated()
  unsigned modifiers = 0;  // Modifier flags
  int key = 0;  // a Qt::Key: Qt::Key_F2, Qt::Key_0..Qt::Key_9, Qt::Key_A..Qt::Key_Z (others may be
                // refused)
  // For desktops that register keys by name and show them to the user (the Wayland portal):
  // an id that never changes between versions, and what the key does, in the interface language.
  std::string name;
  std::string description;
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

}  // namespace qw::platform
