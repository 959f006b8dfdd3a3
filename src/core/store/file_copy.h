#pragma once
// Whole-file copies between a card's content file and its partner outside the data folder,
// and the time stamps that decide which way a copy goes.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace qw::store {

// Copies the bytes of `from` over `to` (creating it) through the atomic writer, then gives
// `to` the modification time of `from`, so the two compare equal afterwards. Throws
// StoreError when `from` is missing or unreadable or `to` cannot be written; `to` is then
// left as it was.
void copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// The last-modification time of `file` to the file system's own resolution; nothing when it
// cannot be read. Not std::filesystem::last_write_time: MinGW's reads and sets whole seconds,
// so a file written in the same second as another would compare equal to it.
std::optional<std::filesystem::file_time_type> modificationTime(const std::filesystem::path& file);
bool setModificationTime(const std::filesystem::path& file, std::filesystem::file_time_type time);

// The last-modification time of `file` in seconds since 1970, floored to an even number: the
// 2-second resolution that FAT volumes and removable drives keep, so a copy there compares
// equal to its source. Nothing when the file does not exist or cannot be reached.
std::optional<std::int64_t> syncTimeStamp(const std::filesystem::path& file);

}  // namespace qw::store
