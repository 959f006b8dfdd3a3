// A desktop portal with only the GlobalShortcuts interface, as the freedesktop documentation
// specifies it, on the session bus it is started on. It grants every binding with the preferred
// trigger and writes what it was given on standard output:
//   session PATH
//   bound ID<TAB>PREFERRED TRIGGER<TAB>DESCRIPTION      (one line per shortcut)
//   bound-all N
//   closed PATH
// Lines on standard input press the keys, as the desktop would:
//   activate ID          Activated then Deactivated on the last session
//   activate-other ID    the same on a session that is not the client's
//   change ID TRIGGER    ShortcutsChanged: the user gave ID another trigger
// With --refuse the user turns the binding down (response 1).

#include <unistd.h>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

namespace {

struct Shortcut {
  QString id;
  QVariantMap properties;
};

}  // namespace

Q_DECLARE_METATYPE(Shortcut)

namespace {

QDBusArgument& operator<<(QDBusArgument& out, const Shortcut& shortcut) {
  out.beginStructure();
  out << shortcut.id << shortcut.properties;
  out.endStructure();
  return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, Shortcut& shortcut) {
  in.beginStructure();
  in >> shortcut.id >> shortcut.properties;
  in.endStructure();
  return in;
}

const QString kRoot = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

void say(const QString& line) {
  std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
  std::fflush(stdout);
}

QString senderPart(const QDBusMessage& message) {
  QString sender = message.service().mid(1);
  return sender.replace(QLatin1Char('.'), QLatin1Char('_'));
}

class Portal final : public QDBusVirtualObject {
 public:
  Portal(QDBusConnection bus, bool refuse) : bus_(std::move(bus)), refuse_(refuse) {}

