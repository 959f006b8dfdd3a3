#include "core/text/plain_text.h"

#include "core/text/code_page.h"
#include "core/text/rtf_reader.h"
#include "core/text/utf8.h"

namespace qw::text {

std::string plainText(const RichText& text, std::string_view lineBreak) {
  std::string out;
  for (std::size_t i = 0; i < text.paragraphs.size(); ++i) {
    if (i > 0) out += lineBreak;
    for (const Run& run : text.paragraphs[i].runs) {
      std::string_view rest = run.text;
      for (auto at = rest.find(kLineSeparatorUtf8); at != std::string_view::npos;
           at = rest.find(kLineSeparatorUtf8)) {
        out += rest.substr(0, at);
        out += lineBreak;
        rest.remove_prefix(at + kLineSeparatorUtf8.size());
      }
      out += rest;
    }
  }
  return out;
}

std::string decodePlainText(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.starts_with(kBom)) return toValidUtf8(bytes.substr(kBom.size()));
  return decodeWindows1252(bytes);
}

std::string plainTextOfCard(std::string_view fileBytes) {
  if (looksLikeRtf(fileBytes)) return readRtfPlainText(fileBytes);
  // What the model keeps of a plain text: lines, without NUL characters (dropped before line
  // ends are seen, so CR NUL LF is one line end).
  std::string decoded = decodePlainText(fileBytes);
  std::erase(decoded, '\0');
  std::string out;
  out.reserve(decoded.size() + decoded.size() / 16);
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const char c = decoded[i];
    if (c == '\r') {
      if (i + 1 < decoded.size() && decoded[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (c == '\n') {
      out += "\r\n";
    } else if (c == kLineSeparatorUtf8[0] &&
               decoded.compare(i, kLineSeparatorUtf8.size(), kLineSeparatorUtf8) == 0) {
      out += "\r\n";
      i += kLineSeparatorUtf8.size() - 1;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace qw::text
