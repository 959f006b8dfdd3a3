#include "platform/linux/portal_hot_keys.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QStringList>
#include <utility>

namespace {

// One shortcut as the portal takes and gives it: (sa{sv}).
struct PortalShortcut {
  QString id;
  QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& out, const PortalShortcut& shortcut) {
  out.beginStructure();
  out << shortcut.id << shortcut.properties;
  out.endStructure();
  return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, PortalShortcut& shortcut) {
  in.beginStructure();
  in >> shortcut.id >> shortcut.properties;
  in.endStructure();
  return in;
}

}  // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace qw::platform {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");

QString keyName(int key) {
  if (key >= keys::k0 && key <= keys::k9) return QString(QChar(key));
  // Letters by their X keysym names, which are lower case.
  if (key >= keys::kA && key <= keys::kZ) return QString(QChar(key)).toLower();
  if (key >= keys::kF1 && key <= keys::kF35) return QStringLiteral("F%1").arg(key - keys::kF1 + 1);
  return {};
}

QString objectPathOrString(const QVariant& value) {
  if (value.canConvert<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
  return value.toString();
}

QList<PortalShortcut> shortcutsOf(const QVariant& value) {
  QList<PortalShortcut> shortcuts;
  if (value.canConvert<QDBusArgument>()) value.value<QDBusArgument>() >> shortcuts;
  return shortcuts;
}

}  // namespace

QString portalTrigger(const HotKey& key) {
  const QString name = keyName(key.key);
  if (name.isEmpty()) return {};
  QStringList parts;
  if (key.modifiers & HotKey::Control) parts << QStringLiteral("CTRL");
  if (key.modifiers & HotKey::Alt) parts << QStringLiteral("ALT");
  if (key.modifiers & HotKey::Shift) parts << QStringLiteral("SHIFT");
  if (key.modifiers & HotKey::Super) parts << QStringLiteral("LOGO");
  parts << name;
  return parts.join(QLatin1Char('+'));
}

std::unique_ptr<PortalHotKeys> PortalHotKeys::create(const QDBusConnection& bus, QObject* parent) {
  if (!bus.isConnected() || bus.interface() == nullptr) return nullptr;
  QDBusConnectionInterface& names = *bus.interface();
  // The portal is usually started by the bus on the first call.
  if (!names.isServiceRegistered(kService).value() &&
      !names.activatableServiceNames().value().contains(kService))
    return nullptr;
  return std::make_unique<PortalHotKeys>(bus, parent);
}

PortalHotKeys::PortalHotKeys(QDBusConnection bus, QObject* parent)
    : GlobalHotKeys(parent), bus_(std::move(bus)) {
  qDBusRegisterMetaType<PortalShortcut>();
  qDBusRegisterMetaType<QList<PortalShortcut>>();
  bus_.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
               SLOT(shortcutActivated(QDBusMessage)));
  bus_.connect(kService, kPath, kInterface, QStringLiteral("ShortcutsChanged"), this,
               SLOT(shortcutsChanged(QDBusMessage)));
}

PortalHotKeys::~PortalHotKeys() { closeSession(); }

std::vector<HotKey> PortalHotKeys::registerKeys(const std::vector<HotKey>& keys) {
  // A session binds its shortcuts once: another set takes a new session.
  closeSession();
  keys_ = keys;
  ++generation_;
  if (!failed_) createSession();
  return {};
}

void PortalHotKeys::unregisterAll() {
  closeSession();
  keys_.clear();
  ++generation_;
}

void PortalHotKeys::createSession() {
  // KDE names the set of keys it keeps for us after the session's token: the first session of a
  // run always takes the same one, so the keys the user chose there stay ours. A later one (a
  // new set from the options) needs another: the old session may not be closed yet.
  ++sessions_;
  const QString token =
      sessions_ == 1 ? QStringLiteral("quillwick") : QStringLiteral("quillwick%1").arg(sessions_);
  QVariantMap options{{QStringLiteral("session_handle_token"), token}};
  ask(QStringLiteral("CreateSession"), {options}, [this](const QVariantMap& results) {
    session_ = objectPathOrString(results.value(QStringLiteral("session_handle")));
    if (session_.isEmpty()) return fail();
    bindShortcuts();
  });
}

