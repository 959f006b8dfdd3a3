// Changes of the settings that cannot be saved leave memory, param.ini, the start at logon and
// the strip as they were.

#include "core/notebook/settings_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/notebook/notebook_fixture.h"
#include "core/store/card_line.h"
#include "core/store/store_error.h"

namespace qw::notebook {
namespace {

namespace fs = std::filesystem;
using store::fixtures::CardLine;
using store::fixtures::readBytes;
using ::testing::_;
using ::testing::ElementsAre;

class SettingsCommands : public fixtures::NotebookFolder {
 protected:
  void SetUp() override {
    makeCards({CardLine(1, "Plain"), CardLine(2, "Work").category(3)});
    start();
  }
  // The atomic writer cannot replace a folder.
  void blockSettingsFile() {
    fs::remove(data / "param.ini");
    fs::create_directory(data / "param.ini");
  }
};

TEST_F(SettingsCommands, ANewFilterIsSavedAndRebuildsTheStrip) {
  changeCategoryFilter(*notebook, *store, "-3-", platform);
  EXPECT_THAT(names(), ElementsAre(strings[i18n::Str::sMainCardName], "Work"));
  EXPECT_EQ(notebook->current().number, kMainCard);
  EXPECT_NE(readBytes(data / "param.ini").find("LCategories=-3-\r\n"), std::string::npos);
}

TEST_F(SettingsCommands, AFilterThatCannotBeSavedChangesNothing) {
  notebook->switchToPosition(1);
  const auto before = names();
  blockSettingsFile();
  EXPECT_THROW(changeCategoryFilter(*notebook, *store, "-3-", platform), store::StoreError);
  EXPECT_EQ(store->settings.categoryFilter(), "-0-");
  EXPECT_EQ(names(), before);
  EXPECT_EQ(notebook->current().name, "Plain");
}

TEST_F(SettingsCommands, OptionsThatCannotBeSavedPutTheStartAtLogonBack) {
  store::Settings changed = store->settings;
  changed.setStartAtLogon(true);
  changed.setLanguage(i18n::Language::English);
  const store::Settings before = store->settings;
  blockSettingsFile();
  {
    ::testing::InSequence order;
    EXPECT_CALL(platform, setStartAtLogon(true, _));
    EXPECT_CALL(platform, setStartAtLogon(false, _));
  }
  EXPECT_THROW(changeOptions(*store, changed, platform), store::StoreError);
  EXPECT_EQ(store->settings, before);
}

TEST_F(SettingsCommands, OptionsThatLeaveTheStartAtLogonAloneDoNotTouchItTwice) {
  store::Settings changed = store->settings;
  changed.setDefaultCard("Work");
  blockSettingsFile();
  EXPECT_CALL(platform, setStartAtLogon(false, _)).Times(1);
  EXPECT_THROW(changeOptions(*store, changed, platform), store::StoreError);
  EXPECT_EQ(store->settings.defaultCard(), "quillWick");
}

}  // namespace
}  // namespace qw::notebook
