// Any bytes as the category file (categ.kvn): blank lines go, and the ids that can be read
// read the same; refused without its counter line; otherwise every entry gives an id and a
// name, an entry rebuilt from them reads back the same, and the file survives being written
// back.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "core/store/card_index.h"
#include "core/store/categories.h"
#include "fuzz_check.h"
#include "stored_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::store;
  using qw::fuzz::check;
  CountedLines counted = splitCounted(qw::fuzz::storedLines(qw::fuzz::bytesOf(data, size)));
  for (const std::string& entry : counted.entries) {
    check(!entry.empty(), "a blank line was kept");
    if (const auto id = categoryLineId(entry))
      check(parseCounter(entry.substr(0, entry.find(';'))) == id, "a category id reads twice");
  }
  if (!counted.counter) {
    check(qw::fuzz::throws<std::invalid_argument>([&] { Categories{counted.entries}; }),
          "a category file without its counter line was taken");
    return 0;
  }
  auto lines = std::move(counted.entries);
  lines.push_back(*counted.counter);
  const Categories categories(lines);
  check(categories.counter() >= 0, "a negative counter");
  for (int k = 0; k < categories.count(); ++k) {
    const std::string id = categories.id(k);
    const std::string name = categories.name(k);
    check(id.find(';') == std::string::npos, "an id holds its separator");
    if (id.find(':') == std::string::npos) {
      const Categories rebuilt({id + ";:" + name, "1"});
      check(rebuilt.id(0) == id && rebuilt.name(0) == name, "a rebuilt entry reads differently");
    }
  }
  check(qw::fuzz::survivesRewrite(categories.lines()), "the category file changed on disk");
  return 0;
}
