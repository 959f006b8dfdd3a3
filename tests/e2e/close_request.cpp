// Asks the window manager to close the window named on the command line, as a task bar or a
// pager does (_NET_CLOSE_WINDOW): the window gets the WM_DELETE_WINDOW of a close box.

#include <X11/Xlib.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const Window root = DefaultRootWindow(display);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::strtoul(argv[1], nullptr, 0);
  event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = CurrentTime;
  event.xclient.data.l[1] = 2;  // a pager or task bar asks
  XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return 0;
}
