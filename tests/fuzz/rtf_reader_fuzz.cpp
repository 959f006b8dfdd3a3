// Any bytes as a card file: the reader must not crash, hang or read out of bounds; its model
// must be canonical, agree with the fast plain-text path, and survive the writer unchanged.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/text/plain_text.h"
#include "core/text/rich_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::text;
  using qw::fuzz::check;
  const auto bytes = qw::fuzz::bytesOf(data, size);
  const RichText model = readRtf(bytes);
  check(isNormalised(model), "the model read is not normalised");
  check(plainText(model) == plainTextOfCard(bytes), "the fast plain text differs from the model's");

  const std::string rtf = writeRtf(model);
  for (const char c : rtf) check(static_cast<unsigned char>(c) < 0x80, "the writer wrote 8-bit");
  check(readRtf(rtf) == model, "writing and reading back changed the model");
  return 0;
}
