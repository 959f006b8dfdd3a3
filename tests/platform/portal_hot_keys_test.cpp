// The keys through the GlobalShortcuts portal: a private session bus per test, with the test's
// own portal on it (or none), and the backend talking to it as it talks to the desktop's.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include "platform/linux/portal_hot_keys.h"

namespace qw::platform {
namespace {

using namespace std::chrono_literals;

class PortalHotKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A bus of its own that can start no service: no portal unless the test starts one, even
    // where a real one is installed.
    ASSERT_TRUE(config_.open());
    config_.write(
        "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
        "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
    config_.close();
    bus_.start("dbus-daemon",
               {"--config-file=" + config_.fileName(), "--nofork", "--print-address=1"});
    ASSERT_TRUE(bus_.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bus_.canReadLine() || bus_.waitForReadyRead(50); }));
    address_ = QString::fromUtf8(bus_.readLine().trimmed());
    connection_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(address_, QStringLiteral("test%1").arg(++connections_)));
    ASSERT_TRUE(connection_->isConnected());
  }

  void TearDown() override {
    keys_.reset();
    const QString name = connection_->name();
    connection_.reset();
    QDBusConnection::disconnectFromBus(name);
    for (QProcess* process : {&portal_, &bus_}) {
      process->kill();
      process->waitForFinished(3000);
    }
  }

  void startPortal(const QStringList& arguments = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
    portal_.setProcessEnvironment(environment);
    portal_.start(QW_FAKE_PORTAL, arguments);
    ASSERT_TRUE(portal_.waitForStarted(5000));
    ASSERT_TRUE(waitForLine("ready"));
  }

  // Waits for the portal to write a line starting with `start`, keeping every line read.
  bool waitForLine(const QString& start) {
    return QTest::qWaitFor(
        [&] {
          while (portal_.canReadLine()) lines_ << QString::fromUtf8(portal_.readLine()).trimmed();
          for (const QString& line : lines_)
            if (line.startsWith(start)) return true;
          return false;
        },
        10000);
  }

  void tell(const QString& command) {
    portal_.write((command + "\n").toUtf8());
    ASSERT_TRUE(waitForLine("done " + command));
  }

  // The backend, bound to the keys as the program binds its first three.
  void bind() {
    keys_ = PortalHotKeys::create(*connection_, nullptr);
    ASSERT_NE(keys_, nullptr);
    const std::vector<HotKey> asked{
        {0, HotKey::Super, keys::kF1 + 1, "HotkeyActivate", "Show the window"},
        {1, HotKey::Super, keys::k0 + 1, "Hotkey1", "Copy card 1"},
        {11, HotKey::Super | HotKey::Shift, keys::k0 + 1, "Hotkey1up", "Feed card 1"},
    };
    EXPECT_TRUE(keys_->registerKeys(asked).empty());  // the answer comes later
    ASSERT_TRUE(waitForLine("bound-all"));
  }

  QTemporaryFile config_;
  QProcess bus_;
  QProcess portal_;
  QString address_;
  std::unique_ptr<QDBusConnection> connection_;
  std::unique_ptr<PortalHotKeys> keys_;
  QStringList lines_;
  static inline int connections_ = 0;
};

TEST(PortalTrigger, WritesTheFreedesktopShortcutFormat) {
  EXPECT_EQ(portalTrigger({0, HotKey::Super, keys::kF1 + 1}), "LOGO+F2");
  EXPECT_EQ(portalTrigger({0, HotKey::Super | HotKey::Shift, keys::k0 + 3}), "SHIFT+LOGO+3");
  EXPECT_EQ(portalTrigger({0, HotKey::Super, keys::kA + ('V' - 'A')}), "LOGO+v");
  EXPECT_EQ(portalTrigger({0, HotKey::Control | HotKey::Alt | HotKey::Shift, keys::kF1 + 8}),
            "CTRL+ALT+SHIFT+F9");
  EXPECT_EQ(portalTrigger({0, HotKey::Super, 0x01000000 /* Escape */}), "");
}

TEST_F(PortalHotKeysTest, NoPortalOnTheBusMeansNoBackend) {
  EXPECT_EQ(PortalHotKeys::create(*connection_, nullptr), nullptr);
}

