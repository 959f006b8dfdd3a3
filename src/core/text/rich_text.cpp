#include "core/text/rich_text.h"

#include <algorithm>
#include <utility>

#include "core/text/symbol_font.h"
#include "core/text/utf8.h"

namespace qw::text {
namespace {

bool isCleanText(std::string_view s) {
  return s.find('\0') == std::string_view::npos && isValidUtf8(s);
}

std::string cleanText(std::string_view s) {
  std::string out = toValidUtf8(s);
  std::erase(out, '\0');
  return out;
}

// Run text holds no CR, LF or NUL and is valid UTF-8; checked in one pass, as the writer asks
// this of every run it writes.
bool isCleanRunText(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    const auto c = static_cast<unsigned char>(s[pos]);
    if (c >= 0x80) {
      if (!decodeUtf8(s, pos)) return false;
    } else if (c == '\r' || c == '\n' || c == '\0') {
      return false;
    } else {
      ++pos;
    }
  }
  return true;
}

bool isNormalRun(const Run& run) {
  return !run.text.empty() && isCleanRunText(run.text) &&
         run.format.halfPoints == clampHalfPoints(run.format.halfPoints) &&
         isCleanText(run.format.font) &&
         !(isSymbolFontFamily(run.format.font) && hasSymbolFontPrivateUse(run.text));
}

class Normaliser {
 public:
  void add(const Run& run) {
    CharFormat format = run.format;
    format.halfPoints = clampHalfPoints(format.halfPoints);
    if (!isCleanText(format.font)) format.font = cleanText(format.font);
    const std::string text = cleanText(run.text);
    std::string_view rest = text;
    while (true) {
      const auto br = rest.find_first_of("\r\n");
      append(rest.substr(0, br), format);
      if (br == std::string_view::npos) break;
      const bool crlf = rest[br] == '\r' && br + 1 < rest.size() && rest[br + 1] == '\n';
      rest.remove_prefix(br + (crlf ? 2 : 1));
      endParagraph();
    }
  }

  void endParagraph() {
    out_.paragraphs.push_back(std::move(current_));
    current_ = {};
  }

  RichText take() {
    if (out_.paragraphs.empty()) out_.paragraphs.emplace_back();
    return std::move(out_);
  }

 private:
  void append(std::string_view text, const CharFormat& format) {
    if (isSymbolFontFamily(format.font) && hasSymbolFontPrivateUse(text)) {
      CharFormat drawnFormat = format;
      drawnFormat.font.clear();
      splitSymbolFontPrivateUse(
          text, [&](std::string_view kept) { appendRun(kept, format); },
          [&](char32_t drawn) {
            std::string character;
            appendUtf8(character, drawn);
            appendRun(character, drawnFormat);
          });
    } else {
      appendRun(text, format);
    }
  }

  void appendRun(std::string_view text, const CharFormat& format) {
    if (text.empty()) return;
    if (!current_.runs.empty() && current_.runs.back().format == format)
      current_.runs.back().text += text;
    else
      current_.runs.push_back(Run{std::string(text), format});
  }

  RichText out_;
  Paragraph current_;
};

}  // namespace

int clampHalfPoints(int halfPoints) {
  if (halfPoints <= 0) return kDefaultHalfPoints;
  return std::min(halfPoints, kMaxHalfPoints);
}

bool isNormalised(const RichText& text) {
  if (text.paragraphs.empty()) return false;
  for (const Paragraph& p : text.paragraphs) {
    for (std::size_t i = 0; i < p.runs.size(); ++i) {
      if (!isNormalRun(p.runs[i])) return false;
      if (i > 0 && p.runs[i].format == p.runs[i - 1].format) return false;
    }
  }
  return true;
}

void normalise(RichText& text) {
  if (isNormalised(text)) return;
  Normaliser n;
  for (const Paragraph& p : text.paragraphs) {
    for (const Run& run : p.runs) n.add(run);
    n.endParagraph();
  }
  text = n.take();
}

RichText normalised(RichText text) {
  normalise(text);
  return text;
}

RichText fromPlainText(std::string_view utf8, const CharFormat& format) {
  // Built directly rather than through normalise(): plain cards can be large, and this makes
  // one copy of the text instead of several.
  const RichText formatOnly = normalised(RichText{{Paragraph{{Run{"x", format}}}}});
  const CharFormat& clean = formatOnly.paragraphs[0].runs[0].format;
  // Text of the Symbol font may have characters to take out of it.
  if (isSymbolFontFamily(clean.font))
    return normalised(RichText{{Paragraph{{Run{std::string(utf8), format}}}}});
  std::string cleaned;
  if (!isCleanText(utf8)) utf8 = cleaned = cleanText(utf8);
  RichText text;
  text.paragraphs.reserve(1 + std::count(utf8.begin(), utf8.end(), '\n'));
  while (true) {
    const auto br = utf8.find_first_of("\r\n");
    Paragraph& p = text.paragraphs.emplace_back();
    if (br != 0 && !utf8.empty()) p.runs.push_back(Run{std::string(utf8.substr(0, br)), clean});
    if (br == std::string_view::npos) break;
    utf8.remove_prefix(br + (utf8.substr(br, 2) == "\r\n" ? 2 : 1));
  }
  return text;
}

}  // namespace qw::text
