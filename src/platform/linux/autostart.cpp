// Start at logon through a desktop entry in the per-user autostart folder, which the session
// managers of the freedesktop.org desktops read at logon.
#include "platform/autostart.h"

#include <QDir>
#include <QStandardPaths>
#include <string>
#include <system_error>

#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "platform/linux/desktop_entry.h"

namespace qw::platform {
namespace {

namespace fs = std::filesystem;

// $XDG_CONFIG_HOME, else ~/.config.
// WORKAROUND: Qt 6.4 hands back a relative $XDG_CONFIG_HOME as it is; the base directory rules
// say to ignore it, and an entry under the working folder would never be read.
fs::path configHome() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (QDir::isRelativePath(folder)) folder = QDir::homePath() + "/.config";
  return fs::path(folder.toStdString());
}

std::string autostartEntry(const fs::path& executable) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=KTR quillWick\n"
         "Exec=" +
         desktop_entry::execValue(executable.string()) +
         // Started before the panel, the program waits for its tray.
         " --at-logon\n"
         // The icon of the installed launcher; without it the session shows a generic one.
         "Icon=quillwick\n"
         "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace

bool setStartAtLogon(bool enabled, const fs::path& executable) {
  const auto entry = configHome() / "autostart" / "quillwick.desktop";
  std::error_code ec;
  if (!enabled) {
    fs::remove(entry, ec);
    // A folder that is missing or is a file holds no entry either.
    return !ec || ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
  }
  // The session starts the entry from another folder, so a relative path would not hold.
  const auto program = fs::absolute(executable, ec);
  if (ec) return false;
  fs::create_directories(entry.parent_path(), ec);
  if (ec) return false;
  try {
    store::writeFileAtomically(entry, autostartEntry(program));
  } catch (const store::StoreError&) {
    return false;
  }
  return true;
}

}  // namespace qw::platform
