#include "core/store/index_rebuild.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

#include "core/i18n/strings.h"
#include "core/store/card_index.h"
#include "core/store/card_settings.h"
#include "core/store/index_line.h"
#include "core/store/settings.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"
#include "core/text/plain_text.h"
#include "core/text/utf8.h"

namespace qw::store {
namespace {

namespace fs = std::filesystem;

// Long enough to tell cards apart in the strip.
constexpr std::size_t kNameLength = 40;

// The interface language param.ini names; French, as at a first start, when it cannot be read.
Language languageSetting(const Store& store) {
  try {
    if (const auto lines = readTextLines(store.dataFolder / "param.ini"))
      return Settings::fromLines(*lines).language();
  } catch (const StoreError&) {
  }
  return Language::French;
}

// The first line of the card's text that holds more than blanks, trimmed and cut to
// kNameLength characters; empty for a protected, empty, missing or unreadable card.
std::string firstLineOfText(const fs::path& content) {
  if (content.empty() || isProtectedFile(content)) return {};
  std::optional<std::string> bytes;
  try {
    bytes = readFileBytes(content);
  } catch (const StoreError&) {
    return {};
  }
  if (!bytes) return {};
  for (const std::string& line : splitLines(text::plainTextOfCard(*bytes))) {
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos) continue;
    const std::string_view text =
        std::string_view(line).substr(start, line.find_last_not_of(" \t") + 1 - start);
    std::size_t end = 0;
    for (std::size_t n = 0; n < kNameLength && end < text.size(); ++n)
      text::nextCodePoint(text, end);
    return text::toValidUtf8(text.substr(0, end));
  }
  return {};
}

}  // namespace

std::vector<std::string> rebuiltCardLines(const Store& store) {
  std::vector<fs::path> files;
  if (store.filesAtLoad) {
    files = *store.filesAtLoad;
  } else {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(store.dataFolder, error))
      files.push_back(entry.path());
  }
  std::vector<std::pair<long long, fs::path>> settingsFiles;
  for (const fs::path& file : files)
    if (file.extension() == ".kvo")
      if (const auto number = parseCounter(utf8Of(file.stem())))
        settingsFiles.emplace_back(*number, file);
  std::sort(settingsFiles.begin(), settingsFiles.end());

  const std::string fallback =
      i18n::StringTable::forLanguage(languageSetting(store))[i18n::Str::sRecoveredCardName];
  std::vector<std::string> lines;
  for (const auto& [number, settingsFile] : settingsFiles) {
    fs::path content;
    try {
      if (const auto bytes = readFileBytes(settingsFile)) content = contentPathIn(store, *bytes);
    } catch (const StoreError&) {
      // Listed all the same: opening the card says why it cannot be read.
    }
    const bool linked = !content.empty() && content.parent_path() != store.dataFolder;
    std::string name = firstLineOfText(content);
    if (name.empty()) name = fallback + std::to_string(number);
    lines.push_back(makeIndexLine(std::to_string(number), "0", std::nullopt, linked, name));
  }
  return lines;
}

}  // namespace qw::store
