#pragma once
// Every occurrence of a search text in a card's plain text, by the card search's rules: only A
// to Z fold case, other letters match only themselves. Ignoring accents, a Latin letter with a
// diacritic also matches its base letter, in either text, and combining marks are passed over.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qw::find {

// Byte offsets into the searched text.
struct Occurrence {
  std::size_t start = 0;
  std::size_t end = 0;
  friend bool operator==(const Occurrence&, const Occurrence&) = default;
};

class TextMatcher {
 public:
  TextMatcher(std::string_view needle, bool ignoreAccents);

  // A needle with nothing left to look for (empty, or only combining marks) finds nothing.
  bool findsNothing() const { return needle_.empty(); }

  // Calls `found` for each occurrence in order; overlapping ones are all found, as the next
  // search starts one character after a hit's start. Stops when `found` returns false. Not for
  // two threads at once: the folded text is kept in the matcher between calls.
  void forEach(std::string_view text, const std::function<bool(Occurrence)>& found);

 private:
  // `text` folded into `folded_`, with `origins_` marking the offsets in both just after each
  // character that folding made shorter: elsewhere the two go byte for byte.
  void foldWithOrigins(std::string_view text);
  // The offset in the text of an offset in the folded text that starts or ends a character.
  std::size_t originOf(std::size_t folded) const;

  bool ignoreAccents_;
  std::string needle_;
  std::string folded_;
  struct Origin {
    std::size_t folded;
    std::size_t text;
  };
  std::vector<Origin> origins_;
};

}  // namespace qw::find
