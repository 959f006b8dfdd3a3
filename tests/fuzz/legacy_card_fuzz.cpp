// Any bytes as an old encoded card, and as the body alone: decoding either gives bytes or
// DamagedCard, never a crash or a read past the end. What decodes encodes back to the same
// bytes, and any bytes encoded with the old format decode to themselves.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/crypto/errors.h"
#include "core/crypto/legacy_card.h"
#include "core/crypto/md5.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qw::crypto;
  using qw::fuzz::check;
  const auto input = qw::fuzz::bytesOf(data, size);
  static const std::string digest = md5Text("secret");

  // As a body: bytes or DamagedCard, and bytes the writer turns back into the same bytes.
  std::string body;
  try {
    body = decodeLegacyBody(input);
    check(decodeLegacyBody(encodeLegacyBody(body)) == body, "a decoded body does not re-encode");
    const std::string header = std::string(1, static_cast<char>(digest.size())) + digest;
    check(decodeLegacyCard(header + std::string(input), digest) == body,
          "a card and its body decode differently");
  } catch (const DamagedCard&) {
  }

  // As a whole file: the header checks come first, the body after them.
  try {
    decodeLegacyCard(input, digest);
  } catch (const DamagedCard&) {
  } catch (const WrongPassword&) {
    check(size >= 1 + digest.size(), "a wrong password reported for a file too short to say");
  }

  // As the content of a card written in the old format.
  check(decodeLegacyCard(encodeLegacyCard(input, digest), digest) == input,
        "an encoded card does not decode to its bytes");
  return 0;
}
