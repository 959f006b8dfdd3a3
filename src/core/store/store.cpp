#include "core/store/store.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

#include "core/ports/platform_services.h"
#include "core/store/atomic_file.h"
#include "core/store/card_settings.h"
#include "core/store/index_line.h"
#include "core/store/index_rebuild.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"

namespace qw::store {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFolderName = "dataQuillWick";
constexpr std::string_view kIndexFile = "fiches.kvn";
constexpr std::string_view kCategoriesFile = "categ.kvn";
constexpr std::string_view kSettingsFile = "param.ini";
constexpr std::string_view kProbeFile = ".quillwick-write-test";

fs::path dataPath(const Store& store, std::string_view name) {
  return store.dataFolder / utf8Path(name);
}

// Creates the folder when needed and proves that files can be written in it; why it is
// unusable otherwise.
std::optional<StoreError> whyUnusable(const fs::path& folder) {
  std::error_code error;
  const auto type = fs::status(folder, error).type();
  if (type != fs::file_type::not_found && type != fs::file_type::directory && !error)
    return StoreError(folder, Fault::NotAFolder);
  fs::create_directories(folder, error);
  if (error) return StoreError(folder, Fault::FolderUncreatable, error.message());
  if (!fs::is_directory(folder, error)) return StoreError(folder, Fault::NotAFolder);
  // Not through the atomic writer: a probe needs no flush to disk, which would cost more than
  // the rest of the start's reading.
  const auto probe = folder / kProbeFile;
  errno = 0;
  std::ofstream file(probe, std::ios::binary | std::ios::trunc);
  const bool written = file && (file << "probe") && (file.close(), !file.fail());
  const int why = errno;
  fs::remove(probe, error);
  if (!written)
    return StoreError(folder, Fault::FolderUnwritable,
                      why ? std::generic_category().message(why) : std::string());
  return std::nullopt;
}

void chooseDataFolder(Store& store, const StoreLocation& where) {
  std::vector<StoreError> attempts;
  if (where.portable) {
    const auto besideProgram = where.executable.parent_path() / kFolderName;
    auto problem = whyUnusable(besideProgram);
    if (!problem) {
      store.dataFolder = besideProgram;
      return;
    }
    attempts.push_back(std::move(*problem));
  }
  if (!where.perUserData.empty()) {
    const auto perUser = where.perUserData / kFolderName;
    auto second = whyUnusable(perUser);
    if (!second) {
      store.dataFolder = perUser;
      store.dataFolderIsPerUser = true;
      return;
    }
    attempts.push_back(std::move(*second));
  }
  // An installed program without a per-user folder has nowhere at all.
  if (attempts.empty()) attempts.emplace_back(fs::path(kFolderName), Fault::FolderUncreatable);
  throw NoDataFolder(std::move(attempts));
}

// Moves an unusable file out of the way under a free name, so that nothing of it is lost; where
// it went.
fs::path keepAside(const fs::path& file) {
  auto aside = file;
  aside += ".bad";
  std::error_code error;
  for (int n = 2; fs::symlink_status(aside, error).type() != fs::file_type::not_found; ++n) {
    aside = file;
    aside += ".bad." + std::to_string(n);
  }
  fs::rename(file, aside, error);
  if (error) throw StoreError(file, Fault::NotKeptAside, error.message());
  return aside;
}

// What stays of a counted file whose counter is lost: the entries `numberOf` can read, in
// order, and a counter past the greatest number they hold.
struct Salvage {
  std::vector<std::string> entries;
  long long counter = 1;
  bool linesLost = false;
};

Salvage salvage(std::vector<std::string> entries,
                std::optional<long long> (*numberOf)(std::string_view)) {
  Salvage kept;
  for (auto& entry : entries) {
    const auto number = numberOf(entry);
    if (!number || *number == std::numeric_limits<long long>::max()) {
      kept.linesLost = true;
      continue;
    }
    kept.counter = std::max(kept.counter, *number + 1);
    kept.entries.push_back(std::move(entry));
  }
  return kept;
}

std::vector<std::string> withCounter(std::vector<std::string> entries, std::string counter) {
  entries.push_back(std::move(counter));
  return entries;
}

bool isAbsoluteStoredPath(std::string_view text, const fs::path& path) {
#ifdef _WIN32
  // A drive letter makes a stored path absolute, as it always has.
  return text.find(':') != std::string_view::npos || path.is_absolute();
#else
  (void)text;
  return path.is_absolute();
#endif
}

fs::path contentPathFrom(const Store& store, const fs::path& settingsFile) {
  const auto bytes = readFileBytes(settingsFile);
  return bytes ? contentPathIn(store, *bytes) : fs::path();
}

// What a hot key puts on the clipboard: the card's content as stored. A content file that
// cannot be read leaves the text empty.
std::string hotKeyText(const fs::path& content) {
  try {
    // A protected card's file is ciphertext: it never reaches a hot key.
    if (content.empty() || isProtectedFile(content)) return {};
    const auto lines = readTextLines(content);
    if (!lines) return {};
    if (lines->size() == 1) return lines->front();
    std::string text;
    for (const auto& line : *lines) text += line + "\r\n";
    return text;
  } catch (const StoreError&) {
    return {};
  }
}

// Empties the lines whose card settings file is gone and binds the hot-key slots. A slot's card
// number is the card's position once the emptied lines are removed.
void checkCards(Store& store) {
  auto& index = store.cardIndex;
  auto& contentPaths = store.contentPathsAtLoad.emplace();
  int position = 0;
  for (int i = 0; i < index.count(); ++i) {
    const std::string line = index.line(i);
    if (line.empty()) continue;
    const auto settingsFile = cardSettingsFile(store, line);
    std::optional<fs::path> content;  // nothing: unreadable, the card stays and opening it says why
    try {
      const auto settings = readFileBytes(settingsFile);
      if (!settings) {
        index.setLine(i, "");
        continue;
      }
      content = contentPathIn(store, *settings);
    } catch (const StoreError&) {
    }
    if (const auto slot = hotKeySlot(line); slot && HotKeySlots::isSlot(*slot)) {
      auto& bound = store.hotKeys[*slot];
      bound.text = content ? hotKeyText(*content) : std::string();
      bound.name = displayName(line);
      bound.card = position;
    }
    contentPaths.push_back(std::move(content));
    ++position;
  }
}

void loadCardIndex(Store& store) {
  const auto file = dataPath(store, kIndexFile);
  auto read = readTextLines(file);
  CountedLines counted = read ? splitCounted(std::move(*read)) : CountedLines{};
  bool changed = !read;
  if (!counted.entries.empty() && isOldFormat(counted.entries.front())) {
    for (auto& line : counted.entries) line = convertOldLine(line);
    changed = true;
  }
  if (!counted.counter) {
    Salvage kept = salvage(std::move(counted.entries), cardFileNumber);
    // Nothing of it can be read, or it is gone: the cards are listed again from their settings
    // files rather than overwritten by new cards.
    const bool rebuilt = kept.entries.empty();
    if (rebuilt) kept = salvage(rebuiltCardLines(store), cardFileNumber);
    const int cards = static_cast<int>(kept.entries.size());
    if (read && (rebuilt || kept.linesLost))
      store.indexRepair = IndexRepair{cards, keepAside(file)};
    else if (!read && cards > 0)
      store.indexRepair = IndexRepair{cards, {}};
    counted.entries = std::move(kept.entries);
    counted.counter = std::to_string(kept.counter);
    changed = true;
  }
  store.cardIndex.setLines(withCounter(std::move(counted.entries), std::move(*counted.counter)));
  if (changed) saveCardIndex(store);
  checkCards(store);
  store.cardIndex.removeBlankLines();
}

void loadCategories(Store& store) {
  const auto file = dataPath(store, kCategoriesFile);
  auto read = readTextLines(file);
  CountedLines counted = read ? splitCounted(std::move(*read)) : CountedLines{};
  const bool changed = !read || !counted.counter;
  if (!counted.counter) {
    // The categories that can be read stay, so no new one takes their ids.
    Salvage kept = salvage(std::move(counted.entries), categoryLineId);
    if (read && kept.linesLost) keepAside(file);
    counted.entries = std::move(kept.entries);
    counted.counter = std::to_string(kept.counter);
  }
  store.categories.setLines(withCounter(std::move(counted.entries), std::move(*counted.counter)));
  if (changed) saveCategories(store);
}

void loadSettings(Store& store, Language firstStartLanguage, ports::PlatformServices& platform) {
  if (const auto lines = readTextLines(dataPath(store, kSettingsFile))) {
    store.settings = Settings::fromLines(*lines);
    return;
  }
  store.settings = Settings::defaults();
  store.settings.setLanguage(firstStartLanguage);
  store.firstStart = true;
  saveSettings(store, platform);
}

}  // namespace

