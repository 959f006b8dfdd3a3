// Finds the default browser from the files the desktop keeps, without starting any process:
// this runs at start-up and must stay fast.
#include "platform/web_browser.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/linux/desktop_entry.h"
#include "platform/linux/xdg_dirs.h"

namespace qw::platform {
namespace {

namespace fs = std::filesystem;

// A mimeapps.list or .desktop file larger than this is not one.
constexpr std::uintmax_t kMaxKeyFileSize = 1 << 20;

std::optional<std::string> readKeyFile(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kMaxKeyFileSize || ec) {
    return std::nullopt;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

// The desktop names of the session, lower case, for the desktop-specific lists.
std::vector<std::string> currentDesktops() {
  std::vector<std::string> names;
  const char* value = std::getenv("XDG_CURRENT_DESKTOP");
  if (value == nullptr) return names;
  std::string_view list = value;
  while (!list.empty()) {
    const auto colon = list.find(':');
    std::string name(list.substr(0, colon));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!name.empty()) names.push_back(std::move(name));
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return names;
}

std::vector<fs::path> applicationDirs() {
  std::vector<fs::path> dirs;
  if (const auto home = xdg::dataHome(); !home.empty()) dirs.push_back(home / "applications");
  for (const auto& dir : xdg::dataDirs()) dirs.push_back(dir / "applications");
  return dirs;
}

// The files that name default applications, most important first; the old defaults.list
// files come after every mimeapps.list.
std::vector<fs::path> defaultsLists() {
  std::vector<fs::path> dirs;
  if (const auto home = xdg::configHome(); !home.empty()) dirs.push_back(home);
  for (const auto& dir : xdg::configDirs()) dirs.push_back(dir);
  const auto appDirs = applicationDirs();
  dirs.insert(dirs.end(), appDirs.begin(), appDirs.end());

  const auto desktops = currentDesktops();
  std::vector<fs::path> files;
  for (const auto& dir : dirs) {
    for (const auto& desktop : desktops) files.push_back(dir / (desktop + "-mimeapps.list"));
    files.push_back(dir / "mimeapps.list");
  }
  for (const auto& dir : appDirs) files.push_back(dir / "defaults.list");
  return files;
}

// A desktop file ID names applications/foo/bar.desktop as foo-bar.desktop.
std::optional<fs::path> findDesktopFile(const fs::path& dir, std::string_view id) {
  std::error_code ec;
  if (const auto direct = dir / std::string(id); fs::is_regular_file(direct, ec)) return direct;
  for (auto dash = id.find('-'); dash != std::string_view::npos; dash = id.find('-', dash + 1)) {
    const auto sub = dir / std::string(id.substr(0, dash));
    if (!fs::is_directory(sub, ec)) continue;
    if (auto found = findDesktopFile(sub, id.substr(dash + 1))) return found;
  }
  return std::nullopt;
}

bool isExecutableFile(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

std::string resolveProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) {
    const fs::path path(program);
    return path.is_absolute() && isExecutableFile(path) ? program : std::string();
  }
  const char* value = std::getenv("PATH");
  std::string_view list = value != nullptr ? value : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const auto colon = list.find(':');
    const fs::path dir(list.substr(0, colon));
    if (dir.is_absolute() && isExecutableFile(dir / program)) return (dir / program).string();
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return {};
}

// The executable the application `id` starts; empty when it is not installed.
std::string programOf(const std::string& id, const std::vector<fs::path>& appDirs) {
  if (id.find('/') != std::string::npos || id == "." || id == "..") return {};
  for (const auto& dir : appDirs) {
    const auto file = findDesktopFile(dir, id);
    if (!file) continue;
    // The first file with this ID hides those of less important folders, even a broken one.
    const auto text = readKeyFile(*file);
    if (!text) return {};
    if (desktop_entry::value(*text, "Desktop Entry", "Hidden") == "true") return {};
    const auto exec = desktop_entry::value(*text, "Desktop Entry", "Exec");
    return exec ? resolveProgram(desktop_entry::execProgram(*exec)) : std::string();
  }
  return {};
}

}  // namespace

std::string defaultBrowserPath() {
  const auto appDirs = applicationDirs();
  std::vector<std::string> lists;
  for (const auto& file : defaultsLists()) {
    if (auto text = readKeyFile(file)) lists.push_back(std::move(*text));
  }
  for (const std::string_view type : {"x-scheme-handler/http", "text/html"}) {
    for (const auto& list : lists) {
      const auto ids = desktop_entry::value(list, "Default Applications", type);
      if (!ids) continue;
      for (const auto& id : desktop_entry::listItems(*ids)) {
        if (auto program = programOf(id, appDirs); !program.empty()) return program;
      }
    }
  }
  return {};
}

}  // namespace qw::platform
