// Start at logon through the per-user Run key of the registry.
#include "platform/autostart.h"

#include <windows.h>

#include <string>

namespace qw::platform {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"KTR quillWick";

bool writeEntry(const std::filesystem::path& executable) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  // The value is a command line: quoted, a path with spaces cannot be taken for a shorter one.
  // Started before Explorer's task bar, the program waits for its tray.
  const std::wstring command = L"\"" + executable.wstring() + L"\" --at-logon";
  const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
  const LONG result = RegSetValueExW(key, kValueName, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(command.c_str()), bytes);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool removeEntry() {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
  if (result == ERROR_FILE_NOT_FOUND) return true;
  if (result != ERROR_SUCCESS) return false;
  result = RegDeleteValueW(key, kValueName);
  RegCloseKey(key);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool setStartAtLogon(bool enabled, const std::filesystem::path& executable) {
  return enabled ? writeEntry(executable) : removeEntry();
}

}  // namespace qw::platform
