// Start at logon through a desktop entry in the per-user autostart folder, which the session
// managers of the freedesktop.org desktops read at logon.
#include "platform/autostart.h"

#include <string>
#include <system_error>

#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/xdg_dirs.h"

namespace qw::platform {
namespace {

namespace fs = std::filesystem;

std::string autostartEntry(const fs::path& executable) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=KTR quillWick\n"
         "Exec=" + desktop_entry::execValue(executable.string()) + "\n"
         // The icon of the installed launcher; without it the session shows a generic one.
         "Icon=quillwick\n"
         "X-GNOME-Autostart-enabled=true\n";
}

}  // namespace

bool setStartAtLogon(bool enabled, const fs::path& executable) {
  const auto configHome = xdg::configHome();
  if (configHome.empty()) return false;
  const auto entry = configHome / "autostart" / "quillwick.desktop";
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
