#pragma once
// Reads the Rich Text Format that the Windows RichEdit control, WordPad, LibreOffice, Word and
// pandoc write. Any input gives a result: the reader never throws, crashes or takes more than
// linear time and memory, whatever the bytes.

#include <string>
#include <string_view>
#include <vector>

#include "core/text/rich_text.h"

namespace qw::text {

// True when the bytes start with "{\rtf": anything else is a plain-text card.
bool looksLikeRtf(std::string_view bytes);

// The document of a card file, normalised. RTF keeps what the model holds (character formats,
// paragraphs, \line breaks as U+2028, tabs); a \par that ends the document adds no empty
// paragraph. Other bytes are plain text (see decodePlainText), one paragraph per line.
RichText readRtf(std::string_view bytes);

// The first paragraphs of what readRtf gives, reading no further than they need: a big card
// is shown from its beginning long before all of it is read. `whole` is true when nothing was
// left unread.
struct RichTextBeginning {
  RichText text;
  bool whole = true;
};
RichTextBeginning readRtfBeginning(std::string_view bytes, std::size_t paragraphs);

// The family names of an RTF document's font table, each once, in the table's order; the
// reading stops at the first paragraph, so the beginning of a file is enough.
std::vector<std::string> readRtfFontNames(std::string_view rtf);

// The plain text of an RTF document, as plainText(readRtf(rtf)) gives it, without building
// the model.
std::string readRtfPlainText(std::string_view rtf);

}  // namespace qw::text
