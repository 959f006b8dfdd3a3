#pragma once
// A scratch data folder with a notebook over it, the editor and message boxes faked.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/crypto/sealed_card_limits.h"
#include "core/notebook/card_properties.h"
#include "core/notebook/fakes.h"
#include "core/notebook/notebook.h"
#include "core/store/mock_platform.h"
#include "core/store/temp_folder.h"
#include "core/store/text_file.h"

namespace qw::notebook::fixtures {

class NotebookFolder : public ::testing::Test {
 protected:
  explicit NotebookFolder(std::string_view language = "Anglais")
      : strings(i18n::StringTable::forLanguage(language)) {}

  // A start of the program on the data folder as it is.
  store::Store& loadStore() {
    return store.emplace(
        store::loadStore({temp.path() / "quillwick", temp.path() / "user"}, platform));
  }
  // The notebook over the loaded store, opened as the first show does.
  Notebook& openNotebook() {
    notebook.emplace(*store, strings, editor, prompts);
    notebook->open();
    return *notebook;
  }
  // Both at once, when nothing is changed in between.
  Notebook& start() {
    loadStore();
    return openNotebook();
  }

  // Own-file cards from their index lines, each holding "text of <file number>"; the counter
  // is 50.
  void makeCards(const std::vector<std::string>& index) {
    std::string lines;
    for (const auto& line : index) {
      const std::string number = line.substr(0, line.find(';'));
      store::fixtures::writeBytes(data / (number + ".kvo"), number + ".kvn\r\n");
      store::fixtures::writeBytes(data / (number + ".kvn"), "text of " + number);
      lines += line + "\r\n";
    }
    store::fixtures::writeBytes(data / "fiches.kvn", lines + "50\r\n");
  }

  // Points file 1's settings at 1.kvc holding `bytes`, as for a protected card; 1.kvn stays.
  void sealFile1(const std::string& bytes) {
    store::fixtures::writeBytes(data / "1.kvo", "1.kvc\r\n");
    store::fixtures::writeBytes(data / "1.kvc", bytes);
  }
  // Starts on the folder and switches to strip position 1 with `password` ready to be asked.
  Notebook& openPosition1With(const std::string& password) {
    loadStore();
    openNotebook();
    prompts.passwords.push_back(password);
    notebook->switchToPosition(1);
    return *notebook;
  }

  static CardProperties named(const std::string& name, int slot = 0) {
    CardProperties properties;
    properties.name = name;
    properties.hotKeySlot = slot;
    return properties;
  }

  std::vector<std::string> names() const {
    std::vector<std::string> shown;
    for (const auto& entry : notebook->strip()) shown.push_back(entry.name);
    return shown;
  }
  std::vector<std::string> indexOnDisk() const {
    return store::readTextLines(data / "fiches.kvn").value_or(std::vector<std::string>{});
  }

  // Protected cards here are about the notebook, not the key derivation: sealed at no cost.
  crypto::detail::SealingCostForTests cheapSealing{crypto::detail::kCheapestLimits};
  store::fixtures::TempFolder temp;
  std::filesystem::path data = temp.path() / "dataQuillWick";
  ::testing::NiceMock<store::fixtures::MockPlatform> platform;
  std::optional<store::Store> store;
  i18n::StringTable strings;
  FakeEditor editor;
  FakePrompts prompts;
  std::optional<Notebook> notebook;
};

}  // namespace qw::notebook::fixtures
