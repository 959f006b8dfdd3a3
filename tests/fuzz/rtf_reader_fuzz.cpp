// Any bytes as a card file: the reader must not crash, hang or read out of bounds; its model
// must be canonical, agree with the fast plain-text path, and survive the writer unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/text/plain_text.h"
#include "core/text/rich_text.h"
#include "core/text/rtf_reader.h"
#include "core/text/rtf_writer.h"

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "rtf_reader_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::text;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const RichText model = readRtf(bytes);
  check(isNormalised(model), "the model read is not normalised");
  check(plainText(model) == plainTextOfCard(bytes), "the fast plain text differs from the model's");

  const std::string rtf = writeRtf(model);
  for (const char c : rtf) check(static_cast<unsigned char>(c) < 0x80, "the writer wrote 8-bit");
  check(readRtf(rtf) == model, "writing and reading back changed the model");
  return 0;
}
