#pragma once
// Keys that reach the program whichever window has the focus.

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

#include "platform/hot_key.h"

namespace qw::platform {

// "Super+Shift+3", "Ctrl+Alt+V", "Super+F2": for messages naming keys that could not be registered.
QString describe(const HotKey& key);

class GlobalHotKeys : public QObject {
  Q_OBJECT
 public:
  // The backend for this session: the desktop's GlobalShortcuts portal on a Wayland session, X11
  // when Qt runs on xcb, RegisterHotKey on Windows, otherwise one whose available() is false.
  // Needs a QGuiApplication.
  static std::unique_ptr<GlobalHotKeys> create(QObject* parent = nullptr);
  virtual bool available() const = 0;
  // Replaces every earlier registration by `keys`; returns the keys that could not be registered
  // (taken by another program, or a key this backend cannot map), in the given order. The others
  // work.
  virtual std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys) = 0;
  virtual void unregisterAll() = 0;  // also done by the destructor
  // Whether the desktop, not the program, decides which combination each key has (the portal).
  virtual bool desktopChoosesKeys() const { return false; }
  // Where it does: the combination it gave key `id`, in its own words; empty for none (yet).
  virtual QString trigger(int /*id*/) const { return {}; }
 signals:
  void activated(int id);  // on the GUI thread, once per key press (auto-repeat while held must NOT
                           // fire again)
  // A backend that answers later (the portal) found that the desktop will not deliver the keys:
  // no portal after all, or the user refused them.
  void keysUnavailable();
  void triggersChanged();  // trigger() has new answers

 protected:
  using QObject::QObject;
};

}  // namespace qw::platform
