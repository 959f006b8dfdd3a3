#pragma once
// What a search over all cards keeps between searches: each card's plain text and the content
// file each settings file names, read again only when the file's time or size changed.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

namespace qw::find {

class CardTextCache {
 public:
  // The content file a card's settings file names (relative ones under `dataFolder`); empty
  // when it names none or cannot be read.
  std::filesystem::path contentFile(const std::filesystem::path& settingsFile,
                                    const std::filesystem::path& dataFolder);
  // The plain text of a content file, RTF or plain, with CR LF line breaks, as opening the card
  // reads it; nothing when the file is gone or cannot be read. Valid until the next call.
  const std::string* plainText(const std::filesystem::path& contentFile);

  // Forgets every file not in `kept`: the texts of deleted cards do not stay in memory.
  void keepOnly(const std::set<std::filesystem::path>& kept);
  // The bytes of text held.
  std::size_t textBytes() const;
  // How many files were read rather than taken from memory since the cache was made.
  int filesRead() const { return filesRead_; }

 private:
  struct Stamp {
    std::int64_t time = 0;
    std::uintmax_t size = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  template <typename Value>
  struct Entry {
    Stamp stamp;
    Value value;
  };
  static std::optional<Stamp> stampOf(const std::filesystem::path& file);

  std::unordered_map<std::string, Entry<std::filesystem::path>> contentFiles_;
  std::unordered_map<std::string, Entry<std::string>> texts_;
  int filesRead_ = 0;
};

}  // namespace qw::find
