#pragma once
// Global hot keys on Windows, for Qt: the Win32 part does the work, this passes its presses on
// as activated(). Qt's event loop dispatches the WM_HOTKEY to the part's own window.

#include <vector>

#include "platform/global_hot_keys.h"
#include "platform/windows/win32_hot_keys.h"

namespace qw::platform {

class WindowsHotKeys final : public GlobalHotKeys {
 public:
  explicit WindowsHotKeys(QObject* parent);
  ~WindowsHotKeys() override;

  bool available() const override { return keys_.available(); }
  std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys) override;
  void unregisterAll() override;

 private:
  Win32HotKeys keys_;
};

}  // namespace qw::platform
