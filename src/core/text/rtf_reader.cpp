#include "core/text/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "core/text/code_page.h"
#include "core/text/plain_text.h"
#include "core/text/symbol_font.h"
#include "core/text/utf8.h"

namespace qw::text {
namespace {

// Real readers stop nesting states at about this depth; deeper groups share the last state.
constexpr std::size_t kMaxStateDepth = 1000;
constexpr std::size_t kMaxWordLength = 32;
constexpr std::int64_t kParamLimit = std::numeric_limits<std::int64_t>::max() / 16;
constexpr int kMaxUnicodeSkip = 1'000'000;
// A font number no document can give (parameters stop at -kParamLimit): text without a font.
constexpr std::int64_t kNoFont = std::numeric_limits<std::int64_t>::min();

// Where the text of a group goes.
enum class Dest : std::uint8_t {
  Body,
  Skip,
  Object,  // skipped, except for its \result
  FontTable,
  ColourTable,
};

// Character properties as the document states them: numbers into its tables.
struct Style {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int halfPoints = kDefaultHalfPoints;
  std::int64_t font = 0;
  std::int64_t colour = -1;  // -1: automatic, never set by \cf
  std::int64_t highlight = 0;
  friend bool operator==(const Style&, const Style&) = default;
};

struct GroupState {
  Style style;
  int unicodeSkip = 1;  // \ucN
  Dest dest = Dest::Body;
};

struct Font {
  std::string name;
  int codePage = 0;     // 0: the document's
  bool symbol = false;  // the Symbol font: its private-use characters stand for others
};

struct Tables {
  std::map<std::int64_t, Font> fonts;  // by \fN: numbers may be sparse and huge
  std::vector<std::optional<Rgb>> colours;
  std::int64_t defaultFont = 0;
  int ansiCodePage = 1252;
};

// clang-format off
enum class Word : std::uint8_t {
  Unknown,
  // document
  Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Urtf,
  // destinations
  FontTable, ColourTable, SkipDest, Object, Result,
  // font and colour tables
  F, FCharset, Cpg, Red, Green, Blue,
  // character format
  Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Highlight,
  // text
  Par, Line, Tab, Lquote, Rquote, Ldblquote, Rdblquote, Bullet, Endash, Emdash, Enspace,
  Emspace, Qmspace, Zwj, Zwnj,
  // Unicode and binary
  U, Uc, Bin,
};
// clang-format on

// The control words the reader acts on, in an open-addressing table: a word is looked up
// for every control word of the input, so this is on the hot path.
class WordTable {
 public:
  WordTable(std::initializer_list<std::pair<std::string_view, Word>> words) {
    for (const auto& [name, word] : words) emplace(name, word);
  }

  void emplace(std::string_view name, Word word) {
    std::size_t i = hash(name);
    while (!slots_[i].name.empty()) i = (i + 1) & kMask;
    slots_[i] = {name, word};
  }

  Word find(std::string_view name) const {
    for (std::size_t i = hash(name);; i = (i + 1) & kMask) {
      if (slots_[i].name.empty()) return Word::Unknown;
      if (slots_[i].name == name) return slots_[i].word;
    }
  }

 private:
  static constexpr std::size_t kSize = 512;  // well over twice the words below
  static constexpr std::size_t kMask = kSize - 1;

