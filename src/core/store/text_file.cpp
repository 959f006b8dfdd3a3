#include "core/store/text_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "core/text/code_page.h"
#include "core/text/plain_text.h"
#include "core/text/utf8.h"

namespace qw::store {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

std::string decodeStoredText(std::string_view bytes) { return text::decodePlainText(bytes); }

std::string encodeStoredText(std::string_view utf8) {
  auto narrow = text::encodeWindows1252(utf8);
  // Code-page text that happens to begin like a BOM would be read back as UTF-8.
  if (narrow && !narrow->starts_with(kBom)) return std::move(*narrow);
  std::string out(kBom);
  out += text::toValidUtf8(utf8);
  return out;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

#ifdef _WIN32
std::optional<std::string> readFileBytes(const std::filesystem::path& file, std::size_t atMost) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
  if (error) throw StoreError(file, Fault::Unreadable, error.message());
  if (std::filesystem::is_directory(status)) throw StoreError(file, Fault::IsFolder);

  std::ifstream in(file, std::ios::binary);
  if (!in) throw StoreError(file, Fault::Unreadable);
  std::string bytes;
  char buffer[65536];
  while (bytes.size() < atMost) {
    // Taken in size_t: npos - size as a streamsize is negative, and a read of that gets nothing.
    const auto wanted =
        static_cast<std::streamsize>(std::min(sizeof buffer, atMost - bytes.size()));
    if (!in.read(buffer, wanted) && in.gcount() == 0) break;
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) throw StoreError(file, Fault::Unreadable);
  return bytes;
}
#else
// With the system calls themselves: a start reads 500 small settings files, and a stream
// costs several times the read.
std::optional<std::string> readFileBytes(const std::filesystem::path& file, std::size_t atMost) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return std::nullopt;
    throw StoreError(file, Fault::Unreadable, std::generic_category().message(error));
  }
  struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  struct stat info {};
  if (fstat(fd, &info) != 0)
    throw StoreError(file, Fault::Unreadable, std::generic_category().message(errno));
  if (S_ISDIR(info.st_mode)) throw StoreError(file, Fault::IsFolder);

  std::string bytes;
  // The size is a hint: the file may grow or shrink while it is read.
  size_t done = 0;
  bytes.resize(
      std::min(atMost, S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) + 1 : 65536));
  while (done < atMost) {
    if (done == bytes.size()) bytes.resize(std::min(atMost, bytes.size() * 2));
    const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw StoreError(file, Fault::Unreadable, std::generic_category().message(errno));
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}
#endif

std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& file) {
  auto bytes = readFileBytes(file);
  if (!bytes) return std::nullopt;
  return splitLines(decodeStoredText(*bytes));
}

std::string textLinesBytes(const std::vector<std::string>& lines) {
  std::string text;
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return encodeStoredText(text);
}

void writeTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  const std::string bytes = textLinesBytes(lines);
  // Every card switch saves the card's settings, most often unchanged: reading them back
  // costs far less than flushing a new copy to disk.
  try {
    if (readFileBytes(file) == bytes) return;
  } catch (const StoreError&) {
    // Unreadable: the write below says why, or replaces it.
  }
  writeFileAtomically(file, bytes);
}

}  // namespace qw::store
