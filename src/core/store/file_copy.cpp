#include "core/store/file_copy.h"

#include <chrono>
#include <system_error>

#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace qw::store {
namespace fs = std::filesystem;

#ifdef _WIN32

namespace {

// FILETIME counts 100 ns from 1601; the system clock counts from 1970.
constexpr std::int64_t kFileTimeTo1970 = 116444736000000000;

fs::file_time_type fromFileTime(const FILETIME& time) {
  const std::int64_t ticks =
      (std::int64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime) - kFileTimeTo1970;
  const std::chrono::sys_time<std::chrono::nanoseconds> since1970{
      std::chrono::nanoseconds(ticks * 100)};
  // MSVC's file clock counts 100 ns, coarser than the nanoseconds above.
  return std::chrono::time_point_cast<fs::file_time_type::duration>(
      std::chrono::file_clock::from_sys(since1970));
}

FILETIME toFileTime(fs::file_time_type time) {
  const auto since1970 = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::file_clock::to_sys(time).time_since_epoch());
  const auto ticks = static_cast<std::uint64_t>(since1970.count() / 100 + kFileTimeTo1970);
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

std::optional<fs::file_time_type> modificationTime(const fs::path& file) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return fromFileTime(data.ftLastWriteTime);
}

bool setModificationTime(const fs::path& file, fs::file_time_type time) {
  const HANDLE handle = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const FILETIME written = toFileTime(time);
  const bool done = SetFileTime(handle, nullptr, nullptr, &written) != 0;
  CloseHandle(handle);
  return done;
}

#else

std::optional<fs::file_time_type> modificationTime(const fs::path& file) {
  std::error_code error;
  const fs::file_time_type time = fs::last_write_time(file, error);
  if (error) return std::nullopt;
  return time;
}

bool setModificationTime(const fs::path& file, fs::file_time_type time) {
  std::error_code error;
  fs::last_write_time(file, time, error);
  return !error;
}

#endif

void copyFileAtomically(const fs::path& from, const fs::path& to) {
  const std::optional<std::string> bytes = readFileBytes(from);
  if (!bytes) throw StoreError(from, Fault::Missing);
  const std::optional<fs::file_time_type> time = modificationTime(from);
  writeFileAtomically(to, *bytes);
  // The bytes are in place whatever happens here; a volume that keeps no times only makes
  // the next comparison favour the copy.
  if (time) setModificationTime(to, *time);
}

std::optional<std::int64_t> syncTimeStamp(const fs::path& file) {
  const std::optional<fs::file_time_type> time = modificationTime(file);
  if (!time) return std::nullopt;
  const auto seconds =
      std::chrono::floor<std::chrono::seconds>(std::chrono::file_clock::to_sys(*time));
  const std::int64_t count = seconds.time_since_epoch().count();
  return count - ((count % 2) + 2) % 2;
}

}  // namespace qw::store
