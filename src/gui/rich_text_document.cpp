#include "gui/rich_text_document.h"

#include <QFontInfo>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>

#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"
#include "core/text/stored_position.h"

namespace qw::gui {
namespace {

// Qt marks frames with these two characters; text holding them would be taken for structure.
constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;

// ----- model to document ------------------------------------------------------------------

QColor toQColor(const text::Rgb& c) { return QColor(c.r, c.g, c.b); }

QTextCharFormat toQtFormat(const text::CharFormat& f) {
  QTextCharFormat q;
  q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  q.setFontItalic(f.italic);
  q.setFontUnderline(f.underline);
  q.setFontStrikeOut(f.strike);
  q.setFontPointSize(text::clampHalfPoints(f.halfPoints) / 2.0);
  if (!f.font.empty()) q.setFontFamilies({QString::fromStdString(f.font)});
  if (f.colour) q.setForeground(toQColor(*f.colour));
  if (f.highlight) q.setBackground(toQColor(*f.highlight));
  return q;
}

struct CharFormatHash {
  std::size_t operator()(const text::CharFormat& f) const {
    const auto rgb = [](const std::optional<text::Rgb>& c) -> std::size_t {
      return c ? (std::size_t{1} << 24 | std::size_t{c->r} << 16 | c->g << 8 | c->b) : 0;
    };
    std::size_t h = std::hash<std::string>{}(f.font);
    const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(std::size_t{f.bold} | std::size_t{f.italic} << 1 | std::size_t{f.underline} << 2 |
        std::size_t{f.strike} << 3 | static_cast<std::size_t>(f.halfPoints) << 4);
    mix(rgb(f.colour));
    mix(rgb(f.highlight));
    return h;
  }
};

// A card uses few distinct formats: each is converted once, and kept at one address.
class QtFormats {
 public:
  const QTextCharFormat& operator[](const text::CharFormat& f) {
    auto it = formats_.find(f);
    if (it == formats_.end()) it = formats_.emplace(f, toQtFormat(f)).first;
    return it->second;
  }

 private:
  std::unordered_map<text::CharFormat, QTextCharFormat, CharFormatHash> formats_;
};

// Text waiting to go into the document in one format. Each QTextCursor::insertText costs
// about what a whole line costs setPlainText, so text of one format goes in with one call,
// paragraph breaks included: the cursor splits the block at each U+2029 and gives the new
// block the text's format, so typing in an empty paragraph goes on in the format before it.
class PendingText {
 public:
  PendingText(QTextCursor& cursor, const QTextCharFormat& format)
      : cursor_(cursor), format_(&format) {}

  void add(std::string_view utf8, const QTextCharFormat& format) {
    if (&format != format_) {
      flush();
      format_ = &format;
    }
    const qsizetype at = buffer_.size();
    buffer_.resize(at + static_cast<qsizetype>(utf8.size()));
    const QChar* end = decoder_.appendToBuffer(
        buffer_.data() + at, QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    buffer_.truncate(end - buffer_.constData());
    if (utf8.find("\xEF\xB7") != std::string_view::npos) {  // the lead bytes of U+FDD0, U+FDD1
      QChar* const begin = buffer_.data() + at;
      std::replace(begin, begin + (buffer_.size() - at), QChar(kFrameStart),
                   QChar(QChar::ReplacementCharacter));
      std::replace(begin, begin + (buffer_.size() - at), QChar(kFrameEnd),
                   QChar(QChar::ReplacementCharacter));
    }
  }

  void addParagraphBreak() { buffer_ += QChar::ParagraphSeparator; }

  void flush() {
    if (!buffer_.isEmpty()) cursor_.insertText(buffer_, *format_);
    buffer_.resize(0);  // keeps the allocation for the next piece
  }

 private:
  QTextCursor& cursor_;
  const QTextCharFormat* format_;
  QString buffer_;
  QStringDecoder decoder_{QStringDecoder::Utf8};  // runs hold whole characters: no state carried
};

// ----- document to model ------------------------------------------------------------------

std::optional<text::Rgb> brushColour(const QTextCharFormat& f, QTextFormat::Property p) {
  if (!f.hasProperty(p)) return std::nullopt;
  const QBrush brush = f.brushProperty(p);
  if (brush.style() == Qt::NoBrush) return std::nullopt;
  const QColor c = brush.color().toRgb();
  return text::Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue())};
}

std::string familyOf(const QTextCharFormat& f) {
  QString family;
  if (f.hasProperty(QTextFormat::FontFamilies)) {
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty()) family = families.first();
  }
  if (family.isEmpty()) family = f.stringProperty(QTextFormat::FontFamily);
  return family.toStdString();
}

