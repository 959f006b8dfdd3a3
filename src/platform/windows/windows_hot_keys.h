#pragma once
// Global hot keys on Windows: RegisterHotKey on the GUI thread, WM_HOTKEY read from Qt's
// message loop.

#include <QAbstractNativeEventFilter>

#include <vector>

#include "platform/global_hot_keys.h"

namespace qw::platform {

class WindowsHotKeys final : public GlobalHotKeys, public QAbstractNativeEventFilter {
 public:
  explicit WindowsHotKeys(QObject* parent);
  ~WindowsHotKeys() override;

  bool available() const override { return true; }
  std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys) override;
  void unregisterAll() override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  // Index i is registered with the system as id i + 1; the caller's ids can be any int.
  std::vector<int> ids_;
};

}  // namespace qw::platform
