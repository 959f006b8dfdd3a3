#include "app/store_location.h"

#include <QLocale>
#include <QStandardPaths>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qw::app {

std::filesystem::path executablePath() {
#ifdef _WIN32
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
#else
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
#endif
}

store::StoreLocation storeLocation(bool portable) {
  std::filesystem::path perUserData;
#ifdef _WIN32
  const QString appData = qEnvironmentVariable("APPDATA");
  if (!appData.isEmpty()) perUserData = appData.toStdWString();
#endif
  if (perUserData.empty())
    perUserData =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
  return {executablePath(), perUserData, portable, desktopLanguage()};
}

i18n::Language desktopLanguage() {
  // The user's first choice decides: "de:fr" is a German desktop, which gets English.
  const QStringList languages = QLocale::system().uiLanguages();
  return !languages.isEmpty() && languages.front().startsWith("fr") ? i18n::Language::French
                                                                    : i18n::Language::English;
}

}  // namespace qw::app
