#include "trace_reader.h"

#include <cstdio>

namespace qw::bench {

void TraceReader::readAvailable() {
  process_.setReadChannel(QProcess::StandardError);
  while (process_.canReadLine()) {
    const QByteArray line = process_.readLine();
    const QList<QByteArray> fields = line.trimmed().split(' ');
    bool number = false;
    const long long ns = fields.size() == 3 ? fields[2].toLongLong(&number) : 0;
    if (fields.size() == 3 && fields[0] == "quillwick-trace" && number)
      events_.push_back({fields[1].toStdString(), Clock::time_point(std::chrono::nanoseconds(ns))});
    else
      std::fwrite(line.constData(), 1, line.size(), stderr);
  }
}

std::optional<size_t> TraceReader::waitFor(const std::string& name, size_t from,
                                           std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    readAvailable();
    for (size_t i = from; i < events_.size(); ++i)
      if (events_[i].name == name) return i;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0 || process_.state() == QProcess::NotRunning) return std::nullopt;
    process_.waitForReadyRead(static_cast<int>(std::min<long long>(left.count(), 100)));
  }
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace qw::bench
