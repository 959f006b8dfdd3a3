#include "core/notebook/caret_line.h"

namespace qw::notebook {

std::string caretLineDisplay(int line0, int lineCount, const i18n::StringTable& strings) {
  const auto word = lineCount < 2 ? i18n::Str::sMainLineWord : i18n::Str::sMainLinesWord;
  return std::to_string(line0 + 1) + " / " + std::to_string(lineCount) + " " + strings[word] + " ";
}

}  // namespace qw::notebook
