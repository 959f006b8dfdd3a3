#include "app/termination_signals.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

namespace qw::app {
namespace {

int pipeEnds[2] = {-1, -1};

// Only async-signal-safe work here: one byte down the pipe.
void onSignal(int) {
  const char byte = 1;
  [[maybe_unused]] auto n = ::write(pipeEnds[1], &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0) return;
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte;
    [[maybe_unused]] auto n = ::read(pipeEnds[0], &byte, 1);
    emit received();
  });
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace qw::app

#else

namespace qw::app {
// Windows ends sessions through WM_ENDSESSION, which Qt turns into a close.
TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;
}  // namespace qw::app

#endif
