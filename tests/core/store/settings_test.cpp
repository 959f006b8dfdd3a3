#include "core/store/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qw::store {
namespace {

using ::testing::ElementsAre;

TEST(Settings, DefaultsAndTheirLines) {
  const auto settings = Settings::defaults();
  EXPECT_EQ(settings[kLanguage], "Français");
  EXPECT_EQ(settings[kStripBackground], "$00A67467");
  EXPECT_EQ(settings[kHidden], "Hide");
  EXPECT_THAT(settingsLines(settings),
              ElementsAre("Langue=Français", "DefaultFiche=quillWick", "BGMenuColor=$00A67467",
                          "LDMenuColor=clYellow", "LSMenuColor=clWhite", "LCategories=-0-",
                          "AffichList=0", "Launch=Manual", "Hidden=Hide"));
}

TEST(Settings, ValuesComeByLinePositionNotByKey) {
  const auto settings =
      settingsFromLines({"Hidden=Anglais", "DefaultFiche=Notes", "a=$000000FF", "b=clRed",
                         "c=clBlue", "Langue=-0-3-", "x=1", "y=Startup", "z=Show"});
  EXPECT_EQ(settings.values,
            (std::array<std::string, 10>{"Anglais", "Notes", "$000000FF", "clRed", "clBlue",
                                         "-0-3-", "1", "Startup", "Show", "Win"}));
}

TEST(Settings, TheHotKeyModifiersTakeATenthLineOnlyWhenNotTheDefault) {
  std::vector<std::string> lines = settingsLines(Settings::defaults());
  EXPECT_EQ(lines.size(), 9u);
  lines.push_back("GlobalKeys=CtrlAlt");
  Settings settings = settingsFromLines(lines);
  EXPECT_EQ(settings[kGlobalKeys], "CtrlAlt");
  EXPECT_EQ(settingsLines(settings), lines);
  // A nine-line file reads the default and stays nine lines.
  lines.pop_back();
  EXPECT_EQ(settingsFromLines(lines)[kGlobalKeys], "Win");
}

TEST(Settings, ShortFilesFallBackOnlyForTheLastFourValues) {
  auto settings = settingsFromLines({"Langue=Anglais", "DefaultFiche=A", "B=1", "C=2", "D=3"});
  EXPECT_EQ(settings[kLanguage], "Anglais");
  EXPECT_EQ(settings[kActiveCardColour], "3");
  EXPECT_EQ(settings[kCategoryFilter], "-0-");
  EXPECT_EQ(settings[kShowList], "0");
  EXPECT_EQ(settings[kLaunch], "Manual");
  EXPECT_EQ(settings[kHidden], "Hide");

  settings = settingsFromLines({"Langue=Anglais", "DefaultFiche=A"});
  EXPECT_EQ(settings[kStripBackground], "");
  EXPECT_EQ(settings[kActiveCardColour], "");
  EXPECT_EQ(settings[kCategoryFilter], "-0-");

  settings = settingsFromLines({});
  EXPECT_EQ(settings[kLanguage], "");
  EXPECT_EQ(settings[kHidden], "Hide");

  // A sixth line that is empty is read, not defaulted.
  settings = settingsFromLines({"1", "2", "3", "4", "5", ""});
  EXPECT_EQ(settings[kCategoryFilter], "");
  EXPECT_EQ(settings[kShowList], "0");
}

TEST(Settings, ValueIsTextAfterTheFirstEqualsUntrimmed) {
  const auto settings = settingsFromLines(
      {"no equals sign", "DefaultFiche=a=b", "BGMenuColor= $00A67467 ", "=", "", "LCategories"});
  EXPECT_EQ(settings[kLanguage], "no equals sign");
  EXPECT_EQ(settings[kDefaultCard], "a=b");
  EXPECT_EQ(settings[kStripBackground], " $00A67467 ");
  EXPECT_EQ(settings[kCardNameColour], "");
  EXPECT_EQ(settings[kActiveCardColour], "");
  EXPECT_EQ(settings[kCategoryFilter], "LCategories");
}

TEST(Settings, WrittenLinesReadBackEqual) {
  auto settings = Settings::defaults();
  settings[kDefaultCard] = "a=b:c";
  settings[kCategoryFilter] = "";
  EXPECT_EQ(settingsFromLines(settingsLines(settings)), settings);
}

}  // namespace
}  // namespace qw::store
