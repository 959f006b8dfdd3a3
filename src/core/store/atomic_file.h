#pragma once
// The one way a file of the data folder is written: a crash at any instant leaves either the
// old content or the new one, never a truncated file.

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace qw::store {

// Writes `bytes` to a temporary file beside `target`, flushes it to disk and renames it over
// `target`, then flushes the folder. On any failure the temporary file is removed, `target`
// is left as it was, and StoreError is thrown.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// The points of a write where a crash or a failing system call can stop it.
enum class WriteStep {
  TemporaryCreated,  // the temporary file exists, empty
  TemporaryWritten,  // it holds the bytes, flushed; the target is still the old file
  Replaced,          // the rename is done; the folder is not flushed yet
};
// Called at every step of every write of this process. An exception thrown by it fails the
// write at that step as a failing system call would. For tests that stop writers part-way;
// empty (the default) in the program.
using WriteStepHook = std::function<void(const std::filesystem::path& target, WriteStep step)>;
void setWriteStepHook(WriteStepHook hook);

// Removes the temporary files a killed writer left in `folder` and returns the files that stay:
// one walk of a folder of a thousand files. Only for a folder no other process writes to: the
// program's own data folder, at start, under the single-instance lock.
std::vector<std::filesystem::path> removeLeftoverTemporaries(const std::filesystem::path& folder);

}  // namespace qw::store
