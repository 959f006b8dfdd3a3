// Any bytes as the card index (fiches.kvn), read the way the start-up load reads it. Blank
// lines go; lines without a counter line are refused as an index, never half-read, and each
// card line among them gives its file number; the old format converts; every line's
// fields come apart without failing, a record built from them reads back the same, dropping
// a hot key touches no other field, and the file survives being written back.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/store/card_index.h"
#include "core/store/index_line.h"
#include "fuzz_check.h"
#include "stored_lines.h"

namespace {

using namespace qw::store;
using qw::fuzz::check;

struct Record {
  std::string fileNumber, categoryId;
  std::optional<int> slot;
  std::string name;
  friend bool operator==(const Record&, const Record&) = default;
};

Record recordOf(std::string_view line) {
  return {fileNumber(line), categoryId(line), hotKeySlot(line), displayName(line)};
}

void checkLine(const std::string& line) {
  const Record record = recordOf(line);
  const bool linked = isLinked(line);
  if (record.slot) check(*record.slot >= 0, "a negative hot-key slot");

  // The writer only ever gets separator-free numbers for the first two fields; other lines
  // are damaged, and only have to be read without failing.
  if (!line.starts_with(record.fileNumber + ";-") ||
      record.fileNumber.find_first_of("-:") != std::string::npos ||
      record.categoryId.find(':') != std::string::npos)
    return;
  const std::string rebuilt =
      makeIndexLine(record.fileNumber, record.categoryId, record.slot, linked, record.name);
  check(recordOf(rebuilt) == record, "an index line built from its fields reads differently");
  check(isLinked(rebuilt) == linked, "the linked flag changed when rebuilt");

  const std::string unbound = withoutHotKey(line);
  if (!record.slot) {
    check(unbound == line, "a line without a hot key changed when its hot key was removed");
    return;
  }
  check(unbound.size() < line.size(), "a hot key was not removed");
  if (line.find(':') == std::string::npos) return;  // the name is then the whole line
  Record expected = record;
  expected.slot = hotKeySlot(unbound);  // a damaged line may hold a second "H" field
  check(recordOf(unbound) == expected, "removing a hot key changed another field");
  check(isLinked(unbound) == linked, "removing a hot key changed the linked flag");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CountedLines counted = splitCounted(qw::fuzz::storedLines(qw::fuzz::bytesOf(data, size)));
  for (const std::string& entry : counted.entries) {
    check(!entry.empty(), "a blank line was kept");
    // What survives a lost counter: a line read as a card has its number before the ";".
    if (const auto number = cardFileNumber(entry))
      check(parseCounter(fileNumber(entry)) == number, "a card line's file number reads twice");
  }
  if (!counted.counter) {
    check(qw::fuzz::throws<std::invalid_argument>([&] { CardIndex{counted.entries}; }),
          "an index without its counter line was taken");
    return 0;
  }
  auto& lines = counted.entries;
  if (!lines.empty() && isOldFormat(lines.front())) {
    for (std::string& line : lines) {
      const std::string old = line;
      line = convertOldLine(old);
      const std::string number = old.substr(0, old.find(':'));
      if (number.size() < old.size() && number.find_first_of(";-") == std::string::npos)
        check(fileNumber(line) == number && categoryId(line) == "0",
              "a converted line lost its file number or category");
    }
  }
  lines.push_back(*counted.counter);
  CardIndex index(lines);
  check(index.count() == static_cast<int>(lines.size()) - 1, "cards miscounted");
  check(index.counter() >= 0, "a negative counter");
  for (int card = 0; card < index.count(); ++card) checkLine(index.line(card));

  const long long counter = index.counter();
  index.removeBlankLines();
  check(index.counter() == counter, "removing blank lines moved the counter");
  for (int card = 0; card < index.count(); ++card)
    check(!index.line(card).empty(), "a blank card line stayed");
  check(qw::fuzz::survivesRewrite(index.lines()), "the index changed when written and read back");
  return 0;
}