TEST_F(PortalHotKeysTest, BindsEveryKeyByNameWithItsDescriptionAndPreferredTrigger) {
  startPortal();
  bind();
  EXPECT_TRUE(lines_.contains("bound HotkeyActivate\tLOGO+F2\tShow the window"))
      << lines_.join("\n").toStdString();
  EXPECT_TRUE(lines_.contains("bound Hotkey1\tLOGO+1\tCopy card 1"));
  EXPECT_TRUE(lines_.contains("bound Hotkey1up\tSHIFT+LOGO+1\tFeed card 1"));
  EXPECT_TRUE(lines_.contains("bound-all 3"));
  // The same session name every run: KDE keeps the user's own keys under it.
  EXPECT_TRUE(lines_.filter("session ").value(0).endsWith("/quillwick"))
      << lines_.join("\n").toStdString();
  // The desktop's answer names the triggers it gave.
  EXPECT_TRUE(QTest::qWaitFor([&] { return keys_->trigger(0) == "LOGO+F2"; }));
  EXPECT_EQ(keys_->trigger(11), "SHIFT+LOGO+1");
  EXPECT_TRUE(keys_->available());
}

TEST_F(PortalHotKeysTest, AnActivationOfOurSessionGivesItsKeyOnce) {
  startPortal();
  bind();
  QSignalSpy activated(keys_.get(), &GlobalHotKeys::activated);
  tell("activate Hotkey1up");
  ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
  // Another program's session and names we never bound are not ours.
  tell("activate-other Hotkey1");
  tell("activate NoSuchKey");
  tell("activate HotkeyActivate");
  ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 2; }, 5000));
  QTest::qWait(100);
  ASSERT_EQ(activated.count(), 2);
  EXPECT_EQ(activated.at(0).at(0).toInt(), 11);
  EXPECT_EQ(activated.at(1).at(0).toInt(), 0);
}

TEST_F(PortalHotKeysTest, FollowsTriggersTheUserChangesInTheDesktop) {
  startPortal();
  bind();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !keys_->trigger(0).isEmpty(); }));
  QSignalSpy changed(keys_.get(), &GlobalHotKeys::triggersChanged);
  tell("change HotkeyActivate CTRL+ALT+Q");
  ASSERT_TRUE(QTest::qWaitFor([&] { return changed.count() == 1; }, 5000));
  EXPECT_EQ(keys_->trigger(0), "CTRL+ALT+Q");
}

TEST_F(PortalHotKeysTest, ANewSetClosesTheOldSessionAndBindsInANewOne) {
  startPortal();
  bind();
  QSignalSpy activated(keys_.get(), &GlobalHotKeys::activated);
  lines_.clear();
  keys_->registerKeys({{21, HotKey::Super, keys::kA + ('C' - 'A'), "HotkeyCopyText", "Next"}});
  ASSERT_TRUE(waitForLine("bound-all 1"));
  EXPECT_TRUE(waitForLine("closed "));
  EXPECT_TRUE(lines_.contains("bound HotkeyCopyText\tLOGO+c\tNext"));
  EXPECT_TRUE(lines_.filter("session ").value(0).endsWith("/quillwick2"));
  tell("activate HotkeyCopyText");
  ASSERT_TRUE(QTest::qWaitFor([&] { return activated.count() == 1; }, 5000));
  EXPECT_EQ(activated.at(0).at(0).toInt(), 21);
}

TEST_F(PortalHotKeysTest, ARefusedBindingSaysTheKeysAreUnavailable) {
  startPortal({"--refuse"});
  keys_ = PortalHotKeys::create(*connection_, nullptr);
  ASSERT_NE(keys_, nullptr);
  QSignalSpy unavailable(keys_.get(), &GlobalHotKeys::keysUnavailable);
  keys_->registerKeys({{0, HotKey::Super, keys::kF1 + 1, "HotkeyActivate", "Show"}});
  ASSERT_TRUE(QTest::qWaitFor([&] { return unavailable.count() == 1; }, 5000));
  EXPECT_FALSE(keys_->available());
  // Said once: a second set is not asked for again, nor reported again.
  keys_->registerKeys({{0, HotKey::Super, keys::kF1 + 1, "HotkeyActivate", "Show"}});
  QTest::qWait(300);
  EXPECT_EQ(unavailable.count(), 1);
}

TEST_F(PortalHotKeysTest, APortalGoneBeforeItAnsweredSaysTheKeysAreUnavailable) {
  // As a desktop portal whose backend has no GlobalShortcuts: the call ends in an error.
  startPortal();
  keys_ = PortalHotKeys::create(*connection_, nullptr);
  ASSERT_NE(keys_, nullptr);
  QSignalSpy unavailable(keys_.get(), &GlobalHotKeys::keysUnavailable);
  portal_.kill();
  portal_.waitForFinished(3000);
  keys_->registerKeys({{0, HotKey::Super, keys::kF1 + 1, "HotkeyActivate", "Show"}});
  EXPECT_TRUE(QTest::qWaitFor([&] { return unavailable.count() == 1; }, 30000));
}

}  // namespace
}  // namespace qw::platform

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
