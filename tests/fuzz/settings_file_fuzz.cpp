// Any bytes as the settings file (param.ini): values come by line position, the lines a save
// writes read back to the same values, and the colour values that parse write back to the
// same colour.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/store/colour.h"
#include "core/store/settings.h"
#include "fuzz_check.h"
#include "stored_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::store;
  using qw::fuzz::check;
  const auto lines = qw::fuzz::storedLines(qw::fuzz::bytesOf(data, size));

  const Settings read = Settings::fromLines(lines);
  const auto saved = read.lines();
  check(saved.size() == 9 || saved.size() == 10, "a save writes neither nine nor ten lines");
  check(Settings::fromLines(saved) == read, "saved settings read back differently");
  check(qw::fuzz::survivesRewrite(saved), "saved settings changed on disk");

  for (const std::uint32_t value :
       {read.stripBackground(), read.cardNameColour(), read.activeCardColour()}) {
    check(parseColour(colourText(value)) == value, "a colour does not survive being written");
    if (const auto rgb = rgbOf(value)) check(rgbOf(colourOf(*rgb)) == rgb, "a colour's RGB moved");
  }
  // Setting the colours a file holds keeps them.
  Settings again = read;
  again.setStripBackground(read.stripBackground());
  again.setCardNameColour(read.cardNameColour());
  again.setActiveCardColour(read.activeCardColour());
  check(again.stripBackground() == read.stripBackground() &&
            again.cardNameColour() == read.cardNameColour() &&
            again.activeCardColour() == read.activeCardColour(),
        "setting a held colour changed it");
  return 0;
}
