#pragma once

#include "core/ports/platform_services.h"

namespace qw::platform {

// The real operating system behind the core's platform port.
class SystemServices final : public ports::PlatformServices {
 public:
  void setStartAtLogon(bool enabled, const std::filesystem::path& executable) override;
  std::string browserPath() override;
};

}  // namespace qw::platform
