// The line functions: the whole text of the shown card, line by line.

#include "core/notebook/notebook.h"
#include "core/text/line_functions.h"

namespace qw::notebook {

void Notebook::runLineFunction(
    LineFunction function,
    const std::function<int(const std::string&, const std::string&)>& collate) {
  if (!card_.shown()) return;
  if (function == LineFunction::Reload) {
    loadCard(current().number, current().name);
    return;
  }
  std::vector<std::string> lines = editor_.lines();
  // The editor counts an empty line after a final line break; the card's lines end at that
  // break. Kept, it would be the last line, and the line before it would be taken for an
  // inner one: each sort would add a blank line, and removing empty lines would take one too
  // many.
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  switch (function) {
    case LineFunction::SortNormal:
    case LineFunction::SortInverse:
      editor_.setLines(
          text::sortLinesText(std::move(lines), collate, function == LineFunction::SortInverse));
      break;
    case LineFunction::SortNumeric:
    case LineFunction::SortNumericInverse:
      editor_.setLines(
          text::sortLinesNumeric(std::move(lines), function == LineFunction::SortNumericInverse));
      break;
    case LineFunction::RemoveEmptyLines:
      editor_.removeLines(text::emptyLinesToRemove(lines));
      break;
    case LineFunction::RemoveLeadingSpaces: {
      std::vector<ports::LineCut> cuts;
      for (int line = 0; line < static_cast<int>(lines.size()); ++line)
        if (const int spaces = text::leadingSpaces(lines[line]); spaces > 0)
          cuts.push_back({line, spaces});
      editor_.cutLineStarts(cuts);
      break;
    }
    case LineFunction::Reload: break;
  }
}

}  // namespace qw::notebook