  static std::size_t hash(std::string_view name) {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (const char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h & kMask;
  }

  struct Slot {
    std::string_view name;
    Word word = Word::Unknown;
  };
  std::array<Slot, kSize> slots_{};
};

const WordTable& wordTable() {
  static const WordTable table = [] {
    // clang-format off
    WordTable t = {
        {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc}, {"pca", Word::Pca},
        {"ansicpg", Word::AnsiCpg}, {"deff", Word::Deff}, {"urtf", Word::Urtf},
        {"fonttbl", Word::FontTable}, {"colortbl", Word::ColourTable},
        {"object", Word::Object}, {"result", Word::Result},
        {"f", Word::F}, {"fcharset", Word::FCharset}, {"cpg", Word::Cpg},
        {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},
        {"plain", Word::Plain}, {"b", Word::B}, {"i", Word::I}, {"ul", Word::Ul},
        {"ulnone", Word::UlNone}, {"strike", Word::Strike}, {"striked", Word::Strike},
        {"fs", Word::Fs}, {"cf", Word::Cf}, {"highlight", Word::Highlight},
        {"chcbpat", Word::Highlight}, {"cb", Word::Highlight},
        {"par", Word::Par}, {"sect", Word::Par}, {"page", Word::Par}, {"row", Word::Par},
        {"nestrow", Word::Par}, {"line", Word::Line}, {"tab", Word::Tab},
        {"cell", Word::Tab}, {"nestcell", Word::Tab}, {"lquote", Word::Lquote},
        {"rquote", Word::Rquote}, {"ldblquote", Word::Ldblquote},
        {"rdblquote", Word::Rdblquote}, {"bullet", Word::Bullet}, {"endash", Word::Endash},
        {"emdash", Word::Emdash}, {"enspace", Word::Enspace}, {"emspace", Word::Emspace},
        {"qmspace", Word::Qmspace}, {"zwj", Word::Zwj}, {"zwnj", Word::Zwnj},
        {"u", Word::U}, {"uc", Word::Uc}, {"bin", Word::Bin},
    };
    // clang-format on
    // Every kind of underline reads as underline.
    for (const char* w :
         {"uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd",
          "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
      t.emplace(w, Word::Ul);
    // Destinations older writers emit without \*: their text is not part of the document.
    for (const char* w : {"stylesheet", "info",
                          "pict",       "nonshppict",
                          "header",     "headerl",
                          "headerr",    "headerf",
                          "footer",     "footerl",
                          "footerr",    "footerf",
                          "fldinst",    "footnote",
                          "annotation", "ftnsep",
                          "ftnsepc",    "ftncn",
                          "aftnsep",    "aftnsepc",
                          "aftncn",     "pn",
                          "xe",         "tc",
                          "txe",        "template",
                          "filetbl",    "revtbl",
                          "listtable",  "listoverridetable",
                          "rsidtbl",    "objdata",
                          "themedata",  "colorschememapping",
                          "datastore",  "latentstyles",
                          "generator",  "bkmkstart",
                          "bkmkend",    "fldtype"})
      t.emplace(w, Word::SkipDest);
    return t;
  }();
  return table;
}

bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int hexValue(unsigned char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Bytes that end a stretch of plain text in the body.
constexpr std::array<bool, 256> kTextStop = [] {
  std::array<bool, 256> stop{};
  for (const unsigned char c : {'{', '}', '\\', '\r', '\n', '\0'}) stop[c] = true;
  return stop;
}();

int clampToInt(std::int64_t v, int lo, int hi) {
  return static_cast<int>(std::clamp<std::int64_t>(v, lo, hi));
}

// Fonts whose bytes are glyph numbers rather than characters. Some old writers mark ordinary
// fonts as symbol fonts too; those keep the document's code page.
bool isSymbolFontName(std::string_view name) {
  std::string lower;
  for (const char c : name) lower += asciiLower(c);
  return lower == "symbol" || lower.starts_with("wingdings") || lower == "webdings" ||
         lower == "marlett" || lower == "mt extra" || lower == "zapfdingbats" ||
         lower == "zapf dingbats";
}

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Builds the model. Runs start lazily, when text arrives in a format that differs from the
// last run's, so the result is normalised as it grows.
class ModelSink {
 public:
  explicit ModelSink(const Tables& tables) : tables_(tables) { doc_.paragraphs.emplace_back(); }

  std::string& textFor(const Style& style) {
    auto& runs = doc_.paragraphs.back().runs;
    if (!runs.empty() && haveStyle_ && style == lastStyle_) return runs.back().text;
    CharFormat format = resolve(style);
    lastStyle_ = style;
    haveStyle_ = true;
    if (runs.empty() || runs.back().format != format) runs.push_back(Run{{}, std::move(format)});
    return runs.back().text;
  }

  void lineBreak(const Style& style) { textFor(style).append(kLineSeparatorUtf8); }

  void paragraphBreak() {
    doc_.paragraphs.emplace_back();
    haveStyle_ = false;
  }

  // A font defined anew: the same style may now name another family.
  void fontsChanged() { haveStyle_ = false; }

  RichText finish() {
    // The \par that closes the last paragraph does not open another one.
    if (doc_.paragraphs.size() > 1 && doc_.paragraphs.back().runs.empty())
      doc_.paragraphs.pop_back();
    return std::move(doc_);
  }

 private:
  CharFormat resolve(const Style& s) const {
    CharFormat f;
    f.bold = s.bold;
    f.italic = s.italic;
    f.underline = s.underline;
    f.strike = s.strike;
    f.halfPoints = s.halfPoints;
    if (const auto it = tables_.fonts.find(s.font); it != tables_.fonts.end())
      f.font = it->second.name;
    const auto& colours = tables_.colours;
    if (s.colour >= 0 && s.colour < static_cast<std::int64_t>(colours.size()))
      f.colour = colours[s.colour];
    if (s.highlight > 0 && s.highlight < static_cast<std::int64_t>(colours.size()))
      f.highlight = colours[s.highlight];
    return f;
  }

  const Tables& tables_;
  RichText doc_;
  Style lastStyle_;
  bool haveStyle_ = false;
};

// Collects the plain text only, with CR LF for every line break.
class PlainSink {
 public:
  explicit PlainSink(const Tables&) {}
  std::string& textFor(const Style&) { return out_; }
  void lineBreak(const Style&) { out_ += "\r\n"; }
  void fontsChanged() {}
  void paragraphBreak() {
    out_ += "\r\n";
    lastParagraphEnd_ = out_.size();
  }
  std::string finish() {
    if (lastParagraphEnd_ > 0 && lastParagraphEnd_ == out_.size()) out_.resize(out_.size() - 2);
    // A line separator that came as \u8232 or in UTF-8 bytes is a line break too.
    if (out_.find(kLineSeparatorUtf8) == std::string::npos) return std::move(out_);
    std::string text;
    text.reserve(out_.size());
    std::string_view rest = out_;
    for (auto at = rest.find(kLineSeparatorUtf8); at != std::string_view::npos;
         at = rest.find(kLineSeparatorUtf8)) {
      text.append(rest.substr(0, at)).append("\r\n");
      rest.remove_prefix(at + kLineSeparatorUtf8.size());
    }
    text.append(rest);
    return text;
  }

 private:
  std::string out_;
  std::size_t lastParagraphEnd_ = 0;
};

template <class Sink>
class Parser {
 public:
  explicit Parser(std::string_view in,
                  std::size_t paragraphs = std::numeric_limits<std::size_t>::max())
      : in_(in), sink_(tables_), paragraphsLeft_(paragraphs) {
    states_.reserve(64);
    states_.emplace_back();  // below the outer group; never popped
  }

  // False when the reading stopped at the paragraph limit.
  bool readToTheEnd() const { return paragraphsLeft_ > 0; }
  const Tables& tables() const { return tables_; }

  auto run() {
    while (pos_ < in_.size() && paragraphsLeft_ > 0) {
      const auto c = static_cast<unsigned char>(in_[pos_]);
      if (c == '{') {
        ++pos_;
        openGroup();
      } else if (c == '}') {
        ++pos_;
        if (closeGroup()) break;  // the outer group is closed: the rest is not the document
      } else if (c == '\\') {
        ++pos_;
        controlSequence();
      } else if (c == '\r' || c == '\n' || c == '\0') {
        ++pos_;
      } else {
        text();
      }
    }
    flush();
    resolveLoneSurrogate();
    return sink_.finish();
  }

 private:
  GroupState& state() { return states_.back(); }
  std::size_t depth() const { return states_.size() - 1 + deepGroups_; }
  bool takesText() const {
    return states_.back().dest == Dest::Body || states_.back().dest == Dest::FontTable;
  }

  // ---- groups

  void openGroup() {
    flush();
    resolveLoneSurrogate();
    skip_ = 0;
    if (states_.size() <= kMaxStateDepth)
      states_.push_back(states_.back());
    else
      ++deepGroups_;
    groupStart_ = true;
  }

  // True when the outer group has just closed.
  bool closeGroup() {
    flush();
    resolveLoneSurrogate();
    skip_ = 0;
    groupStart_ = false;
    if (deepGroups_ > 0) {
      --deepGroups_;
    } else if (states_.size() > 1) {
      const Dest closing = states_.back().dest;
      states_.pop_back();
      if (closing == Dest::FontTable) endFontEntry();
      if (closing == Dest::ColourTable && states_.back().dest != Dest::ColourTable &&
          colourHasValue_)
        endColour();
    }
    return depth() == 0;
  }

  // ---- text

  void text() {
    groupStart_ = false;
    if (skip_ > 0) {
      --skip_;
      ++pos_;
      return;
    }
    const Dest dest = state().dest;
    if (dest == Dest::FontTable || dest == Dest::ColourTable) {
      const char c = in_[pos_++];
      if (c == ';') {
        flush();
        dest == Dest::FontTable ? endFontEntry() : endColour();
      } else if (dest == Dest::FontTable) {
        pending_ += c;
      }
      return;
    }
    std::size_t end = pos_;
    while (end < in_.size() && !kTextStop[static_cast<unsigned char>(in_[end])]) ++end;
    if (dest == Dest::Body) pending_.append(in_.data() + pos_, end - pos_);
    pos_ = end;
  }

  // Decodes the bytes gathered so far in the current code page.
  void flush() {
    if (!pending_.empty()) decodePending();
  }

  void decodePending() {
    resolveLoneSurrogate();
    if (state().dest == Dest::Body) {
      const Font& font = bodyFont();
      const int codePage = font.codePage != 0 ? font.codePage : tables_.ansiCodePage;
      if (!font.symbol)
        appendDecoded(sink_.textFor(state().style), pending_, codePage);
      else if (codePage == kSymbolFontCodePage)
        appendDecoded(sink_.textFor(drawnStyle()), pending_, codePage);
      else
        appendSymbolFontText(decodeCodePage(pending_, codePage));
    } else if (state().dest == Dest::FontTable && fontEntryOpen_) {
      appendDecoded(fontEntry_.name, pending_, fontEntryCodePage());
    }
    pending_.clear();
  }

  void emit(char32_t cp) {
    flush();
    resolveLoneSurrogate();
    emitNow(cp);
  }

  void emitNow(char32_t cp) {
    if (cp == 0) return;
    if (state().dest == Dest::Body) {
      if (cp == '\r' || cp == '\n') return;
      if (bodyFont().symbol)
        emitInSymbolFont(cp);
      else
        appendUtf8(sink_.textFor(state().style), cp);
    } else if (state().dest == Dest::FontTable && fontEntryOpen_) {
      appendUtf8(fontEntry_.name, cp);
    }
  }

  void unicode(std::int64_t n) {
    flush();
    if (n < 0) n += 65536;
    const char32_t cp = n < 0 || n > 0x10FFFF ? kReplacementCharacter : static_cast<char32_t>(n);
    if (isHighSurrogate(cp)) {
      resolveLoneSurrogate();
      highSurrogate_ = cp;
    } else if (isLowSurrogate(cp)) {
      if (highSurrogate_ != 0) {
        const char32_t joined = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
        highSurrogate_ = 0;
        emitNow(joined);
      } else {
        emitNow(kReplacementCharacter);
      }
    } else {
      emit(cp);
    }
  }

  void resolveLoneSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    emitNow(kReplacementCharacter);
  }

  void paragraphBreak() {
    flush();
    resolveLoneSurrogate();
    if (state().dest != Dest::Body) return;
    sink_.paragraphBreak();
    --paragraphsLeft_;
  }

  void lineBreak() {
    flush();
    resolveLoneSurrogate();
    if (state().dest != Dest::Body) return;
    if (bodyFont().codePage == kSymbolFontCodePage)
      sink_.lineBreak(drawnStyle());
    else
      sink_.lineBreak(state().style);
  }

  // Text of the Symbol font is read as the characters it draws, which need the font no more:
  // they take the document's default font, unless that is the Symbol font too. All the text
  // of a Symbol font read through its encoding is drawn so; of one kept in its code page
  // (this program's own files), the private-use characters that stand for the font's.
  Style drawnStyle() {
    Style drawn = state().style;
    const auto it = tables_.fonts.find(tables_.defaultFont);
    drawn.font = it != tables_.fonts.end() && it->second.symbol ? kNoFont : tables_.defaultFont;
    return drawn;
  }

  void emitInSymbolFont(char32_t cp) {
    if (isSymbolFontPrivateUse(cp))
      appendUtf8(sink_.textFor(drawnStyle()), symbolFontCharacter(cp & 0xFF));
    else if (bodyFont().codePage == kSymbolFontCodePage)
      appendUtf8(sink_.textFor(drawnStyle()), cp);
    else
      appendUtf8(sink_.textFor(state().style), cp);
  }

  // Text decoded in a Symbol font kept in its code page: its private-use characters are drawn.
  void appendSymbolFontText(std::string_view decoded) {
    splitSymbolFontPrivateUse(
        decoded, [this](std::string_view kept) { sink_.textFor(state().style).append(kept); },
        [this](char32_t drawn) { appendUtf8(sink_.textFor(drawnStyle()), drawn); });
  }

  // The font of the body text, looked up again only when the text changes font.
  const Font& bodyFont() {
    const std::int64_t font = state().style.font;
    if (font != cachedFont_ || fontsVersion_ != cachedFontsVersion_) {
      const auto it = tables_.fonts.find(font);
      cachedBodyFont_ = it == tables_.fonts.end() ? &noFont_ : &it->second;
      cachedFont_ = font;
      cachedFontsVersion_ = fontsVersion_;
    }
    return *cachedBodyFont_;
  }

  // ---- control words and symbols

  void controlSequence() {
    if (pos_ >= in_.size()) return;
    const auto c = static_cast<unsigned char>(in_[pos_]);
    if (isLetter(c)) {
      controlWord();
      return;
    }
    ++pos_;
    const bool atGroupStart = groupStart_;
    groupStart_ = false;
    if (c == '\'') {
      const int byte = hexByte();
      if (skip_ > 0) {
        --skip_;
      } else if (byte > 0 && takesText()) {
        // Raw line ends are not text, and neither are their escaped bytes in the body.
        if (state().dest != Dest::Body || (byte != '\r' && byte != '\n'))
          pending_ += static_cast<char>(byte);
      }
      return;
    }
    if (skip_ > 0) {
      --skip_;
      return;
    }
    switch (c) {
      case '\\':
      case '{':
      case '}':
        if (takesText()) pending_ += static_cast<char>(c);
        break;
      case '~': emit(0x00A0); break;
      case '-': emit(0x00AD); break;
      case '_': emit(0x2011); break;
      case '\r':
      case '\n': paragraphBreak(); break;
      case '*':
        // An ignorable destination: its group is skipped unless it is the document itself.
        if (atGroupStart && depth() > 1) {
          flush();
          state().dest = Dest::Skip;
        }
        break;
      default: break;
    }
  }

  // The byte of \'hh, or -1 (and nothing consumed) when two hex digits do not follow.
  int hexByte() {
    if (pos_ + 1 >= in_.size()) return -1;
    const int hi = hexValue(static_cast<unsigned char>(in_[pos_]));
    const int lo = hexValue(static_cast<unsigned char>(in_[pos_ + 1]));
    if (hi < 0 || lo < 0) return -1;
    pos_ += 2;
    return hi * 16 + lo;
  }

  void controlWord() {
    const std::size_t start = pos_;
    while (pos_ < in_.size() && isLetter(static_cast<unsigned char>(in_[pos_]))) ++pos_;
    const std::string_view name = in_.substr(start, pos_ - start);
    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' &&
        isDigit(static_cast<unsigned char>(in_[pos_ + 1]))) {
      negative = true;
      ++pos_;
    }
    bool hasParam = false;
    std::int64_t param = 0;
    while (pos_ < in_.size() && isDigit(static_cast<unsigned char>(in_[pos_]))) {
      hasParam = true;
      param = std::min(param * 10 + (in_[pos_] - '0'), kParamLimit);
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;

    const Word word = name.size() <= kMaxWordLength ? wordTable().find(name) : Word::Unknown;
    if (word == Word::Bin) skipBinary(hasParam ? param : 0);
    if (skip_ > 0) {
      --skip_;  // a fallback unit: the word has no effect
      groupStart_ = false;
      return;
    }
    groupStart_ = false;
    if (word != Word::Unknown) apply(word, hasParam, param);
  }

  void skipBinary(std::int64_t n) {
    const auto left = static_cast<std::int64_t>(in_.size() - pos_);
    pos_ += static_cast<std::size_t>(std::clamp<std::int64_t>(n, 0, left));
  }

  void enterDestination(Dest dest) {
    if (depth() <= 1) return;  // never the document's own group
    flush();
    state().dest = dest;
  }

  void apply(Word word, bool hasParam, std::int64_t param) {
    GroupState& g = state();
    Style& s = g.style;
    const bool on = !hasParam || param != 0;
    switch (word) {
      case Word::Ansi: tables_.ansiCodePage = 1252; break;
      case Word::Mac: tables_.ansiCodePage = 10000; break;
      case Word::Pc: tables_.ansiCodePage = 437; break;
      case Word::Pca: tables_.ansiCodePage = 850; break;
      case Word::AnsiCpg:
        if (hasParam && param > 0) tables_.ansiCodePage = clampToInt(param, 1, 65535);
        break;
      case Word::Urtf: tables_.ansiCodePage = kUtf8CodePage; break;
      case Word::Deff:
        if (hasParam) {
          tables_.defaultFont = param;
          s.font = param;
        }
        break;

      case Word::FontTable: enterDestination(Dest::FontTable); break;
      case Word::ColourTable: enterDestination(Dest::ColourTable); break;
      case Word::SkipDest: enterDestination(Dest::Skip); break;
      case Word::Object: enterDestination(g.dest == Dest::Body ? Dest::Object : Dest::Skip); break;
      case Word::Result:
        if (g.dest == Dest::Object) enterDestination(Dest::Body);
        break;

      case Word::F:
        if (!hasParam) break;
        if (g.dest == Dest::FontTable) {
          beginFontEntry(param);
        } else if (g.dest == Dest::Body) {
          flush();
          s.font = param;
        }
        break;
      case Word::FCharset:
        if (g.dest == Dest::FontTable && hasParam) fontCharset_ = clampToInt(param, -1, 1 << 16);
        break;
      case Word::Cpg:
        if (g.dest == Dest::FontTable && hasParam) fontCpg_ = clampToInt(param, 0, 65535);
        break;
      case Word::Red:
      case Word::Green:
      case Word::Blue:
        if (g.dest == Dest::ColourTable) {
          const auto v = static_cast<std::uint8_t>(clampToInt(hasParam ? param : 0, 0, 255));
          (word == Word::Red ? colour_.r : word == Word::Green ? colour_.g : colour_.b) = v;
          colourHasValue_ = true;
        }
        break;

      case Word::Plain:
        flush();
        s = Style{};
        s.font = tables_.defaultFont;
        break;
      // clang-format off
      case Word::B: flush(); s.bold = on; break;
      case Word::I: flush(); s.italic = on; break;
      case Word::Ul: flush(); s.underline = on; break;
      case Word::UlNone: flush(); s.underline = false; break;
      case Word::Strike: flush(); s.strike = on; break;
      // clang-format on
      case Word::Fs:
        flush();
        s.halfPoints = clampHalfPoints(hasParam ? clampToInt(param, 0, 1 << 20) : 0);
        break;
      case Word::Cf:
        if (hasParam && validColour(param)) {
          flush();
          s.colour = param;
        }
        break;
      case Word::Highlight:
        if (hasParam && validColour(param)) {
          flush();
          s.highlight = param;
        }
        break;

      case Word::Par: paragraphBreak(); break;
      case Word::Line: lineBreak(); break;
      case Word::Tab: emit('\t'); break;
      case Word::Lquote: emit(0x2018); break;
      case Word::Rquote: emit(0x2019); break;
      case Word::Ldblquote: emit(0x201C); break;
      case Word::Rdblquote: emit(0x201D); break;
      case Word::Bullet: emit(0x2022); break;
      case Word::Endash: emit(0x2013); break;
      case Word::Emdash: emit(0x2014); break;
      case Word::Enspace: emit(0x2002); break;
      case Word::Emspace: emit(0x2003); break;
      case Word::Qmspace: emit(0x2005); break;
      case Word::Zwj: emit(0x200D); break;
      case Word::Zwnj: emit(0x200C); break;

      case Word::U:
        if (hasParam) {
          unicode(param);
          skip_ = g.unicodeSkip;
        }
        break;
      case Word::Uc:
        if (hasParam && param >= 0) g.unicodeSkip = clampToInt(param, 0, kMaxUnicodeSkip);
        break;
      case Word::Bin:  // its bytes are already skipped
      case Word::Unknown: break;
    }
  }

  // Index 0 is always accepted (automatic, or the first entry of an old table without the
  // leading empty one); any other index must exist.
  bool validColour(std::int64_t index) const {
    return index == 0 || (index > 0 && index < static_cast<std::int64_t>(tables_.colours.size()));
  }

  // ---- font table

  void beginFontEntry(std::int64_t number) {
    flush();
    endFontEntry();
    fontEntryOpen_ = true;
    fontNumber_ = number;
    fontEntry_ = Font{};
    fontCharset_ = -1;
    fontCpg_ = 0;
  }

  int fontEntryCodePage() const {
    if (fontCpg_ > 0) return fontCpg_;
    const int cp = fontCharset_ >= 0 ? codePageOfCharset(fontCharset_) : 0;
    return cp == 0 || cp == kSymbolCodePage ? tables_.ansiCodePage : cp;
  }

  void endFontEntry() {
    flush();
    if (!fontEntryOpen_) return;
    fontEntryOpen_ = false;
    fontEntry_.symbol = isSymbolFontFamily(fontEntry_.name);
    if (fontCpg_ > 0) {
      fontEntry_.codePage = fontCpg_;
    } else if (fontCharset_ >= 0) {
      int cp = codePageOfCharset(fontCharset_);
      if (cp == kSymbolCodePage && fontEntry_.symbol)
        cp = kSymbolFontCodePage;  // the one symbol font whose glyphs are known characters
      else if (cp == kSymbolCodePage && !isSymbolFontName(fontEntry_.name))
        cp = 0;
      fontEntry_.codePage = cp;
    }
    tables_.fonts[fontNumber_] = std::move(fontEntry_);
    ++fontsVersion_;
    sink_.fontsChanged();
  }

  // ---- colour table

  void endColour() {
    tables_.colours.push_back(colourHasValue_ ? std::optional<Rgb>(colour_) : std::nullopt);
    colour_ = Rgb{};
    colourHasValue_ = false;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  Tables tables_;
  Sink sink_;
  std::size_t paragraphsLeft_;  // paragraph breaks to read before stopping
  std::vector<GroupState> states_;
  std::size_t deepGroups_ = 0;  // open groups past kMaxStateDepth
  bool groupStart_ = false;     // nothing read yet in the current group
  std::string pending_;         // text bytes not yet decoded
  std::int64_t skip_ = 0;       // \uc fallback units still to skip
  char32_t highSurrogate_ = 0;  // waiting for its low half

  std::int64_t cachedFont_ = 0;
  const Font* cachedBodyFont_ = nullptr;
  const Font noFont_;  // what text in a font the table does not define is read in
  unsigned fontsVersion_ = 0;
  unsigned cachedFontsVersion_ = ~0u;

  bool fontEntryOpen_ = false;
  std::int64_t fontNumber_ = 0;
  Font fontEntry_;
  int fontCharset_ = -1;
  int fontCpg_ = 0;

  Rgb colour_;
  bool colourHasValue_ = false;
};

}  // namespace

bool looksLikeRtf(std::string_view bytes) { return bytes.starts_with("{\\rtf"); }

RichText readRtf(std::string_view bytes) {
  if (!looksLikeRtf(bytes)) return fromPlainText(decodePlainText(bytes));
  return Parser<ModelSink>(bytes).run();
}

RichTextBeginning readRtfBeginning(std::string_view bytes, std::size_t paragraphs) {
  if (!looksLikeRtf(bytes)) {
    RichText text = fromPlainText(decodePlainText(bytes));
    const bool whole = text.paragraphs.size() <= paragraphs;
    if (!whole) text.paragraphs.resize(paragraphs);
    return {std::move(text), whole};
  }
  Parser<ModelSink> parser(bytes, std::max<std::size_t>(paragraphs, 1));
  RichText text = parser.run();
  return {std::move(text), parser.readToTheEnd()};
}

std::vector<std::string> readRtfFontNames(std::string_view rtf) {
  std::vector<std::string> names;
  if (!looksLikeRtf(rtf)) return names;
  Parser<PlainSink> parser(rtf, 1);
  parser.run();
  for (const auto& [number, font] : parser.tables().fonts)
    if (!font.name.empty() && std::find(names.begin(), names.end(), font.name) == names.end())
      names.push_back(font.name);
  return names;
}

std::string readRtfPlainText(std::string_view rtf) { return Parser<PlainSink>(rtf).run(); }

}  // namespace qw::text
