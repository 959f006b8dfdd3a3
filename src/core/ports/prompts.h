#pragma once
// Messages and questions put to the user. Texts come from the string table.

#include <optional>
#include <string>

namespace qw::ports {

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A one-button message box.
  virtual void message(const std::string& text) = 0;
  // A Yes/No box; true only for Yes.
  virtual bool question(const std::string& caption, const std::string& text) = 0;
  // The password of card `cardName`, typed in clear when `visible` (protecting a card), masked
  // otherwise; nothing when the user cancels. Never empty.
  virtual std::optional<std::string> password(const std::string& cardName, bool visible) = 0;
};

}  // namespace qw::ports
