#pragma once
// A small tmpfs mounted on a folder for one test: a disk that fills up or turns read-only under
// the program. Mounting needs root; when it fails, `failure()` says why and the test skips.

#include <filesystem>
#include <string>

#ifdef __linux__
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace qw::store::fixtures {

class ScratchMount {
 public:
  // The file that takes the free space; tests leave it out of their comparisons.
  static constexpr const char* kFiller = "filler.bin";

  ScratchMount(const std::filesystem::path& at, std::size_t bytes)
      : at_(at), options_("size=" + std::to_string(bytes)) {
#ifdef __linux__
    std::filesystem::create_directories(at_);
    if (::mount("tmpfs", at_.c_str(), "tmpfs", 0, options_.c_str()) == 0)
      mounted_ = true;
    else
      failure_ = "cannot mount a tmpfs (needs root): " + std::string(std::strerror(errno));
#else
    failure_ = "tmpfs mounts exist on Linux only";
#endif
  }
  ~ScratchMount() {
#ifdef __linux__
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
#endif
  }
  ScratchMount(const ScratchMount&) = delete;
  ScratchMount& operator=(const ScratchMount&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& failure() const { return failure_; }

#ifdef __linux__
  // Writes the filler until not one more byte fits.
  void fill() const {
    const int file =
        ::open((at_ / kFiller).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (file < 0) return;
    const std::string chunk(4096, 'f');
    for (std::size_t size = chunk.size(); size > 0; size /= 2)
      while (::write(file, chunk.data(), size) == static_cast<ssize_t>(size)) {
      }
    ::close(file);
  }
  void freeSpace() const { ::unlink((at_ / kFiller).c_str()); }

  // A remount, as when the disk turns read-only under a running program.
  bool setReadOnly(bool readOnly) const {
    const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return ::mount("tmpfs", at_.c_str(), "tmpfs", flags, options_.c_str()) == 0;
  }
#else
  // Never reached: without a mount the tests skip before breaking the disk.
  void fill() const {}
  void freeSpace() const {}
  bool setReadOnly(bool) const { return false; }
#endif

 private:
  std::filesystem::path at_;
  std::string options_;
  bool mounted_ = false;
  std::string failure_;
};

}  // namespace qw::store::fixtures
