#include "core/store/file_copy.h"

#include <chrono>
#include <system_error>

#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"

namespace qw::store {
namespace fs = std::filesystem;

void copyFileAtomically(const fs::path& from, const fs::path& to) {
  const std::optional<std::string> bytes = readFileBytes(from);
  if (!bytes) throw StoreError(from, "the file does not exist");
  std::error_code error;
  const fs::file_time_type time = fs::last_write_time(from, error);
  writeFileAtomically(to, *bytes);
  // The bytes are in place whatever happens here; a volume that keeps no times only makes
  // the next comparison favour the copy.
  if (!error) fs::last_write_time(to, time, error);
}

std::optional<std::int64_t> syncTimeStamp(const fs::path& file) {
  std::error_code error;
  const fs::file_time_type time = fs::last_write_time(file, error);
  if (error) return std::nullopt;
  const auto seconds =
      std::chrono::floor<std::chrono::seconds>(std::chrono::file_clock::to_sys(time));
  const std::int64_t count = seconds.time_since_epoch().count();
  return count - ((count % 2) + 2) % 2;
}

}  // namespace qw::store
