#include "core/notebook/line_feed.h"

#include <cstddef>
#include <utility>

namespace qw::notebook {

void LineFeed::start(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  cursor_ = -1;
}

std::optional<LineFeed::Line> LineFeed::next() {
  if (lines_.empty()) return std::nullopt;
  const int count = static_cast<int>(lines_.size());
  cursor_ = cursor_ + 1 < count ? cursor_ + 1 : 0;
  return Line{lines_[static_cast<std::size_t>(cursor_)], cursor_ + 1, count};
}

}  // namespace qw::notebook
