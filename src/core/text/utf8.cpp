#include "core/text/utf8.h"

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
    const char bytes[] = {static_cast<char>(0xF0 | (cp >> 18)),
                          static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
                          static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                          static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(bytes, 4);
  }
}

std::optional<char32_t> decodeUtf8(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  int extra;
  char32_t cp;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (pos + extra >= s.size()) return std::nullopt;
  for (int i = 1; i <= extra; ++i) {
    const auto c = static_cast<unsigned char>(s[pos + i]);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += extra + 1;
  return cp;
}

char32_t nextCodePoint(std::string_view s, std::size_t& pos) {
  if (const auto cp = decodeUtf8(s, pos)) return *cp;
  ++pos;
  return kReplacementCharacter;
}

bool isValidUtf8(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    if (static_cast<unsigned char>(s[pos]) < 0x80) {
      ++pos;
    } else if (!decodeUtf8(s, pos)) {
      return false;
    }
  }
  return true;
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
