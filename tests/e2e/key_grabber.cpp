// Another program holding a system-wide key: grabs the key named on the command line with
// Super (and with NumLock), says "grabbed" and waits to be killed.

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <unistd.h>
#include <cstdio>
#include <initializer_list>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(argv[1]));
  const Window root = DefaultRootWindow(display);
  for (unsigned extra : {0u, unsigned{Mod2Mask}, unsigned{LockMask}, unsigned{Mod2Mask | LockMask}})
    XGrabKey(display, code, Mod4Mask | extra, root, True, GrabModeAsync, GrabModeAsync);
  XSync(display, False);
  std::puts("grabbed");
  std::fflush(stdout);
  for (;;) pause();
}
