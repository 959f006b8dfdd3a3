#include "platform/global_hot_keys.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QStringList>

#if defined(Q_OS_WIN)
#include "platform/windows/windows_hot_keys.h"
#else
#include "platform/desktop_session.h"
#include "platform/linux/portal_hot_keys.h"
#include "platform/linux/x11_hot_keys.h"
#endif

namespace qw::platform {
namespace {

static_assert(keys::k0 == Qt::Key_0 && keys::k9 == Qt::Key_9);
static_assert(keys::kA == Qt::Key_A && keys::kZ == Qt::Key_Z);
static_assert(keys::kF1 == Qt::Key_F1 && keys::kF35 == Qt::Key_F35);

// A Wayland desktop without the portal, offscreen and anything else without a way to grab keys for
// the whole desktop.
class UnavailableHotKeys final : public GlobalHotKeys {
 public:
  using GlobalHotKeys::GlobalHotKeys;
  bool available() const override { return false; }
  std::vector<HotKey> registerKeys(const std::vector<HotKey>& keys) override { return keys; }
  void unregisterAll() override {}
};

}  // namespace

QString describe(const HotKey& key) {
  QStringList parts;
  if (key.modifiers & HotKey::Super) parts << QStringLiteral("Super");
  if (key.modifiers & HotKey::Control) parts << QStringLiteral("Ctrl");
  if (key.modifiers & HotKey::Alt) parts << QStringLiteral("Alt");
  if (key.modifiers & HotKey::Shift) parts << QStringLiteral("Shift");
  if ((key.key >= Qt::Key_0 && key.key <= Qt::Key_9) ||
      (key.key >= Qt::Key_A && key.key <= Qt::Key_Z)) {
    parts << QString(QChar(key.key));
  } else if (key.key >= Qt::Key_F1 && key.key <= Qt::Key_F35) {
    parts << QStringLiteral("F%1").arg(key.key - Qt::Key_F1 + 1);
  } else {
    // Not one we register, but the message should still say something readable.
    const QString name = QKeySequence(key.key).toString(QKeySequence::PortableText);
    parts << (name.isEmpty() ? QStringLiteral("0x%1").arg(key.key, 0, 16) : name);
  }
  return parts.join(QLatin1Char('+'));
}

std::unique_ptr<GlobalHotKeys> GlobalHotKeys::create(QObject* parent) {
#if defined(Q_OS_WIN)
  return std::make_unique<WindowsHotKeys>(parent);
#else
  if (isWaylandSession()) {
    // Even through XWayland: its grabs would see only the keys typed into our own windows.
    if (auto portal = PortalHotKeys::create(QDBusConnection::sessionBus(), parent)) return portal;
    return std::make_unique<UnavailableHotKeys>(parent);
  }
  if (auto x11 = X11HotKeys::create(parent)) return x11;
  return std::make_unique<UnavailableHotKeys>(parent);
#endif
}

}  // namespace qw::platform
