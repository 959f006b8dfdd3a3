#pragma once
// The status bar's caret line display, as the editor and go-to-line both write it.

#include <string>

#include "core/i18n/strings.h"

namespace qw::notebook {

// "3 / 10 Lignes ": the 1-based caret line, the line count and the word for it, then a space.
// The singular word goes with a count below 2.
std::string caretLineDisplay(int line0, int lineCount, const i18n::StringTable& strings);

}  // namespace qw::notebook
