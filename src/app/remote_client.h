#pragma once
// The command line's end of the remote control: one request to the running copy, its answer
// back.

#include <chrono>
#include <string>

#include "core/remote/request.h"

namespace qw::app {

struct Reply {
  enum class Delivery {
    Answered,
    NoCopy,    // nobody listened within the time
    NoAnswer,  // a copy took the request but gave no whole answer in time
  };
  Delivery delivery = Delivery::NoCopy;
  remote::Answer answer;
};

// Connects to `name`, trying again until `connectWithin` has passed (once when zero), sends
// `request` and waits up to `answerWithin` for the answer. Blocks; needs no event loop.
Reply askRunningCopy(const std::string& name, const remote::Request& request,
                     std::chrono::milliseconds connectWithin,
                     std::chrono::milliseconds answerWithin);

}  // namespace qw::app
