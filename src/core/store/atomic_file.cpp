#include "core/store/atomic_file.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <system_error>

#include "core/store/store_error.h"
#include "core/store/utf8_path.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace qw::store {
namespace {

WriteStepHook& stepHook() {
  static WriteStepHook hook;
  return hook;
}

void reachStep(const std::filesystem::path& target, WriteStep step) {
  if (stepHook()) stepHook()(target, step);
}

// The same while the temporary file exists: a write failed there drops it first.
template <typename Discard>
void reachStep(const std::filesystem::path& target, WriteStep step, Discard&& discard) {
  try {
    reachStep(target, step);
  } catch (...) {
    discard();
    throw;
  }
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
  auto folder = target.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

// A name no other writer of this process or another one picks at the same moment.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target, unsigned attempt) {
  static std::atomic<unsigned> sequence{0};
#ifdef _WIN32
  const unsigned long pid = GetCurrentProcessId();
#else
  const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  auto name = target.filename();
  name += ".tmp-" + std::to_string(pid) + "-" + std::to_string(sequence++) + "-" +
          std::to_string(attempt);
  return folderOf(target) / name;
}

#ifdef _WIN32

std::string lastErrorText() {
  return std::system_category().message(static_cast<int>(GetLastError()));
}

void writeWindows(const std::filesystem::path& target, std::string_view bytes) {
  std::filesystem::path temp;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temp = temporaryNameFor(target, attempt);
    file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
      throw StoreError(target, Fault::Unwritable, lastErrorText());
  }
  if (file == INVALID_HANDLE_VALUE) throw StoreError(target, Fault::Unwritable, lastErrorText());

  auto discard = [&] {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    DeleteFileW(temp.c_str());
  };
  auto fail = [&] {
    std::string reason = lastErrorText();
    discard();
    throw StoreError(target, Fault::Unwritable, std::move(reason));
  };
  reachStep(target, WriteStep::TemporaryCreated, discard);

  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) fail();
    done += written;
  }
  if (!FlushFileBuffers(file)) fail();
  if (!CloseHandle(file)) {
    file = INVALID_HANDLE_VALUE;
    fail();
  }
  file = INVALID_HANDLE_VALUE;
  reachStep(target, WriteStep::TemporaryWritten, discard);
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    fail();
  reachStep(target, WriteStep::Replaced);
}

#else

std::string errnoText(int error) { return std::generic_category().message(error); }

// Flushes the folder entry of the rename; file systems that cannot sync a folder say EINVAL.
void syncFolder(const std::filesystem::path& target) {
  const int folder = open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) throw StoreError(target, Fault::Unwritable, errnoText(errno));
  const int result = fsync(folder);
  const int error = errno;
  close(folder);
  if (result != 0 && error != EINVAL && error != ENOTSUP)
    throw StoreError(target, Fault::Unwritable, errnoText(error));
}

void writePosix(const std::filesystem::path& target, std::string_view bytes) {
  std::filesystem::path temp;
  int file = -1;
  for (unsigned attempt = 0; attempt < 100 && file < 0; ++attempt) {
    temp = temporaryNameFor(target, attempt);
    file = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0 && errno != EEXIST) throw StoreError(target, Fault::Unwritable, errnoText(errno));
  }
  if (file < 0) throw StoreError(target, Fault::Unwritable, errnoText(EEXIST));

  auto discard = [&] {
    if (file >= 0) close(file);
    file = -1;
    unlink(temp.c_str());
  };
  auto fail = [&](int error) {
    discard();
    throw StoreError(target, Fault::Unwritable, errnoText(error));
  };
  reachStep(target, WriteStep::TemporaryCreated, discard);

  // A replaced file keeps its permissions.
  struct stat old {};
  if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(file, old.st_mode & 07777);

  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(file, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    done += static_cast<size_t>(written);
  }
  if (fsync(file) != 0) fail(errno);
  const int closed = close(file);
  file = -1;
  if (closed != 0) fail(errno);
  reachStep(target, WriteStep::TemporaryWritten, discard);
  if (rename(temp.c_str(), target.c_str()) != 0) fail(errno);
  reachStep(target, WriteStep::Replaced);
  syncFolder(target);
}

#endif

}  // namespace

void setWriteStepHook(WriteStepHook hook) { stepHook() = std::move(hook); }

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
#ifdef _WIN32
  writeWindows(target, bytes);
#else
  writePosix(target, bytes);
#endif
}

std::vector<std::filesystem::path> removeLeftoverTemporaries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> staying;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    // Not string(): with MSVC that converts to the ANSI code page and throws on a name outside it.
    const std::string name = utf8Of(entry.path().filename());
    std::error_code removal;
    if (name.find(".tmp-") != std::string::npos && entry.is_regular_file(error) &&
        std::filesystem::remove(entry.path(), removal))
      continue;
    staying.push_back(entry.path());
  }
  return staying;
}

}  // namespace qw::store
