#pragma once
// Cards of about 1 MB for the timings: the same bytes in every run and every harness.

#include <string>

#include "core/text/rich_text.h"

namespace qw::bench {

// Mixed bold, italic, underline, colour, size and font, up to `maxRuns` runs per paragraph,
// 20,000 paragraphs: about 1 MB once written as RTF.
text::RichText formattedCard(int maxRuns);

// Windows-1252 lines with CR LF, as a plain-text card is stored: at least `bytes` bytes.
std::string plainCardBytes(std::size_t bytes = 1 << 20);

}  // namespace qw::bench
