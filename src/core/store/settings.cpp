#include "core/store/settings.h"

#include <string_view>

#include "core/store/colour.h"

namespace qw::store {
namespace {

// The key in front of each value, "=" included, in line order.
constexpr std::array<std::string_view, kSettingCount> kKeys = {
    "Langue=",      "DefaultFiche=", "BGMenuColor=", "LDMenuColor=", "LSMenuColor=",
    "LCategories=", "AffichList=",   "Launch=",      "Hidden=",      "GlobalKeys=",
};

constexpr std::array<std::string_view, kSettingCount> kDefaults = {
    "Français", "quillWick", "$00A67467", "clYellow", "clWhite",
    "-0-",      "0",         "Manual",    "Hide",     "Win",
};

// Values 1 to 5 are always read from their line; later ones fall back to the default once the
// file has ended.
constexpr std::size_t kAlwaysRead = 5;

std::string valueOf(const std::string& line) {
  const auto equals = line.find('=');
  return equals == std::string::npos ? line : line.substr(equals + 1);
}

}  // namespace

Settings Settings::defaults() {
  Settings settings;
  for (std::size_t i = 0; i < kDefaults.size(); ++i) settings.values_[i] = kDefaults[i];
  return settings;
}

Settings Settings::fromLines(const std::vector<std::string>& lines) {
  Settings settings;
  for (std::size_t i = 0; i < settings.values_.size(); ++i) {
    if (i < lines.size())
      settings.values_[i] = valueOf(lines[i]);
    else if (i >= kAlwaysRead)
      settings.values_[i] = kDefaults[i];
  }
  return settings;
}

std::vector<std::string> Settings::lines() const {
  std::vector<std::string> lines;
  lines.reserve(values_.size());
  for (std::size_t i = 0; i < values_.size(); ++i)
    lines.push_back(std::string(kKeys[i]) + values_[i]);
  if (values_[kGlobalKeys] == kDefaults[kGlobalKeys]) lines.pop_back();
  return lines;
}

Language Settings::language() const {
  return values_[kLanguage] == "Anglais" ? Language::English : Language::French;
}

void Settings::setLanguage(Language language) {
  setText(kLanguage, language == Language::English ? "Anglais" : "Français");
}

GlobalKeys Settings::globalKeys() const {
  return values_[kGlobalKeys] == "CtrlAlt" ? GlobalKeys::CtrlAlt : GlobalKeys::Win;
}

void Settings::setGlobalKeys(GlobalKeys keys) {
  setText(kGlobalKeys, keys == GlobalKeys::CtrlAlt ? "CtrlAlt" : "Win");
}

void Settings::setText(Value which, std::string_view text) {
  // WORKAROUND: MinGW's GCC 12 warns of an overlapping copy (-Wrestrict, GCC bug 105329) when a
  // literal is assigned to a string; a string built first is moved in.
  values_[which] = std::string(text);
}

std::uint32_t Settings::colour(Value which) const {
  if (const auto colour = parseColour(values_[which])) return *colour;
  return *parseColour(kDefaults[which]);
}

void Settings::setColour(Value which, std::uint32_t colour) {
  if (parseColour(values_[which]) != colour) values_[which] = colourText(colour);
}

}  // namespace qw::store
