// Sealed cards. The first byte picks how the rest is used:
//   0  the rest as a file, as it comes: nothing opens, nothing crashes;
//   1  the rest as a file whose header digest is made to fit, so the version, the key limits
//      and the password check are reached; cheap limits replace costly ones so a run stays
//      fast, and still nothing opens;
//   2  the rest as a card's content, sealed with the cheapest limits, then opened with the
//      right and a wrong password and with one byte changed.
#include <sodium.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/crypto/errors.h"
#include "core/crypto/sealed_card.h"
#include "core/crypto/sealed_card_layout.h"
#include "core/crypto/sealed_card_limits.h"
#include "fuzz_check.h"

namespace {

using namespace qw::crypto;
using qw::fuzz::check;

constexpr detail::KdfLimits kCheapest = detail::kCheapestLimits;

std::uint64_t getLe64(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

void putLe64(unsigned char* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Opening must fail, with one of the two errors it documents.
void mustNotOpen(const std::string& file) {
  try {
    openSealedCard(file, "secret");
  } catch (const DamagedCard&) {
    return;
  } catch (const WrongPassword&) {
    return;
  }
  check(false, "a file nobody sealed opened");
}

void withFittingDigest(std::string file) {
  if (file.size() < detail::kHeaderSize) return mustNotOpen(file);
  auto* p = reinterpret_cast<unsigned char*>(file.data());
  const detail::KdfLimits asked{getLe64(p + detail::kOpsAt), getLe64(p + detail::kMemAt)};
  if (detail::limitsAcceptable(asked)) {
    // Keep the fuzzed limits from costing seconds per run; absurd ones stay to be refused.
    putLe64(p + detail::kOpsAt, kCheapest.ops + asked.ops % 2);
    putLe64(p + detail::kMemAt, kCheapest.mem * (1 + asked.mem % 4));
  }
  detail::headerDigest(p, p + detail::kDigestAt);
  mustNotOpen(file);
}

void sealAndOpen(std::string_view content) {
  const std::string file = detail::sealCardWithLimits(content, "secret", kCheapest);
  check(looksSealed(file), "a sealed card does not look sealed");
  check(openSealedCard(file, "secret") == content, "a sealed card opens to other bytes");
  check(qw::fuzz::throws<WrongPassword>([&] { openSealedCard(file, "secreT"); }),
        "a wrong password is not told apart");

  // Any one byte changed anywhere makes a damaged file, never a wrong password.
  std::string altered = file;
  const std::size_t at = content.empty() ? 0 : static_cast<unsigned char>(content[0]) * 7919u;
  altered[at % altered.size()] ^= static_cast<char>(1 + (content.size() % 255));
  check(qw::fuzz::throws<DamagedCard>([&] { openSealedCard(altered, "secret"); }),
        "an altered sealed card is not reported damaged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto rest = qw::fuzz::bytesOf(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0: mustNotOpen(std::string(rest)); break;
    case 1: withFittingDigest(std::string(rest)); break;
    case 2: sealAndOpen(rest); break;
  }
  return 0;
}