int halfPointsOf(const QTextCharFormat& f, const QFont& shown) {
  double points = shown.pointSizeF() > 0 ? shown.pointSizeF() : text::kDefaultHalfPoints / 2.0;
  if (f.hasProperty(QTextFormat::FontPointSize))
    points = f.fontPointSize();
  else if (f.hasProperty(QTextFormat::FontPixelSize))
    points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;  // CSS pixels: 96 per inch
  const double half = std::round(points * 2);
  if (!(half >= 1)) return text::kDefaultHalfPoints;  // as the model reads a size of zero
  return static_cast<int>(std::min(half, double{text::kMaxHalfPoints}));
}

// What the document shows: its default font, with the family the font database resolved it to,
// not the name asked for (which may be an alias such as "Sans Serif").
struct ShownFont {
  explicit ShownFont(const QFont& font)
      : font(font), family(QFontInfo(font).family().toStdString()) {}
  QFont font;
  std::string family;
};

text::CharFormat toModelFormat(const QTextCharFormat& f, const ShownFont& shownFont) {
  const QFont& shown = shownFont.font;
  text::CharFormat m;
  m.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() > QFont::Medium
                                                  : shown.weight() > QFont::Medium;
  m.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : shown.italic();
  // Dotted, dashed and wavy lines (pasted HTML) are underlines too.
  if (f.hasProperty(QTextFormat::TextUnderlineStyle))
    m.underline = f.underlineStyle() != QTextCharFormat::NoUnderline;
  else if (f.hasProperty(QTextFormat::FontUnderline))
    m.underline = f.boolProperty(QTextFormat::FontUnderline);
  else
    m.underline = shown.underline();
  m.strike = f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : shown.strikeOut();
  m.font = familyOf(f);
  // Stated in the file, so the card reads back in this face whatever the editor's font then.
  if (m.font.empty()) m.font = shownFont.family;
  m.halfPoints = halfPointsOf(f, shown);
  m.colour = brushColour(f, QTextFormat::ForegroundBrush);
  m.highlight = brushColour(f, QTextFormat::BackgroundBrush);
  return m;
}

// Builds a normalised model fragment by fragment, merging neighbours that read the same.
class ModelBuilder {
 public:
  explicit ModelBuilder(const QTextDocument& doc) : shown_(doc.defaultFont()) {}

  void startParagraph() { model_.paragraphs.emplace_back(); }

  // Text of a fragment; nothing for an inline object (an image's placeholder character).
  void add(QStringView text, const QTextFragment& fragment) {
    const Format& format = formatOf(fragment);
    if (text.isEmpty() || format.object) return;
    const QByteArray utf8 = text.toUtf8();
    auto& runs = model_.paragraphs.back().runs;
    if (runs.empty() || !(runs.back().format == format.model))
      runs.push_back(text::Run{{}, format.model});
    runs.back().text.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  }

  text::RichText take() {
    // Empty runs were never added and neighbours are merged; what is left to clean (NUL
    // characters, a lone surrogate) the core's rule handles.
    text::normalise(model_);
    return std::move(model_);
  }

 private:
  struct Format {
    bool object;
    text::CharFormat model;
  };

  // Converted once per format of the document.
  const Format& formatOf(const QTextFragment& fragment) {
    auto it = formats_.find(fragment.charFormatIndex());
    if (it == formats_.end()) {
      const QTextCharFormat f = fragment.charFormat();
      const bool object = f.objectType() != QTextFormat::NoObject;
      it = formats_.emplace(fragment.charFormatIndex(), Format{object, toModelFormat(f, shown_)})
               .first;
    }
    return it->second;
  }

