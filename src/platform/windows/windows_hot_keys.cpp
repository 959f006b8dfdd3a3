#include "platform/windows/windows_hot_keys.h"

#include <QByteArray>
#include <QGuiApplication>

#include <windows.h>

namespace qw::platform {
namespace {

UINT virtualKey(int key) {
  // The virtual-key codes of digits and letters are their upper-case ASCII codes, as Qt's are.
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return UINT(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + UINT(key - Qt::Key_F1);
  return 0;
}

constexpr unsigned kAllModifiers = HotKey::Super | HotKey::Shift | HotKey::Control | HotKey::Alt;

UINT windowsModifiers(unsigned modifiers) {
  UINT mods = MOD_NOREPEAT;  // a held key must not fire again
  if (modifiers & HotKey::Super) mods |= MOD_WIN;
  if (modifiers & HotKey::Shift) mods |= MOD_SHIFT;
  if (modifiers & HotKey::Control) mods |= MOD_CONTROL;
  if (modifiers & HotKey::Alt) mods |= MOD_ALT;
  return mods;
}

}  // namespace

WindowsHotKeys::WindowsHotKeys(QObject* parent) : GlobalHotKeys(parent) {
  qGuiApp->installNativeEventFilter(this);
}

WindowsHotKeys::~WindowsHotKeys() {
  if (qGuiApp != nullptr) qGuiApp->removeNativeEventFilter(this);
  unregisterAll();
}

std::vector<HotKey> WindowsHotKeys::registerKeys(const std::vector<HotKey>& keys) {
  unregisterAll();
  std::vector<HotKey> failed;
  for (const HotKey& key : keys) {
    const UINT vk = virtualKey(key.key);
    const int systemId = int(ids_.size()) + 1;
    // Without a window the WM_HOTKEY goes to this thread's queue, where Qt's loop sees it.
    if (vk == 0 || (key.modifiers & ~kAllModifiers) != 0 ||
        !RegisterHotKey(nullptr, systemId, windowsModifiers(key.modifiers), vk)) {
      failed.push_back(key);
      continue;
    }
    ids_.push_back(key.id);
  }
  return failed;
}

void WindowsHotKeys::unregisterAll() {
  for (int i = 0; i < int(ids_.size()); ++i) UnregisterHotKey(nullptr, i + 1);
  ids_.clear();
}

bool WindowsHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) {
  if (eventType != "windows_generic_MSG") return false;
  const MSG* msg = static_cast<const MSG*>(message);
  if (msg->message != WM_HOTKEY || msg->hwnd != nullptr) return false;
  const int systemId = int(msg->wParam);
  if (systemId < 1 || systemId > int(ids_.size())) return false;
  emit activated(ids_[systemId - 1]);
  return true;
}

}  // namespace qw::platform