  QString introspect(const QString& path) const override {
    if (path != kRoot) return {};
    return QStringLiteral(
        "<interface name=\"org.freedesktop.portal.GlobalShortcuts\">"
        "<method name=\"CreateSession\"><arg type=\"a{sv}\" direction=\"in\"/>"
        "<arg type=\"o\" direction=\"out\"/></method>"
        "<method name=\"BindShortcuts\"><arg type=\"o\" direction=\"in\"/>"
        "<arg type=\"a(sa{sv})\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/>"
        "<arg type=\"a{sv}\" direction=\"in\"/><arg type=\"o\" direction=\"out\"/></method>"
        "<signal name=\"Activated\"><arg type=\"o\"/><arg type=\"s\"/><arg type=\"t\"/>"
        "<arg type=\"a{sv}\"/></signal>"
        "<signal name=\"Deactivated\"><arg type=\"o\"/><arg type=\"s\"/><arg type=\"t\"/>"
        "<arg type=\"a{sv}\"/></signal>"
        "<signal name=\"ShortcutsChanged\"><arg type=\"o\"/><arg type=\"a(sa{sv})\"/></signal>"
        "<property name=\"version\" type=\"u\" access=\"read\"/>"
        "</interface>");
  }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.path().startsWith(kRoot + QStringLiteral("/session/"))) {
      if (message.member() == QLatin1String("Close")) {
        say(QStringLiteral("closed ") + message.path());
        connection.send(message.createReply());
        return true;
      }
      return false;
    }
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
        message.member() == QLatin1String("Get")) {
      connection.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
      return true;
    }
    if (message.interface() != kInterface) return false;
    const QList<QVariant> arguments = message.arguments();
    if (message.member() == QLatin1String("CreateSession") && arguments.size() == 1) {
      const auto options = qdbus_cast<QVariantMap>(arguments.at(0));
      session_ = kRoot + QStringLiteral("/session/") + senderPart(message) + QLatin1Char('/') +
                 options.value(QStringLiteral("session_handle_token")).toString();
      say(QStringLiteral("session ") + session_);
      answer(message, connection, options, 0, {{QStringLiteral("session_handle"), session_}});
      return true;
    }
    if (message.member() == QLatin1String("BindShortcuts") && arguments.size() == 4) {
      QList<Shortcut> shortcuts;
      arguments.at(1).value<QDBusArgument>() >> shortcuts;
      granted_.clear();
      for (const Shortcut& shortcut : shortcuts) {
        const QString trigger =
            shortcut.properties.value(QStringLiteral("preferred_trigger")).toString();
        const QString description =
            shortcut.properties.value(QStringLiteral("description")).toString();
        say(QStringLiteral("bound %1\t%2\t%3").arg(shortcut.id, trigger, description));
        granted_.push_back({shortcut.id,
                            {{QStringLiteral("description"), description},
                             {QStringLiteral("trigger_description"), trigger}}});
      }
      say(QStringLiteral("bound-all %1").arg(shortcuts.size()));
      const auto options = qdbus_cast<QVariantMap>(arguments.at(3));
      answer(message, connection, options, refuse_ ? 1 : 0,
             refuse_ ? QVariantMap{}
                     : QVariantMap{{QStringLiteral("shortcuts"), QVariant::fromValue(granted_)}});
      return true;
    }
    connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                             QStringLiteral("not in this portal")));
    return true;
  }

  void command(const QString& line) {
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() == 2 && words[0].startsWith(QLatin1String("activate"))) {
      const QString session = words[0] == QLatin1String("activate-other")
                                  ? kRoot + QStringLiteral("/session/somebody/else")
                                  : session_;
      const auto now = static_cast<qulonglong>(QDateTime::currentMSecsSinceEpoch());
      for (const char* signal : {"Activated", "Deactivated"}) {
        QDBusMessage press = QDBusMessage::createSignal(kRoot, kInterface, signal);
        press << QVariant::fromValue(QDBusObjectPath(session)) << words[1] << now << QVariantMap();
        bus_.send(press);
      }
    } else if (words.size() == 3 && words[0] == QLatin1String("change")) {
      QList<Shortcut> changed;
      for (Shortcut shortcut : granted_) {
        if (shortcut.id != words[1]) continue;
        shortcut.properties.insert(QStringLiteral("trigger_description"), words[2]);
        changed.push_back(shortcut);
      }
      QDBusMessage signal =
          QDBusMessage::createSignal(kRoot, kInterface, QStringLiteral("ShortcutsChanged"));
      signal << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(changed);
      bus_.send(signal);
    }
    say(QStringLiteral("done ") + line);
  }

 private:
  // Replies with the Request object's path, then answers on it, as a real portal does.
  void answer(const QDBusMessage& call, const QDBusConnection& connection,
              const QVariantMap& options, uint response, const QVariantMap& results) {
    const QString request = kRoot + QStringLiteral("/request/") + senderPart(call) +
                            QLatin1Char('/') +
                            options.value(QStringLiteral("handle_token")).toString();
    connection.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage signal = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    signal << response << results;
    QDBusConnection bus = connection;
    QTimer::singleShot(0, [bus, signal]() mutable { bus.send(signal); });
  }

  QDBusConnection bus_;
  bool refuse_;
  QString session_;
  QList<Shortcut> granted_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qDBusRegisterMetaType<Shortcut>();
  qDBusRegisterMetaType<QList<Shortcut>>();
  const bool refuse = app.arguments().contains(QStringLiteral("--refuse"));
  QDBusConnection bus = QDBusConnection::sessionBus();
  Portal portal(bus, refuse);
  if (!bus.registerVirtualObject(kRoot, &portal, QDBusConnection::SubPath) ||
      !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
    std::fputs("fake_portal: cannot take the portal's name on the session bus\n", stderr);
    return 1;
  }
  say(QStringLiteral("ready"));
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
    char buffer[512];
    const ssize_t size = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (size <= 0) {
      app.quit();  // the test is gone
      return;
    }
    static QByteArray pending;
    pending.append(buffer, size);
    for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1))
      portal.command(QString::fromUtf8(pending.left(end)));
  });
  return app.exec();
}
