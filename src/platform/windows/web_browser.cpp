// The browser registered for HTML files, read from its open command.
#include "platform/web_browser.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace qw::platform {
namespace {

constexpr wchar_t kOpenCommandKey[] = L"htmlfile\\shell\\open\\command";

std::string toUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length,
                      nullptr, nullptr);
  return out;
}

// The default value of the key, environment variables expanded; empty when absent.
std::wstring openCommand() {
  // RRF_RT_REG_SZ takes REG_EXPAND_SZ too, expanded; asking for RRF_RT_REG_EXPAND_SZ without
  // RRF_NOEXPAND makes every call fail with ERROR_INVALID_PARAMETER.
  const DWORD flags = RRF_RT_REG_SZ;
  DWORD size = 0;
  LONG result =
      RegGetValueW(HKEY_CLASSES_ROOT, kOpenCommandKey, nullptr, flags, nullptr, nullptr, &size);
  // The value may grow between two calls, or once expanded: ask again a few times if it does.
  for (int attempt = 0; attempt < 4 && (result == ERROR_SUCCESS || result == ERROR_MORE_DATA);
       ++attempt) {
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    DWORD capacity = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    result = RegGetValueW(HKEY_CLASSES_ROOT, kOpenCommandKey, nullptr, flags, nullptr, value.data(),
                          &capacity);
    if (result == ERROR_SUCCESS) {
      value.resize(wcsnlen(value.c_str(), value.size()));
      return value;
    }
    size = capacity;
  }
  return {};
}

}  // namespace

std::string defaultBrowserPath() { return quotedExecutable(toUtf8(openCommand())); }

}  // namespace qw::platform
