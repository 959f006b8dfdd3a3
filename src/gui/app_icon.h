#pragma once

#include <QIcon>

namespace qw::gui {

// The program's icon: a note card with a blue head and ruled lines, drawn at the usual sizes
// so the tray and the window list get a sharp picture.
QIcon applicationIcon();

}  // namespace qw::gui
