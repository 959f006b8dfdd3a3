#include "platform/remote_socket_name.h"

#include <QStandardPaths>

namespace qw::platform {

// Qt makes the runtime folder (XDG_RUNTIME_DIR, or one of its own) private to the user and
// refuses one that is not; a full path is used by QLocalServer as it stands.
std::string remoteSocketName() {
  return (QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/quillwick.socket")
      .toStdString();
}

}  // namespace qw::platform
