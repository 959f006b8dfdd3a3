#include "platform/background_priority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

namespace qw::platform {

// Linux schedules each thread on its own: the nice value of a thread id is that thread's alone.
// Ten steps behind its siblings gets a tenth of the processor against one of them.
void runInBackground() {
  const auto self = static_cast<id_t>(gettid());
  setpriority(PRIO_PROCESS, self, std::min(19, getpriority(PRIO_PROCESS, self) + 10));
}

}  // namespace qw::platform
