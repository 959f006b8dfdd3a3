// Global hot keys against a real X server: a private Xvfb, presses sent by xdotool, and a
// second X client standing in for another program that holds a combination.
#include <QByteArray>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/global_hot_keys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace qw::platform {
namespace {

using Mod = HotKey::Modifier;

const HotKey kSuper1{1, Mod::Super, Qt::Key_1};
const HotKey kSuperShift3{2, Mod::Super | Mod::Shift, Qt::Key_3};
const HotKey kCtrlAltV{3, Mod::Control | Mod::Alt, Qt::Key_V};
const HotKey kSuperF2{4, Mod::Super, Qt::Key_F2};
const std::vector<HotKey> kAll{kSuper1, kSuperShift3, kCtrlAltV, kSuperF2};

// Xvfb on a display number of its own choosing, and the application on it.
class XServer : public ::testing::Environment {
 public:
  XServer(int& argc, char** argv) : argc_(argc), argv_(argv) {}

  void SetUp() override {
    xvfb_.setProgram("Xvfb");
    xvfb_.setArguments({"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
    xvfb_.start();
    ASSERT_TRUE(xvfb_.waitForStarted(10000)) << "Xvfb did not start";
    QByteArray number;
    // Xvfb writes the number once it accepts connections.
    for (int i = 0; i < 300 && !number.contains('\n') && xvfb_.state() == QProcess::Running; ++i) {
      xvfb_.waitForReadyRead(100);
      number += xvfb_.readAllStandardOutput();
    }
    ASSERT_TRUE(number.contains('\n')) << "Xvfb gave no display number";
    qputenv("DISPLAY", ":" + number.trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }

  void TearDown() override {
    // The connection goes first: Qt ends the process when its X server disappears under it.
    app_.reset();
    xvfb_.terminate();
    xvfb_.waitForFinished(5000);
  }

 private:
  int& argc_;
  char** argv_;
  QProcess xvfb_;
  std::unique_ptr<QGuiApplication> app_;
};

// Another program on the same X server.
class OtherClient {
 public:
  OtherClient() : display_(XOpenDisplay(nullptr)) {}
  ~OtherClient() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  bool connected() const { return display_ != nullptr; }
  unsigned numLockMask() { return XkbKeysymToModifiers(display_, XK_Num_Lock); }

  // Grabs the combination on the root window and keeps it; false if someone else has it.
  bool grab(KeySym sym, unsigned mask) {
    failed_ = false;
    current_ = this;
    XErrorHandler previous = XSetErrorHandler(&OtherClient::onError);
    XGrabKey(display_, XKeysymToKeycode(display_, sym), mask, DefaultRootWindow(display_), False,
             GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    current_ = nullptr;
    return !failed_;
  }
  void ungrab(KeySym sym, unsigned mask) {
    XUngrabKey(display_, XKeysymToKeycode(display_, sym), mask, DefaultRootWindow(display_));
    XSync(display_, False);
  }
  // Whether this client could take the combination just now; gives it straight back.
  bool canGrab(KeySym sym, unsigned mask) {
    const bool got = grab(sym, mask);
    if (got) ungrab(sym, mask);
    return got;
  }

  unsigned lockedModifiers() {
    XkbStateRec state{};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    return state.locked_mods;
  }

 private:
  static int onError(Display* display, XErrorEvent*) {
    if (current_ != nullptr && display == current_->display_) current_->failed_ = true;
    return 0;
  }

  static inline OtherClient* current_ = nullptr;
  Display* display_;
  bool failed_ = false;
};

class X11HotKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(qGuiApp, nullptr) << "no application on the X server";
    ASSERT_TRUE(other_.connected());
    hotKeys_ = GlobalHotKeys::create();
    ASSERT_TRUE(hotKeys_->available());
    spy_ = std::make_unique<QSignalSpy>(hotKeys_.get(), &GlobalHotKeys::activated);
  }

  void TearDown() override {
    // Tests share the server when run in one process; leave no lock switched on.
    if (other_.lockedModifiers() & other_.numLockMask()) xdotool({"key", "Num_Lock"});
    if (other_.lockedModifiers() & LockMask) xdotool({"key", "Caps_Lock"});
  }

  static void xdotool(const QStringList& arguments) {
    EXPECT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
  }
  static void press(const QString& keys) { xdotool({"key", keys}); }

  // The ids fired so far, once `count` of them have arrived (or the wait gave up).
  std::vector<int> idsAfter(int count) {
    // A short list after the wait says more than a bare timeout would.
    (void)QTest::qWaitFor([&] { return spy_->count() >= count; }, 10000);
    std::vector<int> ids;
    for (const QList<QVariant>& arguments : *spy_) ids.push_back(arguments.at(0).toInt());
    return ids;
  }

  OtherClient other_;
  std::unique_ptr<GlobalHotKeys> hotKeys_;
  std::unique_ptr<QSignalSpy> spy_;
};

// Events from one server arrive in order, so once a later key has fired every press before it
// has been seen: the lists below are complete, not merely what came in time.

TEST_F(X11HotKeysTest, EachKeyFiresItsOwnIdAndOthersNothing) {
  ASSERT_EQ(hotKeys_->registerKeys(kAll), std::vector<HotKey>{});
  press("super+2");        // not registered
  press("super+shift+1");  // registered key, other modifiers
  press("super+1");
  press("super+shift+3");
  press("ctrl+alt+v");
  press("super+F2");
  EXPECT_EQ(idsAfter(4), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(X11HotKeysTest, HeldKeyFiresOnceAndAgainAfterRelease) {
  ASSERT_EQ(hotKeys_->registerKeys(kAll), std::vector<HotKey>{});
  xdotool({"keydown", "super+1"});
  ASSERT_EQ(idsAfter(1), std::vector<int>{1});
  // Past the server's auto-repeat delay, then a press of the key already down, as a repeat is.
  QTest::qWait(800);
  xdotool({"keydown", "1"});
  xdotool({"keyup", "1"});
  xdotool({"keyup", "super"});
  press("super+1");  // a fresh press after the release counts again
  press("ctrl+alt+v");
  EXPECT_EQ(idsAfter(3), (std::vector<int>{1, 1, 3}));
}

TEST_F(X11HotKeysTest, NumLockAndCapsLockDoNotStopTheKeys) {
  ASSERT_EQ(hotKeys_->registerKeys(kAll), std::vector<HotKey>{});
  press("Num_Lock");
  ASSERT_NE(other_.lockedModifiers() & other_.numLockMask(), 0u) << "NumLock did not lock";
  press("super+1");
  ASSERT_EQ(idsAfter(1), std::vector<int>{1});
  press("Caps_Lock");
  ASSERT_NE(other_.lockedModifiers() & LockMask, 0u) << "CapsLock did not lock";
  press("ctrl+alt+v");
  ASSERT_EQ(idsAfter(2), (std::vector<int>{1, 3}));
  press("Num_Lock");  // CapsLock alone
  press("super+shift+3");
  EXPECT_EQ(idsAfter(3), (std::vector<int>{1, 3, 2}));
}

TEST_F(X11HotKeysTest, CombinationHeldByAnotherProgramIsReturnedAndTheRestWork) {
  ASSERT_TRUE(other_.grab(XK_3, Mod4Mask | ShiftMask));
  EXPECT_EQ(hotKeys_->registerKeys(kAll), std::vector<HotKey>{kSuperShift3});
  press("super+1");
  ASSERT_EQ(idsAfter(1), std::vector<int>{1});

  // The other program held only the plain combination, so the lock variants were ours for a
  // moment: left grabbed they would keep the key from everyone with NumLock on.
  other_.ungrab(XK_3, Mod4Mask | ShiftMask);
  const unsigned numLock = other_.numLockMask();
  for (unsigned mask : {Mod4Mask | ShiftMask | numLock, unsigned(Mod4Mask | ShiftMask | LockMask),
                        Mod4Mask | ShiftMask | numLock | LockMask}) {
    EXPECT_TRUE(other_.canGrab(XK_3, mask)) << mask;
  }
  press("Num_Lock");
  press("super+shift+3");
  press("super+F2");
  EXPECT_EQ(idsAfter(2), (std::vector<int>{1, 4}));
}

TEST_F(X11HotKeysTest, EachCombinationHeldElsewhereIsReturnedInTheOrderAsked) {
  // Held only with NumLock on: the refusal comes from a lock variant of the key.
  ASSERT_TRUE(other_.grab(XK_F2, Mod4Mask | other_.numLockMask()));
  ASSERT_TRUE(other_.grab(XK_1, Mod4Mask));
  const HotKey unmapped{5, Mod::Super, Qt::Key_Escape};
  EXPECT_EQ(hotKeys_->registerKeys({kSuperF2, kSuperShift3, unmapped, kSuper1, kCtrlAltV}),
            (std::vector<HotKey>{kSuperF2, unmapped, kSuper1}));
  press("ctrl+alt+v");
  press("super+shift+3");
  EXPECT_EQ(idsAfter(2), (std::vector<int>{3, 2}));
}

TEST_F(X11HotKeysTest, RegisteringAgainReplacesTheEarlierKeys) {
  ASSERT_EQ(hotKeys_->registerKeys({kSuper1, kCtrlAltV}), std::vector<HotKey>{});
  ASSERT_EQ(hotKeys_->registerKeys({kSuperShift3, kSuperF2}), std::vector<HotKey>{});
  press("super+1");
  press("ctrl+alt+v");
  press("super+shift+3");
  press("super+F2");
  EXPECT_EQ(idsAfter(2), (std::vector<int>{2, 4}));
  // And the dropped ones are free for other programs again.
  EXPECT_TRUE(other_.canGrab(XK_1, Mod4Mask));
  EXPECT_FALSE(other_.canGrab(XK_F2, Mod4Mask));
}

TEST_F(X11HotKeysTest, UnregisterAndDestructionFreeEveryLockVariant) {
  const unsigned numLock = other_.numLockMask();
  ASSERT_NE(numLock, 0u);
  const std::vector<unsigned> variants{Mod4Mask, Mod4Mask | numLock, Mod4Mask | LockMask,
                                       Mod4Mask | numLock | LockMask};
  ASSERT_EQ(hotKeys_->registerKeys(kAll), std::vector<HotKey>{});
  for (unsigned mask : variants) EXPECT_FALSE(other_.canGrab(XK_1, mask)) << mask;

  hotKeys_->unregisterAll();
  for (unsigned mask : variants) EXPECT_TRUE(other_.canGrab(XK_1, mask)) << mask;

  ASSERT_EQ(hotKeys_->registerKeys(kAll), std::vector<HotKey>{});
  EXPECT_FALSE(other_.canGrab(XK_F2, Mod4Mask | LockMask));
  spy_.reset();
  hotKeys_.reset();
  for (unsigned mask : variants) EXPECT_TRUE(other_.canGrab(XK_F2, mask)) << mask;
}

TEST_F(X11HotKeysTest, KeysThatCannotBeMappedOrRepeatACombinationAreRefused) {
  const HotKey escape{7, Mod::Super, Qt::Key_Escape};
  const HotKey sameAsFirst{8, Mod::Super, Qt::Key_1};
  const HotKey unknownModifier{9, 16, Qt::Key_A};
  EXPECT_EQ(hotKeys_->registerKeys({kSuper1, escape, sameAsFirst, unknownModifier}),
            (std::vector<HotKey>{escape, sameAsFirst, unknownModifier}));
  press("super+1");
  EXPECT_EQ(idsAfter(1), std::vector<int>{1});
}

TEST(GlobalHotKeysDescribe, NamesModifiersInAFixedOrderThenTheKey) {
  EXPECT_EQ(describe(kSuperShift3), "Super+Shift+3");
  EXPECT_EQ(describe(kCtrlAltV), "Ctrl+Alt+V");
  EXPECT_EQ(describe(kSuperF2), "Super+F2");
  EXPECT_EQ(describe({0, Mod::Shift | Mod::Alt | Mod::Control | Mod::Super, Qt::Key_Z}),
            "Super+Ctrl+Alt+Shift+Z");
  EXPECT_EQ(describe({0, 0, Qt::Key_F12}), "F12");
  EXPECT_EQ(describe({0, Mod::Alt, Qt::Key_0}), "Alt+0");
}

// Run in a child process by the test below: a session where keys cannot be grabbed.
int offscreenProbe(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  auto hotKeys = GlobalHotKeys::create();
  const auto failed = hotKeys->registerKeys(kAll);
  std::printf("available=%d failed=%zu\n", int(hotKeys->available()), failed.size());
  return failed == kAll ? 0 : 1;
}

TEST(GlobalHotKeysUnavailable, WithoutX11EveryKeyIsReturned) {
  QProcess probe;
  probe.start(QCoreApplication::applicationFilePath(), {"--offscreen-probe"});
  ASSERT_TRUE(probe.waitForFinished(30000));
  EXPECT_EQ(probe.exitCode(), 0);
  EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "available=0 failed=4");
}

}  // namespace
}  // namespace qw::platform

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--offscreen-probe") == 0) {
    return qw::platform::offscreenProbe(argc, argv);
  }
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new qw::platform::XServer(argc, argv));
  return RUN_ALL_TESTS();
}
