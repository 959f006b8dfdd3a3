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

  const Settings read = settingsFromLines(lines);
  const auto saved = settingsLines(read);
  check(saved.size() == 9 || saved.size() == 10, "a save writes neither nine nor ten lines");
  check(settingsFromLines(saved) == read, "saved settings read back differently");
  check(qw::fuzz::survivesRewrite(saved), "saved settings changed on disk");

  for (const SettingIndex colour : {kStripBackground, kCardNameColour, kActiveCardColour}) {
    const auto value = parseColour(read[colour]);
    if (!value) continue;
    check(parseColour(colourText(*value)) == value, "a colour does not survive being written");
    if (const auto rgb = rgbOf(*value)) check(rgbOf(colourOf(*rgb)) == rgb, "a colour's RGB moved");
  }
  return 0;
}