Store loadStore(const StoreLocation& where, ports::PlatformServices& platform) {
  Store store;
  store.executable = where.executable;
  chooseDataFolder(store, where);
  store.filesAtLoad = removeLeftoverTemporaries(store.dataFolder);
  store.hotKeys.reset();
  loadCardIndex(store);
  loadCategories(store);
  loadSettings(store, where.desktopLanguage, platform);
  store.language = store.settings.language();
  store.browserPath = platform.browserPath();
  return store;
}

void saveSettings(const Store& store, ports::PlatformServices& platform) {
  platform.setStartAtLogon(store.settings.startAtLogon(), store.executable);
  writeTextLines(dataPath(store, kSettingsFile), store.settings.lines());
}

void saveCardIndex(const Store& store) {
  writeTextLines(dataPath(store, kIndexFile), store.cardIndex.lines());
}

void saveCategories(const Store& store) {
  writeTextLines(dataPath(store, kCategoriesFile), store.categories.lines());
}

fs::path contentPathIn(const Store& store, std::string_view settings) {
  return contentPathIn(store.dataFolder, settings);
}

fs::path contentPathIn(const fs::path& dataFolder, std::string_view settings) {
  // Only the first line is decoded: the start reads this for every card.
  const std::string first = decodeStoredText(settings.substr(0, settings.find_first_of("\r\n")));
  if (first.empty()) return {};
  auto path = utf8Path(first);
  return isAbsoluteStoredPath(first, path) ? path : dataFolder / path;
}

std::optional<Language> storedLanguage(const StoreLocation& where) {
  std::vector<fs::path> folders;
  if (where.portable) folders.push_back(where.executable.parent_path() / kFolderName);
  if (!where.perUserData.empty()) folders.push_back(where.perUserData / kFolderName);
  for (const fs::path& folder : folders) {
    try {
      if (const auto lines = readTextLines(folder / kSettingsFile))
        return Settings::fromLines(*lines).language();
    } catch (const StoreError&) {
    }
  }
  return std::nullopt;
}

Language interfaceLanguage(const StoreLocation& where) {
  return storedLanguage(where).value_or(where.desktopLanguage);
}

fs::path readContentPath(const Store& store, int card) {
  return contentPathFrom(store, cardSettingsFile(store, store.cardIndex.line(card)));
}

fs::path cardSettingsFile(const Store& store, std::string_view indexLine) {
  return dataPath(store, fileNumber(indexLine) + ".kvo");
}

}  // namespace qw::store
