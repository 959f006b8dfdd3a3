#pragma once
// Every window of the program stays inside the free part of its screen (the screen less the
// panels and task bars), frame included: a small screen or a large scale factor shrinks a
// window that would run off the right or the bottom edge, and moves one placed partly off it.

class QWidget;

namespace qw::gui {

// Fits the top-level `window` now: no larger than the free area less the window frame (never
// below its minimum size), and moved so that no edge of its frame runs off. Maximised and full
// screen windows are left to the window manager. False when even its minimum size is too big,
// in which case its top left corner stays on the screen.
bool fitToScreen(QWidget* window);

// From now on fits every window and dialog as it is shown, message boxes and file choosers
// included, and once more when the window manager has put its frame around it. Calling it
// again does nothing.
void keepWindowsOnScreen();

}  // namespace qw::gui
