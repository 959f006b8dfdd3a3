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
// A name as the text of a menu item or a button, where a lone "&" would mark the shortcut
// letter and not show.
inline QString mnemonicSafe(const QString& name) { return QString(name).replace('&', "&&"); }

}  // namespace qw::gui
