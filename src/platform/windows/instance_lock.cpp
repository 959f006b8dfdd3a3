// The lock is a named mutex. Once taken it is never released nor closed: the system disposes of
// it when the process ends, which is what lets the next start succeed.
#include "platform/instance_lock.h"

#include <windows.h>

namespace qw::platform {

InstanceLock::InstanceLock(const std::string& name) {
  const HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
  // Read at once: any later call may overwrite the last error.
  const DWORD error = GetLastError();
  if (mutex == nullptr) {
    state_ = State::Unavailable;
    return;
  }
  if (error == ERROR_ALREADY_EXISTS) {
    // A refused copy must not keep the mutex alive: while its message is on screen, a start
    // after the first copy has ended would be refused too.
    CloseHandle(mutex);
    state_ = State::HeldElsewhere;
    return;
  }
  handle_ = mutex;
  state_ = State::Acquired;
}

InstanceLock::~InstanceLock() = default;

}  // namespace qw::platform
