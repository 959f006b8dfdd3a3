#pragma once
// Global hot keys on an X11 session: passive grabs on the root window of Qt's own connection,
// so the presses come back through Qt's xcb event stream.

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/global_hot_keys.h"

struct _XDisplay;

namespace qw::platform {

class X11HotKeys final : public GlobalHotKeys, public QAbstractNativeEventFilter {
 public:
  // Null unless the QGuiApplication runs on xcb with an Xlib display.
  static std::unique_ptr<X11HotKeys> create(QObject* parent);

  X11HotKeys(_XDisplay* display, QObject* parent);
  ~X11HotKeys() override;

  bool available() const override { return true; }
  std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys) override;
  void unregisterAll() override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  struct Grab {
    int id;
    unsigned keycode;
    unsigned mask;  // X modifier mask, without NumLock and CapsLock
  };

  // The combinations grabbed for one key: NumLock and CapsLock on or off must not matter.
  std::vector<unsigned> lockVariants(unsigned mask) const;
  void ungrab(const Grab& grab);

  _XDisplay* display_;
  unsigned long root_;
  unsigned numLockMask_ = 0;
  std::vector<Grab> grabs_;
  std::set<unsigned> held_;  // keycodes of grabs pressed and not yet released
  // Release time per keycode, to spot the release+press pairs of auto-repeat if the server
  // cannot suppress them.
  std::map<unsigned, std::uint32_t> lastRelease_;
};

}  // namespace qw::platform
