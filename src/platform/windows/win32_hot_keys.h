#pragma once
// Global hot keys through RegisterHotKey, without Qt: the keys are registered for a hidden
// message-only window of their own, whose window procedure turns WM_HOTKEY into the caller's
// key id. The window procedure runs from any message loop of the thread that made the object
// (Qt's, or a native modal one such as a message box, which would drop thread messages).

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/hot_key.h"

namespace qw::platform {

class Win32HotKeys {
 public:
  using Pressed = std::function<void(int id)>;

  // `pressed` is called on this thread with the HotKey::id of each key pressed.
  explicit Win32HotKeys(Pressed pressed);
  ~Win32HotKeys();
  Win32HotKeys(const Win32HotKeys&) = delete;
  Win32HotKeys& operator=(const Win32HotKeys&) = delete;

  // False when the window could not be made; every key then fails to register.
  bool available() const { return window_ != nullptr; }
  HWND window() const { return window_; }

  // Replaces every earlier registration by `keys`; returns those that could not be registered
  // (taken elsewhere, or a key or modifier without a Windows equivalent), in the given order.
  // The n-th key that did register (from 1) carries the WM_HOTKEY identifier n.
  std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys);
  void unregisterAll();

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Pressed pressed_;
  HWND window_ = nullptr;
  std::vector<int> ids_;  // index n - 1: the caller's id of WM_HOTKEY identifier n
};

namespace win32 {
// The virtual-key code of a HotKey's key; 0 for a key that has none here.
UINT virtualKey(int key);
// RegisterHotKey's modifier flags, always with MOD_NOREPEAT: a held key must not fire again.
UINT modifierFlags(unsigned modifiers);
}  // namespace win32

}  // namespace qw::platform
