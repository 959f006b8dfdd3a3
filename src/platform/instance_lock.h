#pragma once

#include <string>

namespace qw::platform {

// A per-user lock that lives as long as the process: the operating system releases it when the
// process ends, however it ends, so a crashed copy never blocks the next start.
class InstanceLock {
 public:
  enum class State {
    Acquired,       // this process is the only copy
    HeldElsewhere,  // another copy of the program holds it
    Unavailable,    // the lock could not be created; the program runs anyway
  };

  explicit InstanceLock(const std::string& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  State state() const { return state_; }

 private:
  State state_ = State::Unavailable;
  void* handle_ = nullptr;  // Windows: the mutex handle
  int fd_ = -1;             // elsewhere: the locked file
};

}  // namespace qw::platform
