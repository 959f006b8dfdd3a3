#pragma once

#include "core/ports/clipboard.h"

namespace qw::gui {

// The desktop's clipboard (Qt's), as plain text.
class QtClipboard final : public ports::Clipboard {
 public:
  std::string text() const override;
  void setText(const std::string& text) override;
};

}  // namespace qw::gui
