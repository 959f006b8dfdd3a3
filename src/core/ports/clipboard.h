#pragma once
// The system clipboard as the behaviour sees it: plain text only.

#include <string>

namespace qw::ports {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // UTF-8, lines ended by CR LF; empty when the clipboard holds no text.
  virtual std::string text() const = 0;
  // Lines may end with CR LF; the adapter gives the desktop its own line ends.
  virtual void setText(const std::string& text) = 0;
};

}  // namespace qw::ports
