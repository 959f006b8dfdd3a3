#pragma once

#include <filesystem>

namespace qw::platform {

// Adds or removes the per-user entry that starts `executable` at logon ("KTR quillWick").
// Returns false on failure; callers ignore it, as the settings file is written regardless.
bool setStartAtLogon(bool enabled, const std::filesystem::path& executable);

}  // namespace qw::platform
