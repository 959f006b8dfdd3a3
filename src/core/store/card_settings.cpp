#include "core/store/card_settings.h"

#include <charconv>
#include <limits>

namespace qw::store {
namespace {

// The number a line holds, or the fallback for a missing line or any text that is not a
// whole decimal number.
template <typename T>
T numberAt(const std::vector<std::string>& lines, size_t index, T fallback) {
  if (index >= lines.size()) return fallback;
  const std::string& text = lines[index];
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return fallback;
  return value;
}

}  // namespace

std::string syncLinkOf(const std::string& line11) {
  return line11.size() > 2 ? line11 : std::string();
}

CardSettings cardSettingsFromLines(const std::vector<std::string>& lines) {
  CardSettings s;
  if (!lines.empty()) s.contentFile = lines[0];
  s.selection.start = std::max(0LL, numberAt<long long>(lines, 1, 0));
  s.selection.length = std::max(0LL, numberAt<long long>(lines, 2, 0));
  s.look.fontSize = numberAt<int>(lines, 3, s.look.fontSize);
  s.wordWrap = lines.size() > 4 && lines[4] == "0";
  s.look.fontItem = numberAt<int>(lines, 5, s.look.fontItem);
  s.look.colourItem = numberAt<int>(lines, 6, s.look.colourItem);
  s.look.backgroundItem = numberAt<int>(lines, 7, s.look.backgroundItem);
  s.look.firstVisibleLine = numberAt<int>(lines, 8, s.look.firstVisibleLine);
  s.look.baseFontSize = numberAt<int>(lines, 9, s.look.baseFontSize);
  if (lines.size() > 10) s.syncLink = syncLinkOf(lines[10]);
  return s;
}

std::vector<std::string> cardSettingsLines(const CardSettings& s) {
  const std::string base = std::to_string(s.look.baseFontSize);
  std::vector<std::string> lines = {
      s.contentFile,
      std::to_string(s.selection.start),
      std::to_string(s.selection.length),
      std::to_string(s.look.fontSize),
      s.wordWrap ? "0" : "1",
      std::to_string(s.look.fontItem),
      std::to_string(s.look.colourItem),
      std::to_string(s.look.backgroundItem),
      std::to_string(s.look.firstVisibleLine),
      base,
      s.syncLink,
  };
  lines.insert(lines.end(), 12, base);
  return lines;
}

std::vector<std::string> newCardSettingsLines(const std::string& contentFile, int fontItem) {
  std::vector<std::string> lines = {contentFile, "0", "0", "8", "1", std::to_string(fontItem),
                                    "1",         "16"};
  lines.insert(lines.end(), 7, "0");
  return lines;
}

}  // namespace qw::store
