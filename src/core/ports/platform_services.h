#pragma once
// What the behaviour needs from the operating system, implemented by the platform layer and
// faked in tests.

#include <filesystem>
#include <string>

namespace qw::ports {

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;

  // Registers (enabled) or removes the entry that starts the program at logon.
  // Failures are swallowed: the settings file is written regardless.
  virtual void setStartAtLogon(bool enabled, const std::filesystem::path& executable) = 0;

  // The executable of the user's default web browser, or empty when none is known.
  virtual std::string browserPath() = 0;
};

}  // namespace qw::ports
