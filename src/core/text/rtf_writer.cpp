#include "core/text/rtf_writer.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text/code_page.h"
#include "core/text/symbol_font.h"
#include "core/text/utf8.h"

namespace qw::text {
namespace {

// Fonts and colours in order of first use; RTF refers to them by number.
class Tables {
 public:
  explicit Tables(const RichText& text) {
    for (const Paragraph& p : text.paragraphs) {
      for (const Run& run : p.runs) {
        fontIndex(run.format.font);
        colourIndex(run.format.colour);
        colourIndex(run.format.highlight);
      }
    }
  }

  int fontIndex(const std::string& name) {
    // Neighbouring runs mostly share their font.
    if (lastFont_ && *lastFont_ == name) return lastIndex_;
    const auto [it, added] = fontIndexes_.try_emplace(name, static_cast<int>(fonts_.size()));
    if (added) fonts_.push_back(&it->first);
    lastFont_ = &it->first;
    lastIndex_ = it->second;
    return it->second;
  }

  // 0 stands for "automatic": the table starts with an empty entry.
  int colourIndex(const std::optional<Rgb>& colour) {
    if (!colour) return 0;
    for (std::size_t i = 0; i < colours_.size(); ++i)
      if (colours_[i] == *colour) return static_cast<int>(i) + 1;
    colours_.push_back(*colour);
    return static_cast<int>(colours_.size());
  }

  const std::vector<const std::string*>& fonts() const { return fonts_; }
  const std::vector<Rgb>& colours() const { return colours_; }

