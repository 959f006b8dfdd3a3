#include "platform/background_priority.h"

#include <windows.h>

namespace qw::platform {

void runInBackground() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace qw::platform
