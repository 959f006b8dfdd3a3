#pragma once
// Helpers of the Windows backend tests: names no other run picks, wide/UTF-8 conversion,
// registry reads, and the folder of the test program.

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <filesystem>
#include <optional>
#include <string>

namespace qw::platform::testing {

// Unique to this process and call, so runs side by side do not meet.
inline std::string uniqueName(const std::string& stem) {
  static std::atomic<int> counter{0};
  return stem + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++);
}

inline std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring out(std::size_t(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), length);
  return out;
}

// The string data of a value (nullptr: the key's default value); nothing when it is absent.
inline std::optional<std::wstring> readString(HKEY root, const wchar_t* key, const wchar_t* name) {
  DWORD size = 0;
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, value.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

inline bool writeString(HKEY root, const wchar_t* key, const wchar_t* name,
                        const std::wstring& data, DWORD type = REG_SZ) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const LONG result =
      RegSetValueExW(opened, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                     DWORD((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return result == ERROR_SUCCESS;
}

inline std::filesystem::path programFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, length)).parent_path();
}

}  // namespace qw::platform::testing
