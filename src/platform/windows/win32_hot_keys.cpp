#include "platform/windows/win32_hot_keys.h"

#include <cstddef>
#include <utility>

namespace qw::platform {
namespace {

constexpr wchar_t kWindowClass[] = L"QuillWickHotKeys";
constexpr unsigned kAllModifiers = HotKey::Super | HotKey::Shift | HotKey::Control | HotKey::Alt;

// Once per process; a class left registered by an earlier object is the same class.
bool registerWindowClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

namespace win32 {

UINT virtualKey(int key) {
  // The virtual-key codes of digits and upper-case letters are their ASCII codes, as Qt's are.
  if ((key >= keys::k0 && key <= keys::k9) || (key >= keys::kA && key <= keys::kZ))
    return UINT(key);
  // Windows has F1 to F24.
  if (key >= keys::kF1 && key < keys::kF1 + 24) return VK_F1 + UINT(key - keys::kF1);
  return 0;
}

UINT modifierFlags(unsigned modifiers) {
  UINT flags = MOD_NOREPEAT;
  if (modifiers & HotKey::Super) flags |= MOD_WIN;
  if (modifiers & HotKey::Shift) flags |= MOD_SHIFT;
  if (modifiers & HotKey::Control) flags |= MOD_CONTROL;
  if (modifiers & HotKey::Alt) flags |= MOD_ALT;
  return flags;
}

}  // namespace win32

Win32HotKeys::Win32HotKeys(Pressed pressed) : pressed_(std::move(pressed)) {
  if (!registerWindowClass(&Win32HotKeys::windowProc)) return;
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), this);
}

Win32HotKeys::~Win32HotKeys() {
  unregisterAll();
  if (window_ != nullptr) DestroyWindow(window_);
}

std::vector<HotKey> Win32HotKeys::registerKeys(const std::vector<HotKey>& keys) {
  unregisterAll();
  std::vector<HotKey> failed;
  for (const HotKey& key : keys) {
    const UINT vk = win32::virtualKey(key.key);
    const int identifier = int(ids_.size()) + 1;
    if (window_ == nullptr || vk == 0 || (key.modifiers & ~kAllModifiers) != 0 ||
        !RegisterHotKey(window_, identifier, win32::modifierFlags(key.modifiers), vk)) {
      failed.push_back(key);
      continue;
    }
    ids_.push_back(key.id);
  }
  return failed;
}

void Win32HotKeys::unregisterAll() {
  for (int n = 1; n <= int(ids_.size()); ++n) UnregisterHotKey(window_, n);
  ids_.clear();
}

LRESULT CALLBACK Win32HotKeys::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (message == WM_HOTKEY) {
    auto* self = reinterpret_cast<Win32HotKeys*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Identifiers below 0 are the system's own (IDHOT_SNAPDESKTOP and such).
    const auto identifier = static_cast<long long>(wParam);
    if (self != nullptr && identifier >= 1 &&
        identifier <= static_cast<long long>(self->ids_.size())) {
      const int id = self->ids_[std::size_t(identifier - 1)];
      if (self->pressed_) self->pressed_(id);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qw::platform
