#pragma once
// Stored text: Windows-1252 with CR LF, or UTF-8 behind a BOM when a text does not fit the
// code page. Inside core every text is UTF-8; this is the only place that converts.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::store {

// Bytes of a stored file to UTF-8: after a UTF-8 BOM the rest is UTF-8 (invalid sequences
// become U+FFFD), otherwise the bytes are Windows-1252.
std::string decodeStoredText(std::string_view bytes);

// UTF-8 to the bytes of a stored file: Windows-1252 when every character fits, otherwise a
// BOM followed by UTF-8. No character is ever replaced by another.
std::string encodeStoredText(std::string_view utf8);

// CR LF, CR or LF end a line; a line end at the very end adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

// The whole file as bytes, or its first `atMost` bytes; nothing when it does not exist.
// Throws StoreError when it exists but cannot be read (a folder, no permission).
std::optional<std::string> readFileBytes(const std::filesystem::path& file,
                                         std::size_t atMost = std::string::npos);

// The decoded lines of a stored text file; nothing when it does not exist. Throws StoreError
// when it exists but cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& file);

// The stored bytes of these lines, each followed by CR LF, encoded as above.
std::string textLinesBytes(const std::vector<std::string>& lines);

// Writes textLinesBytes(lines) through the atomic writer.
void writeTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines);

}  // namespace qw::store
