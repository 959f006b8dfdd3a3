#pragma once
// The twenty-one system-wide keys: which combination does what.

#include <QString>
#include <optional>
#include <vector>

#include "core/i18n/strings.h"
#include "platform/global_hot_keys.h"

namespace qw::gui {

struct GlobalKey {
  enum Action { ShowWindow, CopySlot, StartLineFeed, NewCardFromClipboard, NextFeedLine };
  Action action;
  int slot = 0;  // 1 to 9 for the slot keys
};

// Win/Super (the default): Win+F2, Win+1 … 9, Win+Shift+1 … 9, Win+V, Win+C. The alternative
// set, for desktops that keep the Win keys for themselves: Ctrl+Shift+F10 shows the window,
// Ctrl+Shift+F1 … F9 copy, Ctrl+Alt+Shift+F1 … F9 start a line feed, Ctrl+Shift+F11 makes a
// card of the clipboard and Ctrl+Shift+F12 gives the next line. Ids are what `globalKeyOf`
// reads back; every key has its lasting name.
std::vector<platform::HotKey> globalKeyTable(bool alternative);
// Says what each key does, in the interface language, for desktops that show it.
void describeGlobalKeys(std::vector<platform::HotKey>& keys, const i18n::StringTable& strings);
std::optional<GlobalKey> globalKeyOf(int id);

// The set as the options and the messages name it: "Win" or "Ctrl+Shift+F1 … F12".
QString globalKeySetName(bool alternative);
// A key as the interface names it: "Win+Shift+3", "Ctrl+Shift+F10" (Super is the Win key).
QString globalKeyName(const platform::HotKey& key);
// The key of the set that shows the window: "Win+F2" or "Ctrl+Shift+F10".
QString showWindowKeyName(bool alternative);
// What a second start says, in both languages since no settings are read by then: the program
// runs already, and the keys that bring its window back (either set's, as one stands in for the
// other when it is kept).
QString alreadyStartedMessage();

}  // namespace qw::gui
