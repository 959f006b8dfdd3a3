#pragma once

#include <QColor>
#include <cstdint>

namespace qw::gui {

// The colour of a settings colour value (0x00BBGGRR, or a system colour of the palette);
// clNone and clDefault give `fallback`.
QColor settingColour(std::uint32_t colour, const QColor& fallback);

}  // namespace qw::gui
