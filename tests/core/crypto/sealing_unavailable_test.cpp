// A build without libsodium: sealed cards are recognised and refused as unavailable, never taken
// for damaged files nor written some other way.
#include <gtest/gtest.h>

#include "core/crypto/errors.h"
#include "core/crypto/sealed_card.h"

namespace qw::crypto {
namespace {

TEST(NoCipher, SealedCardsAreRecognisedButNeitherSealedNorOpened) {
  EXPECT_FALSE(sealingAvailable());
  EXPECT_TRUE(looksSealed(std::string("QWSEALED\x01", 9) + std::string(200, 'x')));
  EXPECT_FALSE(looksSealed("{\\rtf1 hello}"));
  EXPECT_THROW(sealCard("{\\rtf1 text}", "pw"), SealingUnavailable);
  EXPECT_THROW(openSealedCard(std::string("QWSEALED\x01", 9) + std::string(200, 'x'), "pw"),
               SealingUnavailable);
}

TEST(NoCipher, WipeStillZeroesTheBytes) {
  std::string secret = "a password long enough to live on the heap";
  const char* bytes = secret.data();
  const std::size_t size = secret.size();
  wipe(secret);
  EXPECT_TRUE(secret.empty());
  // The buffer is still the string's own: clear() keeps the capacity.
  ASSERT_EQ(secret.data(), bytes);
  EXPECT_EQ(std::string(bytes, size), std::string(size, '\0'));
}

}  // namespace
}  // namespace qw::crypto
