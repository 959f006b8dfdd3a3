// Sealed cards in a build without libsodium: they are still recognised, so the program can say
// why it cannot open one instead of calling it damaged, but nothing is sealed or opened.
#include <cstddef>
#include <stdexcept>

#include "core/crypto/errors.h"
#include "core/crypto/sealed_card.h"
#include "core/crypto/sealed_card_limits.h"
#include "core/crypto/sealed_card_magic.h"

namespace qw::crypto {

// Nothing is sealed, so the tests' cost changes nothing.
detail::SealingCostForTests::SealingCostForTests(KdfLimits) {}
detail::SealingCostForTests::~SealingCostForTests() = default;

bool sealingAvailable() { return false; }

bool looksSealed(std::string_view file) { return file.starts_with(detail::kMagic); }

std::string sealCard(std::string_view, std::string_view) {
  throw SealingUnavailable("sealed cards are not available in this build");
}

std::string openSealedCard(std::string_view, std::string_view) {
  throw SealingUnavailable("sealed cards are not available in this build");
}

void wipe(std::string& secret) {
  secret.resize(secret.capacity());
  // Through a volatile pointer: the stores of a buffer about to be cleared are not dropped.
  volatile char* bytes = secret.data();
  for (std::size_t i = 0; i < secret.size(); ++i) bytes[i] = 0;
  secret.clear();
}

}  // namespace qw::crypto
