#pragma once
// Writes the model as RTF that WordPad (RichEdit), LibreOffice and Word open.

#include <string>

#include "core/text/rich_text.h"

namespace qw::text {

// Compact 7-bit RTF: "{\rtf1\ansi\ansicpg1252\deff0", a font table of the fonts in use, a
// colour table whose entry 0 is automatic, then the paragraphs, each closed by \par (a reader
// takes the \par at the very end as the end of the document, not as an empty paragraph), and
// "}" CR LF. Windows-1252 characters above 127 are \'hh, every other character \uN? (\uc1).
// The output depends on the model only: reading it gives normalised(text) back, and writing
// that again gives the same bytes.
std::string writeRtf(const RichText& text);

}  // namespace qw::text
