#include "platform/linux/xdg_dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace qw::platform::xdg {
namespace {

namespace fs = std::filesystem;

fs::path absoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return {};
  fs::path path(value);
  return path.is_absolute() ? path : fs::path();
}

fs::path homeRelative(const char* variable, const char* fallback) {
  if (auto path = absoluteVariable(variable); !path.empty()) return path;
  const auto home = homeDir();
  return home.empty() ? fs::path() : home / fallback;
}

std::vector<fs::path> pathList(const char* variable, std::string_view fallback) {
  const char* value = std::getenv(variable);
  std::string_view list = value != nullptr && *value != '\0' ? value : fallback;
  std::vector<fs::path> dirs;
  while (true) {
    const auto colon = list.find(':');
    fs::path dir(list.substr(0, colon));
    if (dir.is_absolute()) dirs.push_back(std::move(dir));
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return dirs;
}

}  // namespace

fs::path homeDir() {
  if (auto home = absoluteVariable("HOME"); !home.empty()) return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return {};
}

fs::path configHome() { return homeRelative("XDG_CONFIG_HOME", ".config"); }

fs::path dataHome() { return homeRelative("XDG_DATA_HOME", ".local/share"); }

std::vector<fs::path> configDirs() { return pathList("XDG_CONFIG_DIRS", "/etc/xdg"); }

std::vector<fs::path> dataDirs() {
  return pathList("XDG_DATA_DIRS", "/usr/local/share/:/usr/share/");
}

}  // namespace qw::platform::xdg
