#pragma once

#include <QColor>
#include <string>

namespace qw::gui {

// The colour a settings value names ("clYellow", "$00A67467", a system colour). A value that
// names no colour gives `fallback`, so a hand-edited settings file never breaks the window.
QColor settingColour(const std::string& value, const QColor& fallback);

}  // namespace qw::gui
