#include "core/find/card_text_cache.h"

#include <system_error>

#include "core/store/store.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"
#include "core/text/plain_text.h"

namespace qw::find {
namespace fs = std::filesystem;

namespace {

// The maps are keyed by the path's UTF-8: fs::path has no hash on every standard library the
// program is built with, and its narrow string on Windows is not UTF-8.
std::string keyOf(const fs::path& file) { return store::utf8Of(file); }

std::optional<std::string> bytesOf(const fs::path& file) {
  try {
    return store::readFileBytes(file);
  } catch (const store::StoreError&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<CardTextCache::Stamp> CardTextCache::stampOf(const fs::path& file) {
  std::error_code error;
  const auto time = fs::last_write_time(file, error);
  if (error) return std::nullopt;
  const auto size = fs::file_size(file, error);
  if (error) return std::nullopt;
  return Stamp{static_cast<std::int64_t>(time.time_since_epoch().count()), size};
}

fs::path CardTextCache::contentFile(const fs::path& settingsFile, const fs::path& dataFolder) {
  const std::optional<Stamp> stamp = stampOf(settingsFile);
  const std::string key = keyOf(settingsFile);
  if (!stamp) {
    contentFiles_.erase(key);
    return {};
  }
  if (const auto known = contentFiles_.find(key);
      known != contentFiles_.end() && known->second.stamp == *stamp)
    return known->second.value;
  const std::optional<std::string> bytes = bytesOf(settingsFile);
  fs::path content = bytes ? store::contentPathIn(dataFolder, *bytes) : fs::path();
  contentFiles_[key] = {*stamp, content};
  return content;
}

const std::string* CardTextCache::plainText(const fs::path& contentFile) {
  const std::optional<Stamp> stamp = stampOf(contentFile);
  const std::string key = keyOf(contentFile);
  if (!stamp) {
    texts_.erase(key);
    return nullptr;
  }
  if (const auto known = texts_.find(key); known != texts_.end() && known->second.stamp == *stamp)
    return &known->second.value;
  const std::optional<std::string> bytes = bytesOf(contentFile);
  ++filesRead_;
  if (!bytes) {
    texts_.erase(key);
    return nullptr;
  }
  Entry<std::string>& entry = texts_[key];
  entry = {*stamp, text::plainTextOfCard(*bytes)};
  return &entry.value;
}

void CardTextCache::keepOnly(const std::set<fs::path>& kept) {
  std::set<std::string> keys;
  for (const fs::path& file : kept) keys.insert(keyOf(file));
  std::erase_if(texts_, [&](const auto& entry) { return !keys.contains(entry.first); });
  std::erase_if(contentFiles_, [&](const auto& entry) { return !keys.contains(entry.first); });
}

std::size_t CardTextCache::textBytes() const {
  std::size_t bytes = 0;
  for (const auto& [file, entry] : texts_) bytes += entry.value.size();
  return bytes;
}

}  // namespace qw::find