 private:
  std::unordered_map<std::string, int> fontIndexes_;
  std::vector<const std::string*> fonts_;
  std::vector<Rgb> colours_;
  const std::string* lastFont_ = nullptr;
  int lastIndex_ = 0;
};

// Character properties as RTF numbers, starting from what \plain sets.
struct State {
  bool bold = false, italic = false, underline = false, strike = false;
  int font = 0;
  int halfPoints = kDefaultHalfPoints;
  int colour = 0;
  int highlight = 0;
};

// A byte that can stand as itself in RTF text.
constexpr std::array<bool, 256> kPlainByte = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x7F; ++c) plain[c] = c != '\\' && c != '{' && c != '}';
  return plain;
}();

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}

  void word(std::string_view w) {
    out_ += w;
    needDelimiter_ = true;
  }

  void word(std::string_view w, int n) {
    out_ += w;
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    out_.append(digits, end);
    needDelimiter_ = true;
  }

  // Raw output that ends any control word itself (a group, a symbol, a line end).
  void raw(std::string_view s) {
    out_ += s;
    needDelimiter_ = false;
  }

  // Text of a run; `inFontTable` writes tabs, line separators and ';' as bytes, since there
  // they are no words and ';' would end the name.
  void text(std::string_view utf8, bool inFontTable) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
      std::size_t end = pos;
      while (end < utf8.size() && kPlainByte[static_cast<unsigned char>(utf8[end])] &&
             !(inFontTable && utf8[end] == ';'))
        ++end;
      if (end > pos) {
        plain(utf8.substr(pos, end - pos));
        pos = end;
        continue;
      }
      const auto cp = decodeUtf8(utf8, pos);
      if (!cp) {
        canonical_ = false;
        ++pos;
      } else {
        if (*cp == 0 || (!inFontTable && (*cp == '\r' || *cp == '\n'))) canonical_ = false;
        character(*cp, inFontTable);
      }
    }
  }

  // False once text was seen that a normalised model cannot hold.
  bool canonical() const { return canonical_; }

 private:
  void plain(std::string_view s) {
    const char first = s.front();
    // A letter, digit, space or '-' would otherwise join the control word before it.
    if (needDelimiter_ && (first == ' ' || first == '-' || (first >= '0' && first <= '9') ||
                           (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z')))
      out_ += ' ';
    out_ += s;
    needDelimiter_ = false;
  }

  void character(char32_t cp, bool inFontTable) {
    if (cp == '\\' || cp == '{' || cp == '}') {
      raw(std::string_view("\\"));
      out_ += static_cast<char>(cp);
    } else if (cp == '\t' && !inFontTable) {
      word("\\tab");
    } else if (cp == kLineSeparator && !inFontTable) {
      word("\\line");
    } else if (const int byte = windows1252Byte(cp);
               byte >= 0 && (byte < 0x80 || byte >= 0xA0 || cp != static_cast<char32_t>(byte))) {
      // Controls, ';' in a font name and the high half of 1252; the five C1 controls that
      // 1252 leaves undefined go as \u so that no reader depends on how it fills the holes.
      hexByte(static_cast<unsigned char>(byte));
    } else if (cp > 0xFFFF) {
      const char32_t v = cp - 0x10000;
      unicodeUnit(0xD800 + (v >> 10));
      unicodeUnit(0xDC00 + (v & 0x3FF));
    } else {
      unicodeUnit(cp);
    }
  }

  void hexByte(unsigned char b) {
    static constexpr char kHex[] = "0123456789abcdef";
    const char s[] = {'\\', '\'', kHex[b >> 4], kHex[b & 15]};
    raw(std::string_view(s, 4));
  }

  void unicodeUnit(char32_t unit) {
    word("\\u", unit > 32767 ? static_cast<int>(unit) - 65536 : static_cast<int>(unit));
    raw("?");
  }

  std::string& out_;
  bool needDelimiter_ = false;
  bool canonical_ = true;
};

void writeFormat(Writer& w, State& at, const CharFormat& f, Tables& tables) {
  const int font = tables.fontIndex(f.font);
  if (font != at.font) w.word("\\f", at.font = font);
  if (f.halfPoints != at.halfPoints) w.word("\\fs", at.halfPoints = f.halfPoints);
  if (const int c = tables.colourIndex(f.colour); c != at.colour) w.word("\\cf", at.colour = c);
  if (const int h = tables.colourIndex(f.highlight); h != at.highlight)
    w.word("\\highlight", at.highlight = h);
  if (f.bold != at.bold) w.word((at.bold = f.bold) ? "\\b" : "\\b0");
  if (f.italic != at.italic) w.word((at.italic = f.italic) ? "\\i" : "\\i0");
  if (f.underline != at.underline) w.word((at.underline = f.underline) ? "\\ul" : "\\ulnone");
  if (f.strike != at.strike) w.word((at.strike = f.strike) ? "\\strike" : "\\strike0");
}

std::size_t estimatedSize(const RichText& text) {
  std::size_t n = 256;
  for (const Paragraph& p : text.paragraphs) {
    n += 8;
    for (const Run& run : p.runs) n += run.text.size() + run.text.size() / 8 + 24;
  }
  return n;
}

// Writes a model in its canonical form; nothing when it is not (checked on the way, as a
// separate check would read every character twice).
std::optional<std::string> writeCanonical(const RichText& text) {
  if (text.paragraphs.empty()) return std::nullopt;
  Tables tables(text);
  std::string out;
  out.reserve(estimatedSize(text));
  Writer w(out);
  w.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
  for (std::size_t i = 0; i < tables.fonts().size(); ++i) {
    w.raw("{");
    w.word("\\f", static_cast<int>(i));
    w.word("\\fnil\\fcharset0");
    w.raw(" ");  // ends the word; a name's own leading spaces then stay
    w.text(*tables.fonts()[i], true);
    w.raw(";}");
  }
  w.raw("}\r\n{\\colortbl ;");
  for (const Rgb& c : tables.colours()) {
    w.word("\\red", c.r);
    w.word("\\green", c.g);
    w.word("\\blue", c.b);
    w.raw(";");
  }
  w.raw("}\r\n");
  w.word("\\uc1\\pard\\plain");
  State at;
  for (const Paragraph& p : text.paragraphs) {
    const CharFormat* previous = nullptr;
    for (const Run& run : p.runs) {
      if (run.text.empty() || (previous && *previous == run.format) ||
          run.format.halfPoints != clampHalfPoints(run.format.halfPoints) ||
          (isSymbolFontFamily(run.format.font) && hasSymbolFontPrivateUse(run.text)))
        return std::nullopt;
      previous = &run.format;
      writeFormat(w, at, run.format, tables);
      w.text(run.text, false);
    }
    w.word("\\par");
    w.raw("\r\n");
  }
  w.raw("}\r\n");
  if (!w.canonical()) return std::nullopt;
  return out;
}

}  // namespace

std::string writeRtf(const RichText& text) {
  if (auto rtf = writeCanonical(text)) return std::move(*rtf);
  return *writeCanonical(normalised(text));
}

}  // namespace qw::text
