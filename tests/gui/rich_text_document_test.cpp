#include "gui/rich_text_document.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <ostream>
#include <random>

#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"
#include "core/text/stored_position.h"

namespace qw::text {

// Readable failure messages for models.
void PrintTo(const RichText& text, std::ostream* os) {
  for (const Paragraph& p : text.paragraphs) {
    *os << "\n  ¶";
    for (const Run& r : p.runs) {
      const CharFormat& f = r.format;
      *os << " [" << (f.bold ? "b" : "") << (f.italic ? "i" : "") << (f.underline ? "u" : "")
          << (f.strike ? "s" : "") << " '" << f.font << "' " << f.halfPoints;
      if (f.colour) *os << " c" << +f.colour->r << "," << +f.colour->g << "," << +f.colour->b;
      if (f.highlight)
        *os << " h" << +f.highlight->r << "," << +f.highlight->g << "," << +f.highlight->b;
      *os << "] \"" << r.text << "\"";
    }
  }
}

}  // namespace qw::text

namespace qw::gui {
namespace {

using text::CharFormat;
using text::Paragraph;
using text::RichText;

QFont editorFont() { return QFont("DejaVu Sans", 10); }

// Runs without a family of their own come back in the face they were shown in.
constexpr const char* kEditorFamily = "DejaVu Sans";

CharFormat inEditorFamily(CharFormat f = {}) {
  if (f.font.empty()) f.font = kEditorFamily;
  return f;
}

// `model` as the document gives it back when `font` is the editor's.
RichText shownIn(RichText model, const QFont& font) {
  const std::string family = QFontInfo(font).family().toStdString();
  for (Paragraph& p : model.paragraphs)
    for (text::Run& run : p.runs)
      if (run.format.font.empty()) run.format.font = family;
  return text::normalised(std::move(model));
}

// Models of every kind the editor can hold, normalised.
class ModelGenerator {
 public:
  explicit ModelGenerator(unsigned seed) : rng_(seed) {}

  RichText model() {
    RichText m;
    const int paragraphs = pick(0, 6);
    for (int i = 0; i < paragraphs; ++i) {
      Paragraph p;
      const int runs = pick(0, 3) == 0 ? 0 : pick(1, 5);  // a quarter are empty paragraphs
      for (int r = 0; r < runs; ++r) p.runs.push_back(text::Run{runText(), format()});
      m.paragraphs.push_back(std::move(p));
    }
    return text::normalised(std::move(m));
  }

 private:
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  template <class T, std::size_t N>
  const T& oneOf(const T (&items)[N]) {
    return items[pick(0, static_cast<int>(N) - 1)];
  }

  std::string runText() {
    static const char* const pieces[] = {
        "a",          "word",    " ",      "\t",     "\u2028", "é",    "€",      "字",    "😊",
        "\U0010FFFD", "e\u0301", "\u00A0", "\uFFFC", "\uFFFD", "\x01", "\"{\\}", "\u200D"};
    std::string s;
    for (int n = pick(1, 8); n > 0; --n) s += oneOf(pieces);
    return s;
  }

  std::optional<text::Rgb> colour() {
    if (pick(0, 2) == 0) return std::nullopt;
    const auto byte = [this] { return static_cast<std::uint8_t>(pick(0, 255)); };
    return text::Rgb{byte(), byte(), byte()};
  }

  CharFormat format() {
    static const char* const fonts[] = {"",
                                        "",
                                        "Arial",
                                        "DejaVu Sans",
                                        "Courier New",
                                        "Odd; Name, Inc.",
                                        "  spaced  ",
                                        "Ünïcødé 字体",
                                        "😊 Emoji",
                                        "Two\nLines",
                                        "tab\there"};
    static const int sizes[] = {1, 2, 16, 21, 24, 25, 80, 81, 3275, text::kMaxHalfPoints};
    CharFormat f;
    f.bold = pick(0, 1);
    f.italic = pick(0, 1);
    f.underline = pick(0, 1);
    f.strike = pick(0, 1);
    f.font = oneOf(fonts);
    f.halfPoints = pick(0, 1) ? oneOf(sizes) : pick(1, text::kMaxHalfPoints);
    f.colour = colour();
    f.highlight = colour();
    return f;
  }

