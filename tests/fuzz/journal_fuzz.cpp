// Any bytes as the open-card journal (backup.ini): the three fields come out without failing,
// and a journal written from them reads back the same.
#include <cstddef>
#include <cstdint>

#include "core/store/journal.h"
#include "core/store/text_file.h"
#include "fuzz_check.h"
#include "stored_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::store;
  using qw::fuzz::check;
  const auto lines = qw::fuzz::storedLines(qw::fuzz::bytesOf(data, size));
  const Journal journal = journalFromLines(lines);
  for (size_t i = 0; i < 3 && i < lines.size(); ++i)
    check(journalLines(journal)[i] == lines[i], "a journal field is not its line");
  const auto written = journalLines(journal);
  check(journalFromLines(qw::fuzz::storedLines(textLinesBytes(written))) == journal,
        "a written journal reads back differently");
  return 0;
}
