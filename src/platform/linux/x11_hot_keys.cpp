#include "platform/linux/x11_hot_keys.h"

#include <algorithm>

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace qw::platform {
namespace {

// Xlib's error handler is one per process, so the grabs in progress keep here the serial
// numbers of the requests that failed.
Display* g_grabDisplay = nullptr;
std::vector<unsigned long>* g_failedRequests = nullptr;

int recordGrabError(Display* display, XErrorEvent* error) {
  // BadAccess is the usual one (another client holds the combination); any error means the
  // key is not reliably ours.
  if (display == g_grabDisplay && g_failedRequests != nullptr)
    g_failedRequests->push_back(error->serial);
  return 0;
}

KeySym keysymFor(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return XK_0 + (key - Qt::Key_0);
  // The lower-case keysym is the one on the key's first level.
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return XK_a + (key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return XK_F1 + (key - Qt::Key_F1);
  return NoSymbol;
}

constexpr unsigned kAllModifiers = HotKey::Super | HotKey::Shift | HotKey::Control | HotKey::Alt;

unsigned xMask(unsigned modifiers) {
  unsigned mask = 0;
  if (modifiers & HotKey::Super) mask |= Mod4Mask;
  if (modifiers & HotKey::Shift) mask |= ShiftMask;
  if (modifiers & HotKey::Control) mask |= ControlMask;
  if (modifiers & HotKey::Alt) mask |= Mod1Mask;
  return mask;
}

// NumLock sits on whichever modifier the keymap puts it (Mod2 on most).
unsigned findNumLockMask(Display* display) {
  const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
  if (numLock == 0) return 0;
  XModifierKeymap* map = XGetModifierMapping(display);
  if (map == nullptr) return 0;
  unsigned mask = 0;
  for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
    for (int i = 0; i < map->max_keypermod; ++i) {
      if (map->modifiermap[modifier * map->max_keypermod + i] == numLock) {
        mask = 1u << modifier;
        break;
      }
    }
  }
  XFreeModifiermap(map);
  return mask;
}

}  // namespace

std::unique_ptr<X11HotKeys> X11HotKeys::create(QObject* parent) {
  if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->display() == nullptr) return nullptr;
  return std::make_unique<X11HotKeys>(x11->display(), parent);
}

X11HotKeys::X11HotKeys(Display* display, QObject* parent)
    : GlobalHotKeys(parent), display_(display), root_(DefaultRootWindow(display)) {
  // Held keys then repeat as presses alone; the held-key set below drops those.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(display_, True, &supported);
  qGuiApp->installNativeEventFilter(this);
}

X11HotKeys::~X11HotKeys() {
  // Once the application is gone so is its connection, and with it every grab.
  if (qGuiApp == nullptr) return;
  qGuiApp->removeNativeEventFilter(this);
  unregisterAll();
}

std::vector<unsigned> X11HotKeys::lockVariants(unsigned mask) const {
  std::vector<unsigned> masks{mask, mask | LockMask};
  if (numLockMask_ != 0) {
    masks.push_back(mask | numLockMask_);
    masks.push_back(mask | numLockMask_ | LockMask);
  }
  return masks;
}

void X11HotKeys::ungrab(const Grab& grab) {
  for (unsigned mask : lockVariants(grab.mask))
    XUngrabKey(display_, int(grab.keycode), mask, root_);
}

std::vector<HotKey> X11HotKeys::registerKeys(const std::vector<HotKey>& keys) {
  unregisterAll();
  numLockMask_ = findNumLockMask(display_);

  // Every grab is sent first and the errors are collected by one round trip: one per key made
  // the keys a good part of the start.
  struct Attempt {
    Grab grab{};
    unsigned long firstRequest = 0;
    unsigned long lastRequest = 0;
    bool refused = true;
  };
  std::vector<Attempt> attempts(keys.size());
  std::vector<unsigned long> failedRequests;
  g_grabDisplay = display_;
  g_failedRequests = &failedRequests;
  XErrorHandler previous = XSetErrorHandler(recordGrabError);
  for (size_t k = 0; k < keys.size(); ++k) {
    const HotKey& key = keys[k];
    const KeySym sym = keysymFor(key.key);
    const KeyCode keycode = sym == NoSymbol ? 0 : XKeysymToKeycode(display_, sym);
    const Grab grab{key.id, keycode, xMask(key.modifiers)};
    bool duplicate = false;
    for (size_t earlier = 0; earlier < k; ++earlier) {
      const Grab& other = attempts[earlier].grab;
      duplicate = duplicate || (!attempts[earlier].refused && other.keycode == grab.keycode &&
                                other.mask == grab.mask);
    }
    // A second id on a combination already ours could never be told apart from the first.
    if (keycode == 0 || (key.modifiers & ~kAllModifiers) != 0 || duplicate) continue;
    Attempt& attempt = attempts[k];
    attempt.grab = grab;
    attempt.refused = false;
    attempt.firstRequest = NextRequest(display_);
    for (unsigned mask : lockVariants(grab.mask)) {
      XGrabKey(display_, keycode, mask, root_, False, GrabModeAsync, GrabModeAsync);
    }
    attempt.lastRequest = NextRequest(display_) - 1;
  }
  // Errors arrive asynchronously; only after a round trip are all of them in.
  XSync(display_, False);
  XSetErrorHandler(previous);
  g_grabDisplay = nullptr;
  g_failedRequests = nullptr;

  std::vector<HotKey> failed;
  for (size_t k = 0; k < keys.size(); ++k) {
    Attempt& attempt = attempts[k];
    if (!attempt.refused) {
      attempt.refused =
          std::any_of(failedRequests.begin(), failedRequests.end(), [&](auto request) {
            return request >= attempt.firstRequest && request <= attempt.lastRequest;
          });
      // Some lock variants may have succeeded; a half-registered key would work only with
      // NumLock on, say, so give them all back.
      if (attempt.refused) ungrab(attempt.grab);
    }
    if (attempt.refused)
      failed.push_back(keys[k]);
    else
      grabs_.push_back(attempt.grab);
  }
  XFlush(display_);
  return failed;
}

void X11HotKeys::unregisterAll() {
  for (const Grab& grab : grabs_) ungrab(grab);
  // A round trip, so the combinations are free for others by the time this returns.
  if (!grabs_.empty()) XSync(display_, False);
  grabs_.clear();
  held_.clear();
  lastRelease_.clear();
}

bool X11HotKeys::nativeEventFilter(const QByteArray& eventType, void* message,
                                   qintptr* /*result*/) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  const auto type = event->response_type & 0x7f;
  if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
  const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
  if (key->event != root_) return false;

  const unsigned keycode = key->detail;
  if (type == XCB_KEY_RELEASE) {
    if (held_.erase(keycode) == 0) return false;
    lastRelease_[keycode] = key->time;
    return true;
  }

  // The grabs cover every NumLock/CapsLock state; the match must not depend on them either.
  const unsigned modifiers = key->state & 0xff & ~(numLockMask_ | LockMask);
  for (const Grab& grab : grabs_) {
    if (grab.keycode != keycode || grab.mask != modifiers) continue;
    // A press while the key is down, or one stamped with the time of the release just before
    // it, is the key repeating rather than a new press.
    const auto released = lastRelease_.find(keycode);
    const bool repeat = held_.count(keycode) != 0 ||
                        (released != lastRelease_.end() && released->second == key->time);
    held_.insert(keycode);
    if (!repeat) emit activated(grab.id);
    return true;
  }
  return false;
}

}  // namespace qw::platform
