#include "core/text/stored_position.h"

#include <limits>

#include "core/text/utf8.h"

namespace qw::text {
namespace {

struct Widths {
  std::int64_t stored;
  std::int64_t flat;
};

// The next character or line break at `pos`, moving past it.
Widths next(std::string_view text, std::size_t& pos) {
  const char c = text[pos];
  if (c == '\r') {
    pos += pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
    return {2, 1};
  }
  if (c == '\n') {
    ++pos;
    return {2, 1};
  }
  const char32_t cp = nextCodePoint(text, pos);
  if (cp == 0x2028 || cp == 0x2029) return {2, 1};
  return {1, cp > 0xFFFF ? 2 : 1};
}

// Walks the text until `target` units of the chosen kind have passed; answers the other kind.
template <class From, class To>
std::int64_t convert(std::string_view text, std::int64_t target, From from, To to) {
  Widths at{0, 0};
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t after = pos;
    const Widths w = next(text, after);
    if (from(at) + from(w) > target) break;
    at.stored += w.stored;
    at.flat += w.flat;
    pos = after;
  }
  return to(at);
}

std::int64_t storedOf(const Widths& w) { return w.stored; }
std::int64_t flatOf(const Widths& w) { return w.flat; }

}  // namespace

std::int64_t storedToFlat(std::string_view text, std::int64_t stored) {
  return convert(text, stored, storedOf, flatOf);
}

std::int64_t flatToStored(std::string_view text, std::int64_t flat) {
  return convert(text, flat, flatOf, storedOf);
}

std::int64_t storedLength(std::string_view text) {
  return flatToStored(text, std::numeric_limits<std::int64_t>::max());
}

}  // namespace qw::text
