// Any bytes as a stored text file (Windows-1252, or UTF-8 behind a BOM): decoding gives valid
// UTF-8, encoding that back loses no character, and its lines survive a rewrite.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/store/text_file.h"
#include "core/text/utf8.h"
#include "fuzz_check.h"
#include "stored_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::store;
  using qw::fuzz::check;
  const auto bytes = qw::fuzz::bytesOf(data, size);

  const std::string text = decodeStoredText(bytes);
  check(qw::text::isValidUtf8(text), "decoded text is not valid UTF-8");
  check(decodeStoredText(encodeStoredText(text)) == text, "encoding lost or changed a character");
  // The bytes of text as it came, now read as UTF-8 whatever they are, take the same way.
  const std::string asUtf8 = qw::text::toValidUtf8(bytes);
  check(decodeStoredText(encodeStoredText(asUtf8)) == asUtf8, "encoding UTF-8 was not exact");

  const auto lines = splitLines(text);
  for (const auto& line : lines)
    check(line.find_first_of("\r\n") == std::string::npos, "a line holds a line break");
  check(qw::fuzz::survivesRewrite(lines), "lines changed when written and read back");
  return 0;
}
