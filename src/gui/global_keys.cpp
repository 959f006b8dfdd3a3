#include "gui/global_keys.h"

#include <string>

namespace qw::gui {
namespace {

using platform::HotKey;

// Ids: 0 shows the window, 1..9 copy a slot, 11..19 start a slot's line feed, 20 and 21.
constexpr int kShow = 0;
constexpr int kFeedBase = 10;
constexpr int kNewCard = 20;
constexpr int kNextLine = 21;

// The alternative keys are all function keys with Shift held, each reason a desktop's claim:
// Windows reads Ctrl+Alt as AltGr, which with a letter or a digit (and Shift) types a
// character on many layouts (AltGr+2 is "~" in French, AltGr+Q "@" in German); X switches
// consoles on Ctrl+Alt+F1 … F12, a key the server maps to plain F1 … F12 once Shift is held;
// window managers keep Alt+F1 … F12 and Ctrl+Alt(+Shift)+digits. No key of the card menu
// has Ctrl and Shift together.
std::vector<HotKey> alternativeTable() {
  constexpr unsigned base = HotKey::Control | HotKey::Shift;
  std::vector<HotKey> table;
  table.emplace_back(kShow, base, Qt::Key_F10);
  for (int slot = 1; slot <= 9; ++slot) table.emplace_back(slot, base, Qt::Key_F1 + slot - 1);
  for (int slot = 1; slot <= 9; ++slot)
    table.emplace_back(kFeedBase + slot, base | HotKey::Alt, Qt::Key_F1 + slot - 1);
  table.emplace_back(kNewCard, base, Qt::Key_F11);
  table.emplace_back(kNextLine, base, Qt::Key_F12);
  return table;
}

std::vector<HotKey> winTable() {
  std::vector<HotKey> table;
  table.emplace_back(kShow, HotKey::Super, Qt::Key_F2);
  for (int slot = 1; slot <= 9; ++slot) table.emplace_back(slot, HotKey::Super, Qt::Key_0 + slot);
  for (int slot = 1; slot <= 9; ++slot)
    table.emplace_back(kFeedBase + slot, HotKey::Super | HotKey::Shift, Qt::Key_0 + slot);
  table.emplace_back(kNewCard, HotKey::Super, Qt::Key_V);
  table.emplace_back(kNextLine, HotKey::Super, Qt::Key_C);
  return table;
}

// The names the desktop keeps the keys by (the Wayland portal): never to change, or the user's
// own choice of keys there is lost.
std::string nameOf(int id) {
  if (id == kShow) return "HotkeyActivate";
  if (id >= 1 && id <= 9) return "Hotkey" + std::to_string(id);
  if (id > kFeedBase && id <= kFeedBase + 9)
    return "Hotkey" + std::to_string(id - kFeedBase) + "up";
  if (id == kNewCard) return "HotkeyAdd";
  return "HotkeyCopyText";
}

}  // namespace

std::vector<HotKey> globalKeyTable(bool alternative) {
  std::vector<HotKey> table = alternative ? alternativeTable() : winTable();
  for (HotKey& key : table) key.name = nameOf(key.id);
  return table;
}

void describeGlobalKeys(std::vector<HotKey>& keys, const i18n::StringTable& strings) {
  using i18n::Str;
  for (HotKey& key : keys) {
    const std::optional<GlobalKey> action = globalKeyOf(key.id);
    if (!action) continue;
    const std::string slot = std::to_string(action->slot);
    auto withSlot = [&](Str id) {
      std::string text = strings[id];
      if (const auto at = text.find("%1"); at != std::string::npos) text.replace(at, 2, slot);
      return text;
    };
    switch (action->action) {
      case GlobalKey::ShowWindow: key.description = strings[Str::sKeyShowWindow]; break;
      case GlobalKey::CopySlot: key.description = withSlot(Str::sKeyCopyCard); break;
      case GlobalKey::StartLineFeed: key.description = withSlot(Str::sKeyFeedCard); break;
      case GlobalKey::NewCardFromClipboard:
        key.description = strings[Str::sKeyNewCardFromClipboard];
        break;
      case GlobalKey::NextFeedLine: key.description = strings[Str::sKeyNextFeedLine]; break;
    }
  }
}

std::optional<GlobalKey> globalKeyOf(int id) {
  if (id == kShow) return GlobalKey{GlobalKey::ShowWindow};
  if (id >= 1 && id <= 9) return GlobalKey{GlobalKey::CopySlot, id};
  if (id > kFeedBase && id <= kFeedBase + 9)
    return GlobalKey{GlobalKey::StartLineFeed, id - kFeedBase};
  if (id == kNewCard) return GlobalKey{GlobalKey::NewCardFromClipboard};
  if (id == kNextLine) return GlobalKey{GlobalKey::NextFeedLine};
  return std::nullopt;
}

QString globalKeySetName(bool alternative) {
  return alternative ? QStringLiteral("Ctrl+Shift+F1 … F12") : QStringLiteral("Win");
}

QString globalKeyName(const HotKey& key) {
  // Super to X, Win on the keyboard.
  return platform::describe(key).replace("Super", "Win");
}

QString showWindowKeyName(bool alternative) {
  return globalKeyName(globalKeyTable(alternative).front());
}

QString alreadyStartedMessage() {
  const QString win = showWindowKeyName(false);
  const QString alternative = showWindowKeyName(true);
  return QStringLiteral(
             "quillWick est déjà lancé.\n%1 ou %2 affiche sa fenêtre.\n\r"
             "quillWick is already started.\n%1 or %2 shows its window.")
      .arg(win, alternative);
}

}  // namespace qw::gui
