#include "core/store/text_file.h"

#include <fstream>
#include <system_error>

#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "core/text/code_page.h"

namespace qw::store {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at pos, or 0 when it is malformed, overlong, a
// surrogate or past U+10FFFF.
size_t validSequenceLength(std::string_view s, size_t pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  if (lead < 0x80) return 1;
  size_t length;
  char32_t cp;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (s.size() - pos < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + i]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

// Keeps well-formed UTF-8 and puts U+FFFD for each byte that starts no valid sequence.
std::string repairUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t length = validSequenceLength(s, pos);
    if (length == 0) {
      text::appendUtf8(out, 0xFFFD);
      ++pos;
    } else {
      out.append(s.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

}  // namespace

std::string decodeStoredText(std::string_view bytes) {
  if (bytes.starts_with(kBom)) return repairUtf8(bytes.substr(kBom.size()));
  return text::decodeWindows1252(bytes);
}

std::string encodeStoredText(std::string_view utf8) {
  auto narrow = text::encodeWindows1252(utf8);
  // Code-page text that happens to begin like a BOM would be read back as UTF-8.
  if (narrow && !narrow->starts_with(kBom)) return std::move(*narrow);
  std::string out(kBom);
  out += repairUtf8(utf8);
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

std::optional<std::string> readFileBytes(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
  if (error) throw StoreError(file, "cannot be examined: " + error.message());
  if (std::filesystem::is_directory(status)) throw StoreError(file, "is a folder, not a file");

  std::ifstream in(file, std::ios::binary);
  if (!in) throw StoreError(file, "cannot be opened for reading");
  std::string bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
  if (in.bad()) throw StoreError(file, "cannot be read");
  return bytes;
}

std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& file) {
  auto bytes = readFileBytes(file);
  if (!bytes) return std::nullopt;
  return splitLines(decodeStoredText(*bytes));
}

void writeTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::string text;
  size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  writeFileAtomically(file, encodeStoredText(text));
}

}  // namespace qw::store