  std::mt19937 rng_;
};

RichText roundTrip(const RichText& model, const QFont& font = editorFont()) {
  QTextDocument doc;
  fillDocument(doc, model, font);
  return modelOf(doc);
}

RichText oneRun(std::string s, CharFormat f = {}) {
  RichText m;
  m.paragraphs.push_back(Paragraph{{text::Run{std::move(s), std::move(f)}}});
  return m;
}

// One run as the document gives it back.
RichText shownRun(std::string s, CharFormat f = {}) {
  return oneRun(std::move(s), inEditorFamily(std::move(f)));
}

// ----- model → document → model ------------------------------------------------------------

TEST(RichTextDocument, RandomModelsComeBackUnchanged) {
  // Runs state every bit, so an unusual editor font changes nothing in the model but the
  // family of the runs that name none.
  QFont unusual("Courier New", 7);
  unusual.setBold(true);
  unusual.setItalic(true);
  unusual.setUnderline(true);
  unusual.setStrikeOut(true);
  for (unsigned seed = 1; seed <= 300; ++seed) {
    ModelGenerator gen(seed);
    const RichText model = gen.model();
    ASSERT_TRUE(text::isNormalised(model));
    ASSERT_EQ(roundTrip(model), shownIn(model, editorFont())) << "seed " << seed;
    ASSERT_EQ(roundTrip(model, unusual), shownIn(model, unusual)) << "seed " << seed << " unusual";
  }
}

TEST(RichTextDocument, EmptyDocumentsAndEmptyParagraphs) {
  const RichText empty = text::normalised({});
  EXPECT_EQ(roundTrip(RichText{}), empty);
  EXPECT_EQ(roundTrip(empty), empty);

  RichText blanks;
  blanks.paragraphs.resize(3);
  blanks.paragraphs[1].runs.push_back(text::Run{"x", {}});
  QTextDocument doc;
  fillDocument(doc, blanks, editorFont());
  EXPECT_EQ(doc.blockCount(), 3);
  blanks.paragraphs[1].runs[0].format.font = kEditorFamily;
  EXPECT_EQ(modelOf(doc), blanks);
}

TEST(RichTextDocument, DocumentHoldsWhatTheModelSays) {
  CharFormat f;
  f.bold = true;
  f.font = "Courier New";
  f.halfPoints = 21;
  f.colour = text::Rgb{255, 0, 0};
  RichText model = oneRun("tab\there\u2028next 😊", f);
  model.paragraphs.push_back(Paragraph{{text::Run{"plain", {}}}});

  QTextDocument doc;
  fillDocument(doc, model, editorFont());
  ASSERT_EQ(doc.blockCount(), 2);
  EXPECT_EQ(doc.firstBlock().text(), QString::fromUtf8("tab\there\u2028next 😊"));
  EXPECT_EQ(doc.defaultFont().family(), editorFont().family());

  const QTextCharFormat first = doc.firstBlock().begin().fragment().charFormat();
  EXPECT_EQ(first.fontWeight(), QFont::Bold);
  EXPECT_EQ(first.fontPointSize(), 10.5);
  EXPECT_EQ(first.fontFamilies().toStringList(), QStringList{"Courier New"});
  EXPECT_EQ(first.foreground().color(), QColor(255, 0, 0));
  EXPECT_FALSE(first.hasProperty(QTextFormat::BackgroundBrush));

  const QTextCharFormat second = doc.lastBlock().begin().fragment().charFormat();
  EXPECT_FALSE(second.hasProperty(QTextFormat::ForegroundBrush));  // automatic colour
  EXPECT_FALSE(second.hasProperty(QTextFormat::FontFamilies));     // the editor's font
  EXPECT_EQ(second.fontPointSize(), 12.0);
}

TEST(RichTextDocument, CharactersQtKeepsForItsStructureAreMapped) {
  // A paragraph separator inside a run is a paragraph break; frame markers are not text.
  const RichText model = oneRun("a\u2029b\uFDD0c\uFDD1");
  RichText expected = shownRun("a");
  expected.paragraphs.push_back(Paragraph{{text::Run{"b\uFFFDc\uFFFD", inEditorFamily()}}});
  EXPECT_EQ(roundTrip(model), expected);
}

TEST(RichTextDocument, LoadingClearsTheHistoryAndLeavesTheModifiedFlagToTheCaller) {
  QTextDocument doc;
  QTextCursor(&doc).insertText("typed");
  ASSERT_TRUE(doc.isUndoAvailable());
  doc.setModified(false);

  fillDocument(doc, oneRun("loaded"), editorFont());
  EXPECT_FALSE(doc.isUndoAvailable());
  EXPECT_FALSE(doc.isRedoAvailable());
  EXPECT_TRUE(doc.isUndoRedoEnabled());
  EXPECT_TRUE(doc.isModified());
  EXPECT_EQ(doc.toPlainText(), "loaded");

  // Edits after the load are undoable as usual, back to the loaded text.
  QTextCursor(&doc).insertText("x");
  ASSERT_TRUE(doc.isUndoAvailable());
  doc.undo();
  EXPECT_EQ(doc.toPlainText(), "loaded");
}

// ----- documents edited in the editor -------------------------------------------------------

TEST(RichTextDocument, EditsThroughACursorGiveTheExpectedModel) {
  QTextDocument doc;
  fillDocument(doc, oneRun("Hello brave world"), editorFont());

  QTextCursor c(&doc);
  c.setPosition(6);
  c.setPosition(11, QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  c.mergeCharFormat(bold);

  c.setPosition(0);
  c.setPosition(5, QTextCursor::KeepAnchor);
  QTextCharFormat red;
  red.setForeground(QColor(200, 0, 10));
  red.setFontFamilies({"Courier New"});
  red.setFontPointSize(20);
  c.mergeCharFormat(red);

  // Typed text takes the format before it and joins that run.
  c.setPosition(11);
  c.insertText("st");

  CharFormat redF;
  redF.colour = text::Rgb{200, 0, 10};
  redF.font = "Courier New";
  redF.halfPoints = 40;
  CharFormat boldF = inEditorFamily();
  boldF.bold = true;
  RichText expected;
  expected.paragraphs.push_back(
      Paragraph{{text::Run{"Hello", redF}, text::Run{" ", inEditorFamily()},
                 text::Run{"bravest", boldF}, text::Run{" world", inEditorFamily()}}});
  EXPECT_EQ(modelOf(doc), expected);

  // Removing the bold again gives one plain run: neighbours that read the same are merged.
  c.setPosition(6);
  c.setPosition(13, QTextCursor::KeepAnchor);
  QTextCharFormat normal;
  normal.setFontWeight(QFont::Normal);
  c.mergeCharFormat(normal);
  expected.paragraphs[0].runs = {text::Run{"Hello", redF},
                                 text::Run{" bravest world", inEditorFamily()}};
  EXPECT_EQ(modelOf(doc), expected);
}

TEST(RichTextDocument, TypingInAnEmptyParagraphGoesOnInTheFormatBeforeIt) {
  CharFormat bold = inEditorFamily();
  bold.bold = true;
  bold.halfPoints = 30;
  RichText model;
  model.paragraphs.resize(4);
  model.paragraphs[1].runs.push_back(text::Run{"x", bold});
  QTextDocument doc;
  fillDocument(doc, model, editorFont());

  QTextCursor c(&doc);
  c.insertText("a");  // the first paragraph has nothing before it: the editor's font
  c.setPosition(doc.findBlockByNumber(2).position());
  c.insertText("y");
  c.setPosition(doc.findBlockByNumber(3).position());
  c.insertText("z");

  CharFormat editor = inEditorFamily();
  editor.halfPoints = 20;
  RichText expected;
  expected.paragraphs = {Paragraph{{text::Run{"a", editor}}}, Paragraph{{text::Run{"x", bold}}},
                         Paragraph{{text::Run{"y", bold}}}, Paragraph{{text::Run{"z", bold}}}};
  EXPECT_EQ(modelOf(doc), expected);
}

TEST(RichTextDocument, UnstatedPropertiesReadAsTheDocumentShowsThem) {
  QTextDocument doc;
  QFont font("DejaVu Serif", 9);
  font.setItalic(true);
  doc.setDefaultFont(font);
  doc.setPlainText("one\ntwo");
  CharFormat f;
  f.font = "DejaVu Serif";
  f.italic = true;
  f.halfPoints = 18;
  RichText expected = oneRun("one", f);
  expected.paragraphs.push_back(Paragraph{{text::Run{"two", f}}});
  EXPECT_EQ(modelOf(doc), expected);

  // A pixel size (pasted HTML) is read at 96 pixels per inch; a weight above medium is bold.
  doc.setHtml("<span style=\"font-size:16px; font-weight:800\">x</span>");
  f.bold = true;
  f.halfPoints = 24;
  EXPECT_EQ(modelOf(doc), oneRun("x", f));

  // A family alias is read as the face it showed.
  doc.setDefaultFont(QFont("Sans Serif", 9));
  doc.setPlainText("x");
  const std::string family = modelOf(doc).paragraphs[0].runs[0].format.font;
  EXPECT_NE(family, "Sans Serif");
  EXPECT_TRUE(QFontDatabase::families().contains(QString::fromStdString(family))) << family;
}

TEST(RichTextDocument, FormatsTheModelCannotHoldAreBroughtIntoIt) {
  QTextDocument doc;
  fillDocument(doc, oneRun("abc"), editorFont());
  const auto formatAt = [&doc](int at, const QTextCharFormat& f) {
    QTextCursor c(&doc);
    c.setPosition(at);
    c.setPosition(at + 1, QTextCursor::KeepAnchor);
    c.mergeCharFormat(f);
  };
  QTextCharFormat wavy;
  wavy.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  formatAt(0, wavy);
  QTextCharFormat tiny;
  tiny.setFontPointSize(0.2);  // rounds to no half point at all: the default size
  formatAt(1, tiny);
  QTextCharFormat huge;
  huge.setFontPointSize(5000);
  formatAt(2, huge);

  CharFormat underlined = inEditorFamily();
  underlined.underline = true;
  CharFormat largest = inEditorFamily();
  largest.halfPoints = text::kMaxHalfPoints;
  RichText expected = oneRun("a", underlined);
  expected.paragraphs[0].runs.push_back(text::Run{"b", inEditorFamily()});
  expected.paragraphs[0].runs.push_back(text::Run{"c", largest});
  EXPECT_EQ(modelOf(doc), expected);
}

TEST(RichTextDocument, ImagesAreLeftOutAndSplitSurrogatePairsKeptWhole) {
  QTextDocument doc;
  fillDocument(doc, oneRun("a😊b"), editorFont());
  QTextCursor c(&doc);
  c.setPosition(1);
  c.insertImage("missing.png");
  // Bold on the second half of the pair only.
  c.setPosition(3);
  c.setPosition(4, QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  c.mergeCharFormat(bold);
  ASSERT_EQ(doc.characterCount(), 6);
  EXPECT_EQ(modelOf(doc), shownRun("a😊b"));
}

// ----- card files --------------------------------------------------------------------------

TEST(RichTextDocument, RtfWrittenByTheWriterIsSavedAgainUnchanged) {
  for (unsigned seed = 1000; seed < 1100; ++seed) {
    const RichText model = ModelGenerator(seed).model();
    QTextDocument doc;
    loadCard(doc, text::writeRtf(model), editorFont());
    const std::string saved = cardBytes(doc);
    // Text without a font of its own is saved in the editor's, and then stays in it.
    ASSERT_EQ(saved, text::writeRtf(shownIn(model, editorFont()))) << "seed " << seed;
    loadCard(doc, saved, QFont("DejaVu Serif", 15));
    ASSERT_EQ(cardBytes(doc), saved) << "seed " << seed;
  }
}

TEST(RichTextDocument, CardsFromOtherWritersAndPlainCardsLoad) {
  const std::string richEdit =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans "
      "Serif;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\cf1\\lang1036"
      "\\f0\\fs16 Bonjour \\ul\\b le\\ulnone\\b0  monde\\par\r\n}\r\n";
  QTextDocument doc;
  loadCard(doc, richEdit, editorFont());
  EXPECT_EQ(doc.toPlainText(), "Bonjour le monde");
  EXPECT_EQ(modelOf(doc), text::readRtf(richEdit));
  EXPECT_EQ(cardBytes(doc), text::writeRtf(text::readRtf(richEdit)));

  loadCard(doc,
           "Fran\xE7"
           "ais\r\nline two\r\n",
           editorFont());
  EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("Français\nline two\n"));
  EXPECT_EQ(doc.blockCount(), 3);
}

// ----- stored positions --------------------------------------------------------------------

QTextDocument* mixedDocument(QTextDocument& doc) {
  // a b ¶ c 😊(two units) d U+2028 e
  RichText m = oneRun("ab");
  m.paragraphs.push_back(Paragraph{{text::Run{"c😊d\u2028e", {}}}});
  fillDocument(doc, m, editorFont());
  return &doc;
}

TEST(RichTextDocument, StoredPositionsCountBreaksTwiceAndCharactersOnce) {
  QTextDocument doc;
  mixedDocument(doc);
  ASSERT_EQ(doc.characterCount() - 1, 9);
  // Document position 5 is inside the pair: the start of its character.
  const int storedOf[] = {0, 1, 2, 4, 5, 5, 6, 7, 9, 10};
  for (int p = 0; p <= 9; ++p) EXPECT_EQ(storedPosition(doc, p), storedOf[p]) << p;
  // Stored 3 and 8 fall between the CR and the LF of a break: the start of that break.
  const int documentOf[] = {0, 1, 2, 2, 3, 4, 6, 7, 7, 8, 9};
  for (int s = 0; s <= 10; ++s) EXPECT_EQ(documentPosition(doc, s), documentOf[s]) << s;
}

TEST(RichTextDocument, StoredPositionsOutOfRangeAreClamped) {
  QTextDocument doc;
  mixedDocument(doc);
  EXPECT_EQ(storedPosition(doc, -5), 0);
  EXPECT_EQ(storedPosition(doc, 10), 10);
  EXPECT_EQ(storedPosition(doc, std::numeric_limits<int>::max()), 10);
  EXPECT_EQ(documentPosition(doc, -1), 0);
  EXPECT_EQ(documentPosition(doc, 11), 9);
  EXPECT_EQ(documentPosition(doc, std::numeric_limits<int>::max()), 9);

  QTextDocument empty;
  EXPECT_EQ(storedPosition(empty, 3), 0);
  EXPECT_EQ(documentPosition(empty, 3), 0);
}

TEST(RichTextDocument, StoredPositionsFarIntoTextsOfOneKind) {
  // Only pairs: every stored character is two units. Only breaks: every unit is two stored.
  QTextDocument pairs;
  std::string emoji;
  for (int i = 0; i < 1000; ++i) emoji += "😊";
  fillDocument(pairs, oneRun(emoji), editorFont());
  EXPECT_EQ(documentPosition(pairs, 999), 1998);
  EXPECT_EQ(documentPosition(pairs, 1000), 2000);
  EXPECT_EQ(storedPosition(pairs, 1999), 999);

  QTextDocument breaks;
  RichText m;
  m.paragraphs.resize(1000);
  fillDocument(breaks, m, editorFont());
  EXPECT_EQ(storedPosition(breaks, 999), 1998);
  EXPECT_EQ(documentPosition(breaks, 1998), 999);
  EXPECT_EQ(documentPosition(breaks, 1997), 998);
}

TEST(RichTextDocument, StoredPositionsAgreeWithTheWholeTextEverywhere) {
  // Reading only a prefix must give what the whole text gives.
  for (unsigned seed = 7; seed < 27; ++seed) {
    QTextDocument doc;
    fillDocument(doc, ModelGenerator(seed).model(), editorFont());
    const QByteArray whole = doc.toRawText().toUtf8();
    const std::string_view all(whole.constData(), whole.size());
    const int end = doc.characterCount() - 1;
    for (int p = 0; p <= end; ++p)
      ASSERT_EQ(storedPosition(doc, p), text::flatToStored(all, p)) << seed << " @" << p;
    const auto storedEnd = static_cast<int>(text::storedLength(all));
    for (int s = 0; s <= storedEnd; ++s)
      ASSERT_EQ(documentPosition(doc, s), text::storedToFlat(all, s)) << seed << " @" << s;
  }
}

}  // namespace
}  // namespace qw::gui
