#pragma once
// The card's rich-text model in and out of the editor's QTextDocument, and the positions the
// card files store.

#include <QFont>
#include <string>
#include <string_view>

#include "core/text/rich_text.h"

class QTextDocument;

namespace qw::gui {

// Replaces the document's content with `model`: one block per paragraph, one character format
// per run. Every run states its size and its bold, italic, underline and strike-out bits; a
// family only when the run names one, a foreground only for a colour that is not automatic, a
// background only for a highlight. `editorFont` becomes the document's default font, the one
// runs without a family of their own are shown in (a QTextEdit resets the default font to its
// own when its font changes, so give the widget the same font).
//
// Qt keeps three characters for its own structure: U+2029 inside a run becomes a paragraph
// break, and the frame markers U+FDD0 and U+FDD1 become U+FFFD. Any other normalised model
// comes back unchanged from modelOf, except that runs without a family come back in the one of
// `editorFont` they were shown in.
//
// The undo and redo history is emptied: the load cannot be undone. The modified flag is the
// caller's: the document is left marked modified, and a caller that loads a card calls
// setModified(false).
void fillDocument(QTextDocument& doc, const text::RichText& model, const QFont& editorFont);
// Paragraphs [from, to) of `model` at the end of the document, after a paragraph break unless
// `from` is the first: a card filled in parts ends up as fillDocument would have made it.
void appendParagraphs(QTextDocument& doc, const text::RichText& model, std::size_t from,
                      std::size_t to);

// The document as a normalised model. A character property the format does not state is what
// the document shows for it: the default font's family (the face the font database resolves it
// to), bold, italic, underline, strike-out and size (12 pt when that font is sized in pixels);
// no foreground is the automatic colour, no background no highlight.
// Inline objects (images) are left out. Sizes are rounded to half points.
text::RichText modelOf(const QTextDocument& doc);

// A card file's bytes into the document, as fillDocument does: RTF through the core's reader,
// any other bytes as the core's plain text (Windows-1252, or UTF-8 after a BOM).
void loadCard(QTextDocument& doc, std::string_view fileBytes, const QFont& editorFont);

// The document as the RTF bytes of a card file.
std::string cardBytes(const QTextDocument& doc);

// Conversions between QTextDocument positions (UTF-16 units, a block break one) and the
// positions card files store (characters, every line break two: CR LF). Out-of-range input
// is clamped to the text; a document position inside a surrogate pair counts as the start of
// its character. Each call takes time linear in the length of the text.
int storedPosition(const QTextDocument& doc, int documentPosition);
int documentPosition(const QTextDocument& doc, int storedPosition);

}  // namespace qw::gui
