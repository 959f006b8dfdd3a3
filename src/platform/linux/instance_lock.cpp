// The lock is an flock on a file: the kernel drops it with the last descriptor, so it goes away
// with the process however that ends.
#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace qw::platform {
namespace {

namespace fs = std::filesystem;

// Opens the lock file for this user only. The temp folder is shared, so a symbolic link, a
// special file or a file of another user planted there is refused rather than followed.
int openLockFile(const fs::path& file) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Where the lock may live, in order: the per-user runtime folder, then the temp folder under a
// per-user name.
std::vector<fs::path> lockFiles(const std::string& name) {
  std::vector<fs::path> files;
  std::error_code ec;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr) {
    const fs::path dir(runtime);
    if (dir.is_absolute() && fs::is_directory(dir, ec)) files.push_back(dir / name);
  }
  const auto temp = fs::temp_directory_path(ec);
  if (!ec) files.push_back(temp / (name + "-" + std::to_string(::geteuid())));
  return files;
}

}  // namespace

InstanceLock::InstanceLock(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return;
  for (const auto& file : lockFiles(name)) {
    const int fd = openLockFile(file);
    if (fd < 0) continue;
    int result;
    do {
      result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
      fd_ = fd;
      state_ = State::Acquired;
      return;
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      state_ = State::HeldElsewhere;
      return;
    }
  }
  state_ = State::Unavailable;
}

// The file stays: removing it would let a starting copy lock a file that is no longer there.
InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace qw::platform
