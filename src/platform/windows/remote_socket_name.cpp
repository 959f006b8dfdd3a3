#include "platform/remote_socket_name.h"

#include <windows.h>

namespace qw::platform {

std::string remoteSocketName() {
  DWORD session = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  // Pipe names are shared by every session of the machine.
  char user[256] = {};
  DWORD size = sizeof user;
  if (!GetUserNameA(user, &size)) user[0] = '\0';
  std::string name = "quillwick-" + std::to_string(session) + "-";
  for (const char* c = user; *c != '\0'; ++c) name += (*c == '\\' || *c == '/') ? '_' : *c;
  return name;
}

}  // namespace qw::platform
