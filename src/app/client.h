#pragma once
// A start with a command: the command line read, the command sent to the running copy (started
// in the tray when none runs, so there is never a second writer of the data folder), its
// answer printed.

#include "core/store/store.h"

namespace qw::app {

// The lock that makes one copy the program; a client only looks whether it is held.
inline constexpr char kInstanceLockName[] = "quillWick001";

// Runs the command of QCoreApplication's arguments; the exit code of the shared set.
int runClient(const store::StoreLocation& where);

}  // namespace qw::app
