#pragma once

#include <QFont>
#include <string>
#include <vector>

class QObject;

namespace qw::gui {

// Loads the fonts of `families` in `base`'s size, plain, bold, italic and both, one family per
// pass of the event loop while `context` lives: the first card drawn in one of them then does
// not wait for the font files to be found and opened.
void warmFonts(QObject* context, std::vector<std::string> families, const QFont& base);

}  // namespace qw::gui
