#include "platform/system_services.h"

#include "platform/autostart.h"
#include "platform/web_browser.h"

namespace qw::platform {

void SystemServices::setStartAtLogon(bool enabled, const std::filesystem::path& executable) {
  platform::setStartAtLogon(enabled, executable);
}

std::string SystemServices::browserPath() { return defaultBrowserPath(); }

}  // namespace qw::platform
