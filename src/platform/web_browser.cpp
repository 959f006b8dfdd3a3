#include "platform/web_browser.h"

namespace qw::platform {

std::string quotedExecutable(std::string_view command) {
  const auto open = command.find('"');
  if (open == std::string_view::npos) return {};
  const auto close = command.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(command.substr(open + 1, close - open - 1));
}

}  // namespace qw::platform
