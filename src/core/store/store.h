#pragma once
// Everything loaded from the data folder at start, and the procedures that write it back.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/card_index.h"
#include "core/store/categories.h"
#include "core/store/hot_key_slots.h"
#include "core/store/settings.h"

namespace qw::ports {
class PlatformServices;
}

namespace qw::store {

// Where the program runs from; given by the application layer.
struct StoreLocation {
  std::filesystem::path executable;   // full path of the running program
  std::filesystem::path perUserData;  // e.g. ~/.local/share: used when the folder beside
                                      // the executable cannot be created or written
  // False for an installed program: the data is always in the per-user folder, never beside
  // the executable (Program Files, /usr/bin), whoever runs it.
  bool portable = true;
  // The desktop's messages language: the one a first start writes into param.ini.
  Language desktopLanguage = Language::French;
};

// What the load did with a card index it could not use as it stood, for the notebook's opening
// to tell once.
struct IndexRepair {
  int cards = 0;                    // the cards the index lists now
  std::filesystem::path keptAside;  // where the unusable file went; empty when there was none
};

struct Store {
  std::filesystem::path executable;
  std::filesystem::path dataFolder;  // ends in "dataQuillWick"
  bool dataFolderIsPerUser = false;  // true when the folder beside the executable was unusable
  Settings settings;
  Language language = Language::French;  // the setting as loaded; never changes after
  bool firstStart = false;               // param.ini was missing and has just been written
  std::string browserPath;
  CardIndex cardIndex;
  HotKeySlots hotKeys;
  Categories categories;
  // What the load found on its way, for the notebook's opening to take once (later the files
  // may have changed). The content file each card's settings name, by card: empty when they
  // name none, nothing when they could not be read; the load reads every settings file anyway.
  std::optional<std::vector<std::optional<std::filesystem::path>>> contentPathsAtLoad;
  // The data folder's files, an earlier run's drafts among them.
  std::optional<std::vector<std::filesystem::path>> filesAtLoad;
  // Set when fiches.kvn was missing beside card files, or could not be read whole.
  std::optional<IndexRepair> indexRepair;
};

// The start-up load, in its fixed order: data folder, hot-key slots reset, card index (with
// old-format conversion, dead entries dropped, slots filled, blank lines removed), categories,
// settings, language, browser. Creates missing files. An index or category file whose counter
// is lost keeps every line that can be read, its counter past the numbers they hold; an index
// of which no card line can be read, or a missing one beside card files, is rebuilt from the
// cards' settings files. A file that had to lose lines is kept aside first. Throws StoreError
// when the data folder cannot be made usable at all.
Store loadStore(const StoreLocation& where, ports::PlatformServices& platform);

// The interface language of the data folder a start at `where` would use, read without
// creating or writing anything; nothing when there is no readable param.ini there yet.
std::optional<Language> storedLanguage(const StoreLocation& where);
// The language a start at `where` speaks: the data folder's, else the one its first start
// will write.
Language interfaceLanguage(const StoreLocation& where);

// Writes the start-at-logon entry (setting "Launch") and param.ini.
void saveSettings(const Store& store, ports::PlatformServices& platform);
// Writes fiches.kvn from the in-memory index, counter line included.
void saveCardIndex(const Store& store);
// Writes categ.kvn from the in-memory list, counter line included.
void saveCategories(const Store& store);

// Settings file (".kvo") of the card whose index line is given.
std::filesystem::path cardSettingsFile(const Store& store, std::string_view indexLine);

// The content file named by a card settings file's bytes (its first line), relative to the
// data folder unless absolute; empty when the line is.
std::filesystem::path contentPathIn(const Store& store, std::string_view settingsBytes);
std::filesystem::path contentPathIn(const std::filesystem::path& dataFolder,
                                    std::string_view settingsBytes);

// Content file of card `card` (0-based): the first line of its settings file, relative to the
// data folder unless absolute; empty when the settings file does not exist.
std::filesystem::path readContentPath(const Store& store, int card);

}  // namespace qw::store
