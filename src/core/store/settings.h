#pragma once
// The values of param.ini, stored one per line in a fixed order as "Key=value": the nine that
// every version writes, and a tenth only when it differs from its default.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qw::store {

enum SettingIndex {
  kLanguage,
  kDefaultCard,
  kStripBackground,
  kCardNameColour,
  kActiveCardColour,
  kCategoryFilter,
  kShowList,
  kLaunch,
  kHidden,
  kGlobalKeys,  // the global hot keys: "Win" (Win/Super) or "CtrlAlt" (the alternative set)
};

constexpr int kSettingCount = 10;

// The key in front of each value, "=" included, in line order.
constexpr std::array<std::string_view, kSettingCount> kSettingKeys = {
    "Langue=",      "DefaultFiche=", "BGMenuColor=", "LDMenuColor=", "LSMenuColor=",
    "LCategories=", "AffichList=",   "Launch=",      "Hidden=",      "GlobalKeys=",
};

struct Settings {
  std::array<std::string, kSettingCount> values;

  std::string& operator[](SettingIndex index) { return values[index]; }
  const std::string& operator[](SettingIndex index) const { return values[index]; }

  static Settings defaults();
  friend bool operator==(const Settings&, const Settings&) = default;
};

// Values by line position only; the keys are never compared. Lines 1 to 5 give values 0 to 4
// (a missing line gives an empty value); lines 6 to 10 give values 5 to 9, or their default
// when the file has already ended. A value is the text after the first "=", or the whole line
// when it has none. Nothing is trimmed.
Settings settingsFromLines(const std::vector<std::string>& lines);

// The "Key=value" lines in file order; the tenth only when it is not the default, so a file
// of default hot keys stays the nine lines older versions read and write.
std::vector<std::string> settingsLines(const Settings& settings);

}  // namespace qw::store
