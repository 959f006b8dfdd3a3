#include "core/text/utf8.h"

#include <cstdint>
#include <cstring>

namespace qw::text {

void appendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacementCharacter;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    const char bytes[] = {static_cast<char>(0xC0 | (cp >> 6)),
                          static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(bytes, 2);
  } else if (cp < 0x10000) {
    const char bytes[] = {static_cast<char>(0xE0 | (cp >> 12)),
                          static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(bytes, 3);
  } else {
    const char bytes[] = {
        static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
        static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(bytes, 4);
  }
}

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
  if (const auto cp = decodeUtf8(s, pos)) return *cp;
  ++pos;
  return kReplacementCharacter;
}

bool isValidUtf8(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    // Eight ASCII bytes at a time: most text is mostly ASCII.
    std::uint64_t word;
    while (pos + 8 <= s.size() &&
           (std::memcpy(&word, s.data() + pos, 8), (word & 0x8080808080808080ULL) == 0))
      pos += 8;
    if (pos >= s.size()) break;
    if (static_cast<unsigned char>(s[pos]) < 0x80) {
      ++pos;
    } else if (!decodeUtf8(s, pos)) {
      return false;
    }
  }
  return true;
}

std::int64_t codePointCount(std::string_view bytes) {
  // Counts the continuation bytes (10xxxxxx) eight at a time: a byte's top bit set and the next
  // bit clear; the multiplication adds the eight marks up in the top byte.
  constexpr std::uint64_t kTopBits = 0x8080808080808080;
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  std::int64_t continuation = 0;
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    continuation +=
        static_cast<std::int64_t>(((word & ~(word << 1) & kTopBits) >> 7) * kOnes >> 56);
  }
  for (; at < bytes.size(); ++at) continuation += startsCodePoint(bytes[at]) ? 0 : 1;
  return static_cast<std::int64_t>(bytes.size()) - continuation;
}

std::string toValidUtf8(std::string_view s) {
  if (isValidUtf8(s)) return std::string(s);
  std::string out;
  out.reserve(s.size() + 8);
  std::size_t pos = 0;
  while (pos < s.size()) appendUtf8(out, nextCodePoint(s, pos));
  return out;
}

}  // namespace qw::text
