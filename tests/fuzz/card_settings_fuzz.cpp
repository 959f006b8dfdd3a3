// Any bytes as a card's settings file (.kvo): every field falls back instead of failing, the
// settings a save writes read back the same, and so do those written at creation.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/store/card_settings.h"
#include "fuzz_check.h"
#include "stored_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::store;
  using qw::fuzz::check;
  const auto lines = qw::fuzz::storedLines(qw::fuzz::bytesOf(data, size));

  const CardSettings read = cardSettingsFromLines(lines);
  check(read.selection.start >= 0 && read.selection.length >= 0, "a negative selection");
  check(read.syncLink.empty() || read.syncLink.size() > 2, "a link of two characters or fewer");
  if (!lines.empty()) check(read.contentFile == lines.front(), "the content file is not line 1");

  const auto saved = cardSettingsLines(read);
  check(saved.size() == 23, "a save does not write 23 lines");
  check(cardSettingsFromLines(saved) == read, "saved settings read back differently");
  check(qw::fuzz::survivesRewrite(saved), "saved settings changed on disk");

  const auto created = newCardSettingsLines(read.contentFile, read.look.fontItem);
  check(created.size() == 15, "a new settings file does not have 15 lines");
  const CardSettings fresh = cardSettingsFromLines(created);
  check(fresh.contentFile == read.contentFile && fresh.look.fontItem == read.look.fontItem,
        "a new settings file reads back another content file or font");
  return 0;
}
