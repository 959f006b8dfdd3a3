#pragma once
// The timing lines a traced program prints on stderr ("quillwick-trace <event> <ns>"), read
// as they come. Other lines go through to our own stderr.

#include <QProcess>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace qw::bench {

using Clock = std::chrono::steady_clock;

struct TraceEvent {
  std::string name;
  Clock::time_point at;
};

class TraceReader {
 public:
  // `process` must have its stderr separate (not merged, not forwarded).
  explicit TraceReader(QProcess& process) : process_(process) {}

  // The index of the first event called `name` at index `from` or later, waiting for it up
  // to `timeout`; nothing when it did not come or the program ended first.
  std::optional<size_t> waitFor(const std::string& name, size_t from,
                                std::chrono::milliseconds timeout);
  // Every event read so far.
  const std::vector<TraceEvent>& events() const { return events_; }
  // The index the next event will have.
  size_t next() {
    readAvailable();
    return events_.size();
  }

 private:
  void readAvailable();

  QProcess& process_;
  std::vector<TraceEvent> events_;
};

double millisecondsBetween(Clock::time_point from, Clock::time_point to);

}  // namespace qw::bench
