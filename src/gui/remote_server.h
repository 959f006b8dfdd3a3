#pragma once
// The running copy's end of the command line: a local socket that reads one request per
// connection, without ever waiting for a client, and writes back the answer.

#include <QLocalServer>
#include <QObject>
#include <functional>

#include "core/remote/request.h"

namespace qw::gui {

class RemoteServer : public QObject {
  Q_OBJECT
 public:
  // `answer` is given every request that reads whole, and the fault of every other.
  using Answerer = std::function<remote::Answer(const remote::ReadRequest&)>;
  RemoteServer(Answerer answer, QObject* parent = nullptr);

  // Listens on `name`. A socket file left there by a copy that was killed is removed first
  // when `removeStale` (only the holder of the instance lock may). False when it cannot listen:
  // the program then runs without its command line.
  bool listen(const QString& name, bool removeStale);
  QString fullName() const { return server_.fullServerName(); }

 private:
  void serve(QLocalSocket* socket);

  Answerer answer_;
  QLocalServer server_;
};

}  // namespace qw::gui
