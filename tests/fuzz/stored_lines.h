#pragma once
// A stored text file's bytes as the store reads them, and the bytes it would write back.

#include <string>
#include <string_view>
#include <vector>

#include "core/store/text_file.h"

namespace qw::fuzz {

inline std::vector<std::string> storedLines(std::string_view bytes) {
  return store::splitLines(store::decodeStoredText(bytes));
}

// Writing lines and reading the bytes back gives the same lines.
inline bool survivesRewrite(const std::vector<std::string>& lines) {
  return storedLines(store::textLinesBytes(lines)) == lines;
}

}  // namespace qw::fuzz
