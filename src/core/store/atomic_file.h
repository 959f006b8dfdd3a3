#pragma once
// The one way a file of the data folder is written: a crash at any instant leaves either the
// old content or the new one, never a truncated file.

#include <filesystem>
#include <string_view>

namespace qw::store {

// Writes `bytes` to a temporary file beside `target`, flushes it to disk and renames it over
// `target`, then flushes the folder. On any failure the temporary file is removed, `target`
// is left as it was, and StoreError is thrown.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace qw::store
