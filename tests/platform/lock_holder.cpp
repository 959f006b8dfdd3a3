// Takes the instance lock named on its command line in a process of its own, prints what it
// got, and keeps the lock until its standard input closes or it is killed.
#include <cstdio>

#include "platform/instance_lock.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  using State = qw::platform::InstanceLock::State;
  const qw::platform::InstanceLock lock(argv[1]);
  switch (lock.state()) {
    case State::Acquired: std::puts("locked"); break;
    case State::HeldElsewhere: std::puts("held"); break;
    case State::Unavailable: std::puts("unavailable"); break;
  }
  std::fflush(stdout);
  if (lock.state() == State::Acquired) {
    while (std::getchar() != EOF) {
    }
  }
  return 0;
}
