#include "core/store/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/store/colour.h"

namespace qw::store {
namespace {

using ::testing::ElementsAre;

// The value of line `n` (1-based) as a save writes it.
std::string written(const Settings& settings, std::size_t n) {
  const std::string line = settings.lines().at(n - 1);
  return line.substr(line.find('=') + 1);
}

TEST(Settings, DefaultsAndTheirLines) {
  const auto settings = Settings::defaults();
  EXPECT_EQ(settings.language(), Language::French);
  EXPECT_EQ(settings.stripBackground(), 0x00A67467u);
  EXPECT_TRUE(settings.hiddenStart());
  EXPECT_FALSE(settings.startAtLogon());
  EXPECT_FALSE(settings.showList());
  EXPECT_EQ(settings.globalKeys(), GlobalKeys::Win);
  EXPECT_THAT(settings.lines(),
              ElementsAre("Langue=Français", "DefaultFiche=quillWick", "BGMenuColor=$00A67467",
                          "LDMenuColor=clYellow", "LSMenuColor=clWhite", "LCategories=-0-",
                          "AffichList=0", "Launch=Manual", "Hidden=Hide"));
}

TEST(Settings, ValuesComeByLinePositionNotByKey) {
  const auto settings =
      Settings::fromLines({"Hidden=Anglais", "DefaultFiche=Notes", "a=$000000FF", "b=clRed",
                           "c=clBlue", "Langue=-0-3-", "x=1", "y=Startup", "z=Show"});
  EXPECT_EQ(settings.language(), Language::English);
  EXPECT_EQ(settings.defaultCard(), "Notes");
  EXPECT_EQ(settings.stripBackground(), 0x000000FFu);
  EXPECT_EQ(settings.cardNameColour(), *parseColour("clRed"));
  EXPECT_EQ(settings.activeCardColour(), *parseColour("clBlue"));
  EXPECT_EQ(settings.categoryFilter(), "-0-3-");
  EXPECT_TRUE(settings.showList());
  EXPECT_TRUE(settings.startAtLogon());
  EXPECT_FALSE(settings.hiddenStart());
  EXPECT_EQ(settings.globalKeys(), GlobalKeys::Win);
  EXPECT_THAT(settings.lines(),
              ElementsAre("Langue=Anglais", "DefaultFiche=Notes", "BGMenuColor=$000000FF",
                          "LDMenuColor=clRed", "LSMenuColor=clBlue", "LCategories=-0-3-",
                          "AffichList=1", "Launch=Startup", "Hidden=Show"));
}

TEST(Settings, TheHotKeyModifiersTakeATenthLineOnlyWhenNotTheDefault) {
  std::vector<std::string> lines = Settings::defaults().lines();
  EXPECT_EQ(lines.size(), 9u);
  lines.push_back("GlobalKeys=CtrlAlt");
  Settings settings = Settings::fromLines(lines);
  EXPECT_EQ(settings.globalKeys(), GlobalKeys::CtrlAlt);
  EXPECT_EQ(settings.lines(), lines);
  // A nine-line file reads the default and stays nine lines.
  lines.pop_back();
  EXPECT_EQ(Settings::fromLines(lines).globalKeys(), GlobalKeys::Win);
  settings.setGlobalKeys(GlobalKeys::Win);
  EXPECT_EQ(settings.lines(), lines);
}

TEST(Settings, ShortFilesFallBackOnlyForTheLastFourValues) {
  auto settings = Settings::fromLines({"Langue=Anglais", "DefaultFiche=A", "B=1", "C=2", "D=3"});
  EXPECT_EQ(settings.language(), Language::English);
  EXPECT_EQ(written(settings, 5), "3");
  EXPECT_EQ(settings.categoryFilter(), "-0-");
  EXPECT_FALSE(settings.showList());
  EXPECT_EQ(written(settings, 7), "0");
  EXPECT_EQ(written(settings, 8), "Manual");
  EXPECT_EQ(written(settings, 9), "Hide");

  settings = Settings::fromLines({"Langue=Anglais", "DefaultFiche=A"});
  EXPECT_EQ(written(settings, 3), "");
  EXPECT_EQ(written(settings, 5), "");
  EXPECT_EQ(settings.categoryFilter(), "-0-");

  settings = Settings::fromLines({});
  EXPECT_EQ(written(settings, 1), "");
  EXPECT_EQ(settings.language(), Language::French);
  EXPECT_TRUE(settings.hiddenStart());

  // A sixth line that is empty is read, not defaulted.
  settings = Settings::fromLines({"1", "2", "3", "4", "5", ""});
  EXPECT_EQ(settings.categoryFilter(), "");
  EXPECT_EQ(written(settings, 7), "0");
}

TEST(Settings, ValueIsTextAfterTheFirstEqualsUntrimmed) {
  const auto settings = Settings::fromLines(
      {"no equals sign", "DefaultFiche=a=b", "BGMenuColor= $00A67467 ", "=", "", "LCategories"});
  EXPECT_EQ(written(settings, 1), "no equals sign");
  EXPECT_EQ(settings.defaultCard(), "a=b");
  EXPECT_EQ(written(settings, 3), " $00A67467 ");
  EXPECT_EQ(written(settings, 4), "");
  EXPECT_EQ(written(settings, 5), "");
  EXPECT_EQ(settings.categoryFilter(), "LCategories");
}

TEST(Settings, WrittenLinesReadBackEqual) {
  auto settings = Settings::defaults();
  settings.setDefaultCard("a=b:c");
  settings.setCategoryFilter("");
  EXPECT_EQ(Settings::fromLines(settings.lines()), settings);
}

// A hand-edited value is read as what it means, and written back as it was spelt until the
// user sets it; setting writes the program's own spelling.
TEST(Settings, UnknownSpellingsSurviveASaveUntilTheirValueIsSet) {
  auto settings =
      Settings::fromLines({"Langue=Klingon", "DefaultFiche=", "BGMenuColor=16711680",
                           "LDMenuColor=nonsense", "LSMenuColor=$FFFFFF", "LCategories=-0-",
                           "AffichList=yes", "Launch=startup", "Hidden=hide", "GlobalKeys=Hyper"});
  EXPECT_EQ(settings.language(), Language::French);
  EXPECT_EQ(settings.stripBackground(), *parseColour("clBlue"));
  EXPECT_EQ(settings.cardNameColour(), *parseColour("clYellow"));  // nonsense reads as default
  EXPECT_FALSE(settings.showList());
  EXPECT_FALSE(settings.startAtLogon());
  EXPECT_FALSE(settings.hiddenStart());
  EXPECT_EQ(settings.globalKeys(), GlobalKeys::Win);
  EXPECT_THAT(settings.lines(),
              ElementsAre("Langue=Klingon", "DefaultFiche=", "BGMenuColor=16711680",
                          "LDMenuColor=nonsense", "LSMenuColor=$FFFFFF", "LCategories=-0-",
                          "AffichList=yes", "Launch=startup", "Hidden=hide", "GlobalKeys=Hyper"));

  // The same colour keeps its spelling; nonsense given its default value becomes that default.
  settings.setStripBackground(*parseColour("clBlue"));
  settings.setCardNameColour(settings.cardNameColour());
  settings.setActiveCardColour(*parseColour("clRed"));
  settings.setLanguage(Language::French);
  settings.setShowList(false);
  settings.setStartAtLogon(false);
  settings.setHiddenStart(false);
  settings.setGlobalKeys(GlobalKeys::Win);
  EXPECT_THAT(settings.lines(),
              ElementsAre("Langue=Français", "DefaultFiche=", "BGMenuColor=16711680",
                          "LDMenuColor=clYellow", "LSMenuColor=clRed", "LCategories=-0-",
                          "AffichList=0", "Launch=Manual", "Hidden=Show"));
}

}  // namespace
}  // namespace qw::store
