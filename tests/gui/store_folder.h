#pragma once
// The dialogs that work on the store: a scratch data folder, the store loaded from it, English
// strings and faked message boxes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "core/i18n/strings.h"
#include "core/notebook/fakes.h"
#include "core/store/mock_platform.h"
#include "core/store/store.h"
#include "core/store/temp_folder.h"

namespace qw::gui::fixtures {

class StoreFolder : public ::testing::Test {
 protected:
  // A start of the program on the data folder as it is.
  store::Store& loadStore() {
    return store.emplace(
        store::loadStore({temp.path() / "quillwick", temp.path() / "user"}, platform));
  }

  store::fixtures::TempFolder temp;
  std::filesystem::path data = temp.path() / "dataQuillWick";
  ::testing::NiceMock<store::fixtures::MockPlatform> platform;
  std::optional<store::Store> store;
  i18n::StringTable strings = i18n::StringTable::forLanguage("Anglais");
  notebook::fixtures::FakePrompts prompts;
};

}  // namespace qw::gui::fixtures
