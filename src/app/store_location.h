#pragma once

#include <filesystem>

#include "core/store/store.h"

namespace qw::app {

// The running program's file, known before any Qt application object exists.
std::filesystem::path executablePath();

// Where this program's data folder may be: beside it when `portable`, else (or when that is
// not writable) in the user's data folder (%APPDATA% on Windows).
store::StoreLocation storeLocation(bool portable);

// The desktop's messages language (LANGUAGE, LC_MESSAGES … on Linux, the display language on
// Windows): French when the user's first choice is French, else English.
i18n::Language desktopLanguage();

}  // namespace qw::app
