#include "core/store/settings.h"

namespace qw::store {
namespace {

// Values 0 to 4 are always read from their line; later ones fall back to the default once
// the file has ended.
constexpr int kAlwaysRead = 5;

std::string valueOf(const std::string& line) {
  const auto equals = line.find('=');
  return equals == std::string::npos ? line : line.substr(equals + 1);
}

}  // namespace

Settings Settings::defaults() {
  return Settings{{"Français", "quillWick", "$00A67467", "clYellow", "clWhite", "-0-", "0",
                   "Manual", "Hide", "Win"}};
}

Settings settingsFromLines(const std::vector<std::string>& lines) {
  const Settings fallback = Settings::defaults();
  Settings settings;
  for (size_t i = 0; i < settings.values.size(); ++i) {
    if (i < lines.size())
      settings.values[i] = valueOf(lines[i]);
    else if (i >= kAlwaysRead)
      settings.values[i] = fallback.values[i];
  }
  return settings;
}

std::vector<std::string> settingsLines(const Settings& settings) {
  std::vector<std::string> lines;
  lines.reserve(settings.values.size());
  for (size_t i = 0; i < settings.values.size(); ++i)
    lines.push_back(std::string(kSettingKeys[i]) + settings.values[i]);
  if (settings[kGlobalKeys] == Settings::defaults()[kGlobalKeys]) lines.pop_back();
  return lines;
}

}  // namespace qw::store
