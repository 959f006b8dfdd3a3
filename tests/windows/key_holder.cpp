// Keeps Win+3 for itself, as another program may: registers it on a message-only window, says
// "registered" (or "refused"), and holds it until its standard input closes or it is killed.
#include <windows.h>

#include <cstdio>

int main() {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  const bool registered =
      window != nullptr && RegisterHotKey(window, 1, MOD_WIN | MOD_NOREPEAT, '3');
  std::puts(registered ? "registered" : "refused");
  std::fflush(stdout);
  if (!registered) return 1;
  while (std::getchar() != EOF) {
  }
  UnregisterHotKey(window, 1);
  DestroyWindow(window);
  return 0;
}
