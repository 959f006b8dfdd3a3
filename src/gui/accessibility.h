#pragma once
// What screen readers are told beyond Qt's own widget descriptions: the strip of card names is a
// list of cards, and a combo box goes by its label rather than by the item it shows.

namespace qw::gui {

// Puts the program's descriptions ahead of Qt's; calling it again does nothing. Needs the
// application, which installs Qt's own first, and must come before a screen reader asks about
// the widgets: the strip, the formatting bar and the dialogs with combo boxes call it as they
// are made.
void installAccessibleFaces();

}  // namespace qw::gui
