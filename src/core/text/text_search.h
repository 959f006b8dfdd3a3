#pragma once
// Search in a card's plain text, ignoring the case of the letters A to Z only: accented and
// other letters match only themselves.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qw::text {

// `text` is UTF-8 whose line breaks are CR LF, so its code points are stored positions. Returns
// the stored position of the first occurrence of `needle` starting at or after `from`; nothing
// when there is none, when `from` is past the end or when `needle` is empty.
std::optional<std::int64_t> findText(std::string_view text, std::string_view needle,
                                     std::int64_t from);

}  // namespace qw::text
