#include "gui/global_keys.h"

namespace qw::gui {
namespace {

using platform::HotKey;

// Ids: 0 shows the window, 1..9 copy a slot, 11..19 start a slot's line feed, 20 and 21.
constexpr int kShow = 0;
constexpr int kFeedBase = 10;
constexpr int kNewCard = 20;
constexpr int kNextLine = 21;

}  // namespace

std::vector<HotKey> globalKeyTable(bool controlAlt) {
  const unsigned base = controlAlt ? (HotKey::Control | HotKey::Alt) : HotKey::Super;
  std::vector<HotKey> table;
  table.push_back({kShow, base, Qt::Key_F2});
  for (int slot = 1; slot <= 9; ++slot) table.push_back({slot, base, Qt::Key_0 + slot});
  for (int slot = 1; slot <= 9; ++slot)
    table.push_back({kFeedBase + slot, base | HotKey::Shift, Qt::Key_0 + slot});
  table.push_back({kNewCard, base, Qt::Key_V});
  table.push_back({kNextLine, base, Qt::Key_C});
  return table;
}

std::optional<GlobalKey> globalKeyOf(int id) {
  if (id == kShow) return GlobalKey{GlobalKey::ShowWindow};
  if (id >= 1 && id <= 9) return GlobalKey{GlobalKey::CopySlot, id};
  if (id > kFeedBase && id <= kFeedBase + 9) return GlobalKey{GlobalKey::StartLineFeed, id - kFeedBase};
  if (id == kNewCard) return GlobalKey{GlobalKey::NewCardFromClipboard};
  if (id == kNextLine) return GlobalKey{GlobalKey::NextFeedLine};
  return std::nullopt;
}

}  // namespace qw::gui
