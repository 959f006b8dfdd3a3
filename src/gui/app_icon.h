#pragma once

#include <QIcon>

class QPainter;

namespace qw::gui {

// The program's icon: a note card with a blue head and ruled lines, drawn at the usual sizes
// so the tray and the window list get a sharp picture.
QIcon applicationIcon();

// Paints that card into the square (0, 0, size, size) of any paint device; the installed icon
// files are drawn by it too.
void paintApplicationIcon(QPainter& painter, qreal size);

}  // namespace qw::gui
