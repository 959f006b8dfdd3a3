// Connects to a local socket and sends a --list request; prints "refused" and exits 1 when the
// connection is not let in, else prints what came back.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, argv[1], sizeof address.sun_path - 1);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::printf("refused: %s\n", std::strerror(errno));
    return 1;
  }
  const std::string body = "quillwick 1\nlist\n0\n";
  const std::string frame = std::to_string(body.size()) + "\n" + body;
  if (::write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) return 1;
  char buffer[4096];
  ssize_t total = 0;
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
    std::fwrite(buffer, 1, static_cast<std::size_t>(n), stdout);
    total += n;
  }
  if (total == 0) {
    std::printf("refused: closed without an answer\n");
    return 1;
  }
  return 0;
}
