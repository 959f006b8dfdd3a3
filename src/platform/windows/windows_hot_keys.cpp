#include "platform/windows/windows_hot_keys.h"

namespace qw::platform {

WindowsHotKeys::WindowsHotKeys(QObject* parent)
    : GlobalHotKeys(parent), keys_([this](int id) { emit activated(id); }) {}

WindowsHotKeys::~WindowsHotKeys() { keys_.unregisterAll(); }

std::vector<HotKey> WindowsHotKeys::registerKeys(const std::vector<HotKey>& keys) {
  return keys_.registerKeys(keys);
}

void WindowsHotKeys::unregisterAll() { keys_.unregisterAll(); }

}  // namespace qw::platform