  ShownFont shown_;
  std::unordered_map<int, Format> formats_;
  text::RichText model_;
};

qsizetype lastPosition(const QTextDocument& doc) { return doc.characterCount() - 1; }

// The document's raw text (a block break is U+2029) up to `limit` units, in UTF-8: what a
// selection from the start holds, copied piece by piece without the rest of the card.
QByteArray textPrefix(const QTextDocument& doc, qsizetype limit) {
  QTextCursor cursor(const_cast<QTextDocument*>(&doc));
  cursor.setPosition(static_cast<int>(std::clamp<qsizetype>(limit, 0, lastPosition(doc))),
                     QTextCursor::KeepAnchor);
  return cursor.selectedText().toUtf8();
}

}  // namespace

void fillDocument(QTextDocument& doc, const text::RichText& model, const QFont& editorFont) {
  doc.clear();
  doc.setDefaultFont(editorFont);
  appendParagraphs(doc, model, 0, model.paragraphs.size());
}

void appendParagraphs(QTextDocument& doc, const text::RichText& model, std::size_t from,
                      std::size_t to) {
  to = std::min(to, model.paragraphs.size());
  const bool undo = doc.isUndoRedoEnabled();
  doc.setUndoRedoEnabled(false);  // nothing recorded, and the history is dropped

  QtFormats formats;  // one object per format: PendingText compares their addresses
  const QTextCharFormat unformatted;
  QTextCursor cursor(&doc);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  PendingText pending(cursor, unformatted);
  for (std::size_t i = from; i < to; ++i) {
    if (i > 0) pending.addParagraphBreak();
    for (const text::Run& run : model.paragraphs[i].runs)
      if (!run.text.empty()) pending.add(run.text, formats[run.format]);
  }
  pending.flush();
  cursor.endEditBlock();
  doc.setUndoRedoEnabled(undo);
}

text::RichText modelOf(const QTextDocument& doc) {
  const QString raw = doc.toRawText();
  ModelBuilder builder(doc);
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    builder.startParagraph();
    // A surrogate pair split between two formats is kept whole, in the format of its start.
    qsizetype carried = 0;
    qsizetype at = b.position();
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const qsizetype start = at + carried;
      qsizetype end = at + f.length();
      at = end;
      carried = 0;
      if (start >= end) continue;
      if (QChar::isHighSurrogate(raw[end - 1].unicode()) && end < raw.size() &&
          QChar::isLowSurrogate(raw[end].unicode())) {
        ++end;
        carried = 1;
      }
      builder.add(QStringView(raw).sliced(start, end - start), f);
    }
  }
  return builder.take();
}

void loadCard(QTextDocument& doc, std::string_view fileBytes, const QFont& editorFont) {
  fillDocument(doc, text::readRtf(fileBytes), editorFont);
}

std::string cardBytes(const QTextDocument& doc) { return text::writeRtf(modelOf(doc)); }

int storedPosition(const QTextDocument& doc, int documentPosition) {
  const qsizetype position = std::clamp<qsizetype>(documentPosition, 0, lastPosition(doc));
  // One unit more than asked, to see the second half of a pair the position falls into.
  const QByteArray prefix = textPrefix(doc, position + 1);
  return static_cast<int>(
      text::flatToStored(std::string_view(prefix.constData(), prefix.size()), position));
}

int documentPosition(const QTextDocument& doc, int storedPosition) {
  const std::int64_t stored = std::max(storedPosition, 0);
  // Every unit of the document counts at least half a stored character, so this prefix holds
  // the position and the break that may follow it.
  const qsizetype limit = std::min<std::int64_t>(2 * stored + 4, lastPosition(doc));
  const QByteArray prefix = textPrefix(doc, limit);
  return static_cast<int>(
      text::storedToFlat(std::string_view(prefix.constData(), prefix.size()), stored));
}

}  // namespace qw::gui
