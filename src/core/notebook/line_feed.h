#pragma once
// The line feed of the hot keys: a slot's text handed out one line at a time, the first line
// again after the last.

#include <optional>
#include <string>
#include <vector>

namespace qw::notebook {

class LineFeed {
 public:
  // One line handed out: its text and its number from 1 among `count`.
  struct Line {
    std::string text;
    int number = 0;
    int count = 0;
  };

  // Starts over at the first of `lines`, which the feed keeps as its own copy. No lines stop
  // the feed.
  void start(std::vector<std::string> lines);
  bool running() const { return !lines_.empty(); }
  // The line after the one last given; nothing when no feed runs.
  std::optional<Line> next();

 private:
  std::vector<std::string> lines_;
  int cursor_ = -1;  // the line last given, -1 for none
};

}  // namespace qw::notebook