void PortalHotKeys::bindShortcuts() {
  QList<PortalShortcut> shortcuts;
  for (const HotKey& key : keys_) {
    QVariantMap properties{
        {QStringLiteral("description"), QString::fromStdString(key.description)}};
    const QString preferred = portalTrigger(key);
    if (!preferred.isEmpty()) properties.insert(QStringLiteral("preferred_trigger"), preferred);
    shortcuts.push_back({QString::fromStdString(key.name), properties});
  }
  // No parent window: the desktop's dialog stands on its own, the window may be hidden.
  ask(QStringLiteral("BindShortcuts"),
      {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString(),
       QVariantMap()},
      [this](const QVariantMap& results) {
        takeTriggers(results.value(QStringLiteral("shortcuts")));
      });
}

void PortalHotKeys::ask(const QString& method, QList<QVariant> arguments, const Answer& answered) {
  // The Request object's path is known before the call, so its answer cannot come before we
  // listen for it: /org/freedesktop/portal/desktop/request/SENDER/TOKEN.
  const QString token = QStringLiteral("quillwick%1").arg(++tokens_);
  QString sender = bus_.baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  request_ = kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
  answered_ = answered;
  bus_.connect(kService, request_, kRequestInterface, QStringLiteral("Response"), this,
               SLOT(requestAnswered(QDBusMessage)));
  QVariantMap options = arguments.takeLast().toMap();
  options.insert(QStringLiteral("handle_token"), token);
  arguments.push_back(options);

  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
  call.setArguments(arguments);
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  const int generation = generation_;
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, watcher, generation, expected = request_] {
            watcher->deleteLater();
            if (generation != generation_) return;
            const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
            if (reply.isError()) return fail();
            // An older portal may ignore our token: then we listen where it says.
            const QString handle = reply.value().path();
            if (handle != expected && request_ == expected) {
              bus_.disconnect(kService, request_, kRequestInterface, QStringLiteral("Response"),
                              this, SLOT(requestAnswered(QDBusMessage)));
              request_ = handle;
              bus_.connect(kService, request_, kRequestInterface, QStringLiteral("Response"), this,
                           SLOT(requestAnswered(QDBusMessage)));
            }
          });
}

void PortalHotKeys::requestAnswered(const QDBusMessage& message) {
  if (message.path() != request_) return;
  bus_.disconnect(kService, request_, kRequestInterface, QStringLiteral("Response"), this,
                  SLOT(requestAnswered(QDBusMessage)));
  request_.clear();
  const QList<QVariant> arguments = message.arguments();
  // 0 is success, 1 the user cancelled, 2 anything else.
  if (arguments.size() < 2 || arguments.at(0).toUInt() != 0) return fail();
  const Answer answered = std::exchange(answered_, nullptr);
  QVariantMap results;
  arguments.at(1).value<QDBusArgument>() >> results;
  if (answered) answered(results);
}

void PortalHotKeys::shortcutActivated(const QDBusMessage& message) {
  const QList<QVariant> arguments = message.arguments();
  if (arguments.size() < 2 || session_.isEmpty()) return;
  if (objectPathOrString(arguments.at(0)) != session_) return;
  const QString name = arguments.at(1).toString();
  for (const HotKey& key : keys_) {
    if (QString::fromStdString(key.name) == name) {
      emit activated(key.id);
      return;
    }
  }
}

void PortalHotKeys::shortcutsChanged(const QDBusMessage& message) {
  const QList<QVariant> arguments = message.arguments();
  if (arguments.size() < 2 || session_.isEmpty()) return;
  if (objectPathOrString(arguments.at(0)) != session_) return;
  takeTriggers(arguments.at(1));
}

void PortalHotKeys::takeTriggers(const QVariant& shortcuts) {
  QMap<int, QString> triggers;
  for (const PortalShortcut& shortcut : shortcutsOf(shortcuts)) {
    const QString trigger =
        shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    for (const HotKey& key : keys_) {
      if (QString::fromStdString(key.name) == shortcut.id && !trigger.isEmpty())
        triggers.insert(key.id, trigger);
    }
  }
  if (triggers == triggers_) return;
  triggers_ = triggers;
  emit triggersChanged();
}

void PortalHotKeys::closeSession() {
  if (!request_.isEmpty()) {
    bus_.disconnect(kService, request_, kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(requestAnswered(QDBusMessage)));
    request_.clear();
  }
  answered_ = nullptr;
  if (session_.isEmpty()) return;
  bus_.asyncCall(QDBusMessage::createMethodCall(kService, session_, kSessionInterface,
                                                QStringLiteral("Close")));
  session_.clear();
  triggers_.clear();
}

void PortalHotKeys::fail() {
  if (failed_) return;
  closeSession();
  failed_ = true;
  emit keysUnavailable();
}

}  // namespace qw::platform
