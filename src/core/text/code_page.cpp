#include "core/text/code_page.h"

#include <array>

#include "core/text/code_page_tables.h"
#include "core/text/symbol_font.h"

namespace qw::text {
namespace {

// Code points of bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> k1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Length of the leading run of ASCII bytes, which every supported code page keeps as they are.
std::size_t asciiPrefix(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i - from;
}

template <class HighByte>
void appendSingleByte(std::string& out, std::string_view bytes, HighByte high) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t ascii = asciiPrefix(bytes, i);
    out.append(bytes.data() + i, ascii);
    i += ascii;
    if (i < bytes.size()) appendUtf8(out, high(static_cast<unsigned char>(bytes[i++])));
  }
}

void appendDoubleByte(std::string& out, std::string_view bytes, const detail::DoubleByteTable& t) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t ascii = asciiPrefix(bytes, i);
    out.append(bytes.data() + i, ascii);
    i += ascii;
    if (i >= bytes.size()) break;
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const char16_t* row = t.rows[lead - 0x80];
    if (!row) {
      appendUtf8(out, t.singleHigh[lead - 0x80]);
      ++i;
      continue;
    }
    const int trail = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : -1;
    if (trail < detail::kFirstTrail || trail > detail::kLastTrail) {
      // A lead byte without its trail: the next byte, if any, starts afresh.
      appendUtf8(out, kReplacementCharacter);
      ++i;
      continue;
    }
    appendUtf8(out, row[trail - detail::kFirstTrail]);
    i += 2;
  }
}

}  // namespace

std::string decodeWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  appendDecoded(out, bytes, 1252);
  return out;
}

int windows1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  // The writer asks this of every character beyond Latin-1, so the 32 are looked up directly.
  static constexpr char32_t kLast = 0x2122;
  static constexpr auto kByteOf = [] {
    std::array<unsigned char, kLast + 1> bytes{};
    for (std::size_t i = 0; i < k1252High.size(); ++i) bytes[k1252High[i]] = 0x80 + i;
    return bytes;
  }();
  return cp <= kLast && kByteOf[cp] != 0 ? kByteOf[cp] : -1;
}

std::optional<std::string> encodeWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto cp = decodeUtf8(utf8, pos);
    if (!cp) return std::nullopt;
    const int byte = windows1252Byte(*cp);
    if (byte < 0) return std::nullopt;
    out += static_cast<char>(byte);
  }
  return out;
}

void appendDecoded(std::string& out, std::string_view bytes, int codePage) {
  if (codePage == kUtf8CodePage) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
      const std::size_t ascii = asciiPrefix(bytes, pos);
      out.append(bytes.data() + pos, ascii);
      pos += ascii;
      if (pos < bytes.size()) appendUtf8(out, nextCodePoint(bytes, pos));
    }
  } else if (codePage == kSymbolCodePage) {
    // Symbol fonts keep their glyphs in the private use area, as Windows maps them.
    for (const char ch : bytes) {
      const auto b = static_cast<unsigned char>(ch);
      appendUtf8(out, b < 0x20 ? b : 0xF000 + b);
    }
  } else if (codePage == kSymbolFontCodePage) {
    for (const char ch : bytes)
      appendUtf8(out, symbolFontCharacter(static_cast<unsigned char>(ch)));
  } else if (const auto* dbcs = detail::doubleByteTable(codePage)) {
    appendDoubleByte(out, bytes, *dbcs);
  } else if (const char16_t* high = detail::singleByteHigh(codePage)) {
    appendSingleByte(out, bytes, [high](unsigned char b) { return high[b - 0x80]; });
  } else {
    appendSingleByte(
        out, bytes, [](unsigned char b) -> char32_t { return b < 0xA0 ? k1252High[b - 0x80] : b; });
  }
}

std::string decodeCodePage(std::string_view bytes, int codePage) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  appendDecoded(out, bytes, codePage);
  return out;
}

int codePageOfCharset(int fcharset) {
  switch (fcharset) {
    case 0: return 1252;  // ANSI
    case 2: return kSymbolCodePage;
    case 77: return 10000;  // Mac Roman
    case 128: return 932;   // Shift JIS
    case 129: return 949;   // Hangul
    case 134: return 936;   // GB 2312 / GBK
    case 136: return 950;   // Big5
    case 161: return 1253;  // Greek
    case 162: return 1254;  // Turkish
    case 163: return 1258;  // Vietnamese
    case 177: return 1255;  // Hebrew
    case 178: return 1256;  // Arabic
    case 186: return 1257;  // Baltic
    case 204: return 1251;  // Cyrillic
    case 222: return 874;   // Thai
    case 238: return 1250;  // Central European
    case 255: return 437;   // OEM
    default: return 0;      // 1 (DEFAULT_CHARSET) and anything unknown
  }
}

}  // namespace qw::text
