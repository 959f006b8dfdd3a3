#pragma once
// The values of param.ini, stored one per line in a fixed order as "Key=value": the nine that
// every version writes, and a tenth only when it differs from its default. Read here into typed
// values; a value is written back as it was read until it is set, so a hand-edited spelling
// ("hide", "16711680", a language we do not know) survives every save that does not change it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/i18n/strings.h"

namespace qw::store {

// "Français" or "Anglais" in the file; any other value runs the interface in French.
using i18n::Language;
// The modifiers of the global hot keys: Win/Super, or the alternative set Ctrl+Alt.
enum class GlobalKeys { Win, CtrlAlt };

constexpr int kSettingCount = 10;

class Settings {
 public:
  static Settings defaults();
  // Values by line position only; the keys are never compared. Lines 1 to 5 give values 1 to 5
  // (a missing line gives an empty value); lines 6 to 10 give values 6 to 10, or their default
  // when the file has already ended. A value is the text after the first "=", or the whole line
  // when it has none. Nothing is trimmed.
  static Settings fromLines(const std::vector<std::string>& lines);
  // The "Key=value" lines in file order; the tenth only when it is not the default, so a file
  // of default hot keys stays the nine lines older versions read and write.
  std::vector<std::string> lines() const;

  Language language() const;
  void setLanguage(Language language);
  // The display name of the card opened at start; empty or unknown opens the main card.
  const std::string& defaultCard() const { return values_[kDefaultCard]; }
  void setDefaultCard(std::string name) { values_[kDefaultCard] = std::move(name); }
  // The strip's colours as 0x00BBGGRR values (colour.h); one that names no colour reads as its
  // default. Setting the colour it already holds keeps the spelling it was read in.
  std::uint32_t stripBackground() const { return colour(kStripBackground); }
  std::uint32_t cardNameColour() const { return colour(kCardNameColour); }
  std::uint32_t activeCardColour() const { return colour(kActiveCardColour); }
  void setStripBackground(std::uint32_t colour) { setColour(kStripBackground, colour); }
  void setCardNameColour(std::uint32_t colour) { setColour(kCardNameColour, colour); }
  void setActiveCardColour(std::uint32_t colour) { setColour(kActiveCardColour, colour); }
  // The shown categories as the file holds them: "-id-id-".
  const std::string& categoryFilter() const { return values_[kCategoryFilter]; }
  void setCategoryFilter(std::string filter) { values_[kCategoryFilter] = std::move(filter); }
  bool showList() const { return values_[kShowList] == "1"; }
  void setShowList(bool shown) { setText(kShowList, shown ? "1" : "0"); }
  bool startAtLogon() const { return values_[kLaunch] == "Startup"; }
  void setStartAtLogon(bool start) { setText(kLaunch, start ? "Startup" : "Manual"); }
  bool hiddenStart() const { return values_[kHidden] == "Hide"; }
  void setHiddenStart(bool hidden) { setText(kHidden, hidden ? "Hide" : "Show"); }
  GlobalKeys globalKeys() const;
  void setGlobalKeys(GlobalKeys keys);

  friend bool operator==(const Settings&, const Settings&) = default;

 private:
  enum Value {
    kLanguage,
    kDefaultCard,
    kStripBackground,
    kCardNameColour,
    kActiveCardColour,
    kCategoryFilter,
    kShowList,
    kLaunch,
    kHidden,
    kGlobalKeys,
  };
  void setText(Value which, std::string_view text);
  std::uint32_t colour(Value which) const;
  void setColour(Value which, std::uint32_t colour);

  // Each value as the file spells it.
  std::array<std::string, kSettingCount> values_;
};

}  // namespace qw::store
