#include "gui/rich_text_document.h"

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

// A card uses few distinct formats: each is converted once, and QTextDocument finds a format
// it has already seen faster when it gets the same QTextCharFormat object (its hash is kept).
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

QString runText(const std::string& utf8) {
  QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  s.replace(QChar(kFrameStart), QChar::ReplacementCharacter);
  s.replace(QChar(kFrameEnd), QChar::ReplacementCharacter);
  return s;
}

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
  return text::clampHalfPoints(half > text::kMaxHalfPoints ? text::kMaxHalfPoints
                                                            : static_cast<int>(half));
}

text::CharFormat toModelFormat(const QTextCharFormat& f, const QFont& shown) {
  text::CharFormat m;
  m.bold = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() > QFont::Medium
                                                   : shown.weight() > QFont::Medium;
  m.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : shown.italic();
  m.underline = f.hasProperty(QTextFormat::TextUnderlineStyle) ||
                        f.hasProperty(QTextFormat::FontUnderline)
                    ? f.fontUnderline()
                    : shown.underline();
  m.strike = f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : shown.strikeOut();
  m.font = familyOf(f);
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

  void add(QStringView fragment, const QTextCharFormat& qtFormat, int formatIndex) {
    if (fragment.isEmpty()) return;
    auto it = formats_.find(formatIndex);
    if (it == formats_.end()) it = formats_.emplace(formatIndex, toModelFormat(qtFormat, shown_)).first;
    const QByteArray utf8 = fragment.toUtf8();
    auto& runs = model_.paragraphs.back().runs;
    if (runs.empty() || !(runs.back().format == it->second))
      runs.push_back(text::Run{{}, it->second});
    runs.back().text.append(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  }

  text::RichText take() {
    // Empty runs were never added and neighbours are merged; what is left to clean (NUL
    // characters, a lone surrogate) the core's rule handles.
    text::normalise(model_);
    return std::move(model_);
  }

 private:
  QFont shown_;
  std::unordered_map<int, text::CharFormat> formats_;
  text::RichText model_;
};

// The document's raw text (a block break is U+2029) up to `limit` units, read block by block.
QString textPrefix(const QTextDocument& doc, qsizetype limit) {
  QString prefix;
  for (QTextBlock b = doc.begin(); b.isValid() && b.position() < limit; b = b.next()) {
    prefix += b.text();
    if (b.next().isValid()) prefix += QChar::ParagraphSeparator;
  }
  prefix.truncate(limit);
  return prefix;
}

qsizetype lastPosition(const QTextDocument& doc) { return doc.characterCount() - 1; }

}  // namespace

void fillDocument(QTextDocument& doc, const text::RichText& model, const QFont& editorFont) {
  const bool undo = doc.isUndoRedoEnabled();
  doc.setUndoRedoEnabled(false);  // nothing recorded, and the history is dropped
  doc.clear();
  doc.setDefaultFont(editorFont);

  QtFormats formats;
  QTextCursor cursor(&doc);
  cursor.beginEditBlock();
  const QTextCharFormat* last = nullptr;
  bool first = true;
  for (const text::Paragraph& p : model.paragraphs) {
    // An empty paragraph takes the format of the text before it, as the user would expect to
    // go on typing in it.
    if (!first) cursor.insertBlock(QTextBlockFormat(), last ? *last : QTextCharFormat());
    first = false;
    for (const text::Run& run : p.runs) {
      if (run.text.empty()) continue;
      last = &formats[run.format];
      cursor.insertText(runText(run.text), *last);
    }
  }
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
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const QTextCharFormat format = f.charFormat();
      qsizetype start = f.position() + carried;
      qsizetype end = f.position() + f.length();
      carried = 0;
      if (start >= end) continue;
      if (format.objectType() != QTextFormat::NoObject) continue;  // an image's placeholder
      if (QChar::isHighSurrogate(raw[end - 1].unicode()) && end < raw.size() &&
          QChar::isLowSurrogate(raw[end].unicode())) {
        ++end;
        carried = 1;
      }
      builder.add(QStringView(raw).sliced(start, end - start), format, f.charFormatIndex());
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
  const QByteArray prefix = textPrefix(doc, position + 1).toUtf8();
  return static_cast<int>(text::flatToStored(std::string_view(prefix.constData(), prefix.size()),
                                             position));
}

int documentPosition(const QTextDocument& doc, int storedPosition) {
  const std::int64_t stored = std::max(storedPosition, 0);
  // Every unit of the document counts at least half a stored character, so this prefix holds
  // the position and the break that may follow it.
  const qsizetype limit = std::min<std::int64_t>(2 * stored + 4, lastPosition(doc));
  const QByteArray prefix = textPrefix(doc, limit).toUtf8();
  return static_cast<int>(
      text::storedToFlat(std::string_view(prefix.constData(), prefix.size()), stored));
}

}  // namespace qw::gui
