#include "gui/remote_server.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <memory>

#ifdef Q_OS_LINUX
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace qw::gui {
namespace {

// A client that has not sent its whole request by then is dropped.
constexpr int kRequestTimeoutMs = 10'000;

// The runtime folder keeps other users out already; root, who passes every permission, is
// turned away here too.
bool sameUser(const QLocalSocket& socket) {
#ifdef Q_OS_LINUX
  ucred peer{};
  socklen_t size = sizeof peer;
  if (::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                   &size) != 0)
    return false;
  return peer.uid == ::geteuid();
#else
  // The pipe's access list lets only this user in.
  (void)socket;
  return true;
#endif
}

}  // namespace

RemoteServer::RemoteServer(Answerer answer, QObject* parent)
    : QObject(parent), answer_(std::move(answer)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) serve(socket);
  });
}

bool RemoteServer::listen(const QString& name, bool removeStale) {
  if (removeStale) QLocalServer::removeServer(name);
#ifndef Q_OS_WIN
  // WORKAROUND: with UserAccessOption Qt binds elsewhere and renames the socket onto the name,
  // replacing whatever is there: a copy without the lock must not take a live copy's socket.
  else if (QFileInfo::exists(name))
    return false;
#endif
  return server_.listen(name);
}

void RemoteServer::serve(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  if (!sameUser(*socket)) {
    socket->abort();
    socket->deleteLater();
    return;
  }
  auto reader = std::make_shared<remote::FrameReader>(remote::kMaxRequestBody);
  QTimer::singleShot(kRequestTimeoutMs, socket, [socket, reader] {
    if (reader->state() == remote::FrameReader::State::NeedMore) socket->abort();
  });
  connect(socket, &QLocalSocket::readyRead, socket, [this, socket, reader] {
    if (reader->state() != remote::FrameReader::State::NeedMore) {
      socket->readAll();
      return;
    }
    const QByteArray bytes = socket->readAll();
    const auto state = reader->add(std::string_view(bytes.constData(), bytes.size()));
    if (state == remote::FrameReader::State::NeedMore) return;
    remote::ReadRequest request;
    if (state == remote::FrameReader::State::Complete)
      request = remote::readRequest(reader->body());
    else
      request.fault =
          reader->tooLong() ? remote::RequestFault::TooLong : remote::RequestFault::Malformed;
    // The answer may take a dialog's time (a new card at the limit says so): the socket stays
    // ours until it is written.
    const QPointer<QLocalSocket> alive(socket);
    const std::string frame = remote::answerFrame(answer_(request));
    if (!alive) return;
    socket->write(frame.data(), static_cast<qint64>(frame.size()));
    socket->disconnectFromServer();
  });
}

}  // namespace qw::gui
