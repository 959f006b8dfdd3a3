#pragma once
// The twenty-one system-wide keys: which combination does what.

#include <optional>
#include <vector>

#include "platform/global_hot_keys.h"

namespace qw::gui {

struct GlobalKey {
  enum Action { ShowWindow, CopySlot, StartLineFeed, NewCardFromClipboard, NextFeedLine };
  Action action;
  int slot = 0;  // 1 to 9 for the slot keys
};

// Win/Super (the default) or, for desktops that keep those for themselves, Ctrl+Alt; Shift is
// added for the line feeds either way. Ids are what `globalKeyOf` reads back.
std::vector<platform::HotKey> globalKeyTable(bool controlAlt);
std::optional<GlobalKey> globalKeyOf(int id);

}  // namespace qw::gui
