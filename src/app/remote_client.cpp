#include "app/remote_client.h"

#include <QLocalSocket>
#include <QThread>

namespace qw::app {
namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

// A --print of a large card: far more than any card's plain text.
constexpr std::size_t kMaxAnswerBody = std::size_t{256} * 1024 * 1024;

}  // namespace

Reply askRunningCopy(const std::string& name, const remote::Request& request,
                     std::chrono::milliseconds connectWithin,
                     std::chrono::milliseconds answerWithin) {
  QLocalSocket socket;
  const auto connectDeadline = Clock::now() + connectWithin;
  for (;;) {
    socket.connectToServer(QString::fromStdString(name));
    if (socket.waitForConnected(std::max(msLeft(connectDeadline), 100))) break;
    socket.abort();
    if (Clock::now() >= connectDeadline) return {Reply::Delivery::NoCopy, {}};
    // A copy that is starting listens once its first card is open.
    QThread::msleep(20);
  }
  const std::string frame = remote::requestFrame(request);
  socket.write(frame.data(), static_cast<qint64>(frame.size()));
  const auto answerDeadline = Clock::now() + answerWithin;
  while (socket.bytesToWrite() > 0)
    if (!socket.waitForBytesWritten(msLeft(answerDeadline))) return {Reply::Delivery::NoAnswer, {}};
  remote::FrameReader reader(kMaxAnswerBody);
  while (reader.state() == remote::FrameReader::State::NeedMore) {
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(msLeft(answerDeadline))) break;
    const QByteArray bytes = socket.readAll();
    reader.add(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  }
  if (reader.state() != remote::FrameReader::State::Complete)
    return {Reply::Delivery::NoAnswer, {}};
  const std::optional<remote::Answer> answer = remote::readAnswer(reader.body());
  if (!answer) return {Reply::Delivery::NoAnswer, {}};
  return {Reply::Delivery::Answered, *answer};
}

}  // namespace qw::app
