#pragma once
// Texts inside core are UTF-8; paths must not go through the system's narrow code page
// (on Windows that would mangle any name outside it).

#include <filesystem>
#include <string>
#include <string_view>

namespace qw::store {

inline std::filesystem::path utf8Path(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace qw::store
