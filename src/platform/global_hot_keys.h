#pragma once
// Keys that reach the program whichever window has the focus.

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace qw::platform {

struct HotKey {
  enum Modifier : unsigned { Super = 1, Shift = 2, Control = 4, Alt = 8 };
  int id = 0;             // given back by activated()
  unsigned modifiers = 0; // Modifier flags
  int key = 0;            // a Qt::Key: Qt::Key_F2, Qt::Key_0..Qt::Key_9, Qt::Key_A..Qt::Key_Z (others may be refused)
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

// "Super+Shift+3", "Ctrl+Alt+V", "Super+F2": for messages naming keys that could not be registered.
QString describe(const HotKey& key);

class GlobalHotKeys : public QObject {
  Q_OBJECT
 public:
  // The backend for this session: X11 when Qt runs on xcb, RegisterHotKey on Windows, otherwise
  // one whose available() is false. Needs a QGuiApplication.
  static std::unique_ptr<GlobalHotKeys> create(QObject* parent = nullptr);
  virtual bool available() const = 0;
  // Replaces every earlier registration by `keys`; returns the keys that could not be registered
  // (taken by another program, or a key this backend cannot map), in the given order. The others work.
  virtual std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys) = 0;
  virtual void unregisterAll() = 0;  // also done by the destructor
 signals:
  void activated(int id);  // on the GUI thread, once per key press (auto-repeat while held must NOT fire again)

 protected:
  using QObject::QObject;
};

}  // namespace qw::platform
