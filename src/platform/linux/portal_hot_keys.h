#pragma once
// Global hot keys on a Wayland session: the desktop's GlobalShortcuts portal binds them by name,
// may let the user choose other combinations, and tells us when one is pressed.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QMap>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <vector>

#include "platform/global_hot_keys.h"

class QDBusMessage;

namespace qw::platform {

// The portal's words for a combination, as the freedesktop shortcuts format writes it:
// "LOGO+F2", "LOGO+SHIFT+1", "CTRL+SHIFT+F10"; empty for a key it has no name for.
QString portalTrigger(const HotKey& key);

class PortalHotKeys final : public GlobalHotKeys {
  Q_OBJECT
 public:
  // Null when `bus` has no desktop portal, running or to be started on demand.
  static std::unique_ptr<PortalHotKeys> create(const QDBusConnection& bus, QObject* parent);

  PortalHotKeys(QDBusConnection bus, QObject* parent);
  ~PortalHotKeys() override;

  bool available() const override { return !failed_; }
  // The portal answers later: this returns no key, and keysUnavailable() says when it refused.
  std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys) override;
  void unregisterAll() override;
  bool desktopChoosesKeys() const override { return true; }
  QString trigger(int id) const override { return triggers_.value(id); }

 private slots:
  void requestAnswered(const QDBusMessage& message);
  void shortcutActivated(const QDBusMessage& message);
  void shortcutsChanged(const QDBusMessage& message);

 private:
  using Answer = std::function<void(const QVariantMap& results)>;
  // Calls a portal method that answers through a Request object; `answered` runs on success.
  void ask(const QString& method, QList<QVariant> arguments, const Answer& answered);
  void createSession();
  void bindShortcuts();
  void closeSession();
  void fail();
  // Reads the portal's list of shortcuts (a(sa{sv})) into triggers_.
  void takeTriggers(const QVariant& shortcuts);

  QDBusConnection bus_;
  std::vector<HotKey> keys_;
  QString session_;  // our session's object path, once created
  QString request_;  // the Request object we wait on, or empty
  Answer answered_;  // what to do when it answers
  QMap<int, QString> triggers_;
  int generation_ = 0;  // a new registerKeys() makes earlier answers stale
  bool failed_ = false;
  int tokens_ = 0;
  int sessions_ = 0;
};

}  // namespace qw::platform
