#include "app/console.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace qw::app {

void useParentConsole() {
#ifdef _WIN32
  const auto leadsNowhere = [](DWORD channel) {
    const HANDLE handle = GetStdHandle(channel);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
  };
  const bool out = leadsNowhere(STD_OUTPUT_HANDLE);
  const bool error = leadsNowhere(STD_ERROR_HANDLE);
  if ((out || error) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    SetConsoleOutputCP(CP_UTF8);
    if (out) std::freopen("CONOUT$", "w", stdout);
    if (error) std::freopen("CONOUT$", "w", stderr);
  }
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
}

void writeOut(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

void writeError(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  std::fflush(stderr);
}

std::string readInput(std::size_t limit) {
  std::string text;
  char buffer[65536];
  while (text.size() < limit) {
    const std::size_t read = std::fread(buffer, 1, sizeof buffer, stdin);
    if (read == 0) break;
    text.append(buffer, read);
  }
  if (text.size() > limit) text.resize(limit);
  return text;
}

}  // namespace qw::app
