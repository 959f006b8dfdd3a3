#pragma once
// Text across the core boundary: core holds UTF-8 std::string and std::filesystem::path.

#include <QString>
#include <filesystem>
#include <string>

#include "core/store/utf8_path.h"

namespace qw::gui {

inline QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }
inline QString qs(const std::filesystem::path& path) { return qs(store::utf8Of(path)); }
inline std::string utf8(const QString& text) { return text.toStdString(); }

}  // namespace qw::gui
