#include "core/crypto/sealed_card.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/crypto/errors.h"
#include "core/crypto/legacy_card.h"
#include "core/crypto/md5.h"
#include "core/crypto/sealed_card_limits.h"

namespace qw::crypto {
namespace {

// Where the header fields sit: magic, version, opslimit, memlimit, salt, nonce, password check,
// header digest; the ciphertext and its tag follow.
constexpr std::size_t kOps = 9, kMem = 17, kSalt = 25, kNonce = 41, kCheck = 65, kDigest = 97,
                      kHeader = 113, kTag = 16;

// Each real derivation costs most of a second; tests that do not care about the cost seal
// with libsodium's interactive limits.
std::string quickSeal(std::string_view content, std::string_view password) {
  return detail::sealCardWithLimits(content, password, detail::quickLimits());
}

// What opening gives, in one word unless the card opens.
std::string outcome(const std::string& file, std::string_view password) {
  try {
    return "opened: " + openSealedCard(file, password);
  } catch (const WrongPassword&) {
    return "wrong password";
  } catch (const DamagedCard&) {
    return "damaged";
  }
}

std::string flipped(std::string file, std::size_t at) {
  file[at] = static_cast<char>(file[at] ^ 0x01);
  return file;
}

std::uint64_t le64(const std::string& file, std::size_t at) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(file[at + i]);
  return v;
}

// A header field changed on purpose, with its digest made to fit again.
std::string forged(std::string file, std::size_t at, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) file[at + i] = static_cast<char>(value >> (8 * i));
  crypto_generichash(reinterpret_cast<unsigned char*>(file.data()) + kDigest, 16,
                     reinterpret_cast<const unsigned char*>(file.data()), kDigest, nullptr, 0);
  return file;
}

TEST(SealedCard, RoundTripsAMegabyteWithTheRealCost) {
  std::mt19937 rng(7);
  std::string content(1 << 20, '\0');
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<char>(i < 256 ? i : rng() & 0xff);  // every byte value, then noise
  const std::string file = sealCard(content, "correct horse");

  EXPECT_TRUE(looksSealed(file));
  EXPECT_EQ(file.size(), kHeader + content.size() + kTag);
  EXPECT_GE(le64(file, kOps), std::uint64_t{crypto_pwhash_argon2id_OPSLIMIT_MODERATE});
  EXPECT_GE(le64(file, kMem), std::uint64_t{crypto_pwhash_argon2id_MEMLIMIT_MODERATE});
  EXPECT_EQ(file.find(content.substr(1000, 64)), std::string::npos);
  EXPECT_TRUE(openSealedCard(file, "correct horse") == content);
}

TEST(SealedCard, TellsAWrongPasswordWithTheRealCost) {
  const std::string file = sealCard("{\\rtf1 PIN 1234}", "Tr0ub4dor");
  EXPECT_EQ(outcome(file, "tr0ub4dor"), "wrong password");
}

// The seam of the notebook's tests: the cost it sets is the one recorded, and the real cost comes
// back when it ends, also after a nested one.
TEST(SealedCard, TheTestCostHoldsOnlyWhileItLives) {
  {
    detail::SealingCostForTests outer(detail::quickLimits());
    {
      detail::SealingCostForTests inner(detail::kCheapestLimits);
      const std::string cheap = sealCard("cheap", "pw");
      EXPECT_EQ(le64(cheap, kOps), detail::kCheapestLimits.ops);
      EXPECT_EQ(le64(cheap, kMem), detail::kCheapestLimits.mem);
      EXPECT_EQ(openSealedCard(cheap, "pw"), "cheap");
    }
    EXPECT_EQ(le64(sealCard("quick", "pw"), kMem), detail::quickLimits().mem);
  }
  EXPECT_EQ(le64(sealCard("real", "pw"), kMem), detail::sealingLimits().mem);
}

TEST(SealedCard, RoundTripsSmallCardsAndAnyPassword) {
  const struct {
    std::string content;
    std::string password;
  } cases[] = {
      {"", "pw"},
      {std::string(1, '\0'), ""},
      {"{\\rtf1\\ansi caf\\'e9}", std::string("p\0w\xff", 4)},
  };
  for (const auto& c : cases) {
    const std::string file = quickSeal(c.content, c.password);
    EXPECT_EQ(file.size(), kHeader + c.content.size() + kTag);
    EXPECT_EQ(outcome(file, c.password), "opened: " + c.content) << c.content;
  }
}

TEST(SealedCard, WrongPasswordsNeverOpen) {
  const std::string file = quickSeal("secret", "pw");
  for (const std::string& password : {std::string(), std::string("PW"), std::string("pw\0", 3)}) {
    EXPECT_EQ(outcome(file, password), "wrong password") << password;
  }
}

TEST(SealedCard, TwoSealsOfTheSameTextDiffer) {
  const std::string a = quickSeal("same text", "pw");
  const std::string b = quickSeal("same text", "pw");
  EXPECT_EQ(a.substr(0, kSalt), b.substr(0, kSalt));  // magic, version, limits
  EXPECT_NE(a.substr(kSalt, 16), b.substr(kSalt, 16));
  EXPECT_NE(a.substr(kNonce, 24), b.substr(kNonce, 24));
  EXPECT_NE(a.substr(kHeader), b.substr(kHeader));
  EXPECT_EQ(outcome(a, "pw"), "opened: same text");
  EXPECT_EQ(outcome(b, "pw"), "opened: same text");
}

// Any header byte changed, the digest of the header says so before any key is derived.
TEST(SealedCard, EveryChangedHeaderByteIsDamage) {
  const std::string file = quickSeal("header test", "pw");
  for (std::size_t at = 0; at < kHeader; ++at) {
    EXPECT_EQ(outcome(flipped(file, at), "pw"), "damaged") << "byte " << at;
    EXPECT_EQ(outcome(flipped(file, at), "wrong"), "damaged") << "byte " << at;
  }
}

TEST(SealedCard, ChangedTextOrTagIsDamage) {
  const std::string content(100, 'a');
  const std::string file = quickSeal(content, "pw");
  for (const std::size_t at : {kHeader, kHeader + 99, kHeader + 100, file.size() - 1}) {
    EXPECT_EQ(outcome(flipped(file, at), "pw"), "damaged") << "byte " << at;
  }
}

TEST(SealedCard, CutOrLengthenedFilesAreDamage) {
  const std::string file = quickSeal("some card text", "pw");
  for (const std::size_t length :
       {std::size_t{0}, std::size_t{5}, std::size_t{8}, std::size_t{9}, kSalt, kCheck, kDigest,
        kHeader - 1, kHeader, kHeader + kTag - 1, kHeader + kTag, file.size() - 1}) {
    EXPECT_EQ(outcome(file.substr(0, length), "pw"), "damaged") << "length " << length;
  }
  EXPECT_EQ(outcome(file + '\0', "pw"), "damaged");
}

// Fields a damaged or crafted file could hold, digest fixed up so only the values are judged.
TEST(SealedCard, RefusesUnknownVersionsAndAbsurdLimits) {
  const std::string file = quickSeal("limits", "pw");
  const struct {
    std::size_t at;
    std::uint64_t value;
    int width;
    const char* what;
  } cases[] = {
      {8, 0, 1, "version 0"},
      {8, 2, 1, "version 2"},
      {kOps, 0, 8, "no pass"},
      {kOps, 1000, 8, "a thousand passes"},
      {kOps, std::uint64_t{1} << 40, 8, "2^40 passes"},
      {kMem, 1024, 8, "1 KiB"},
      {kMem, std::uint64_t{1} << 40, 8, "1 TiB"},
      {kMem, ~std::uint64_t{0}, 8, "all ones"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(outcome(forged(file, c.at, c.value, c.width), "pw"), "damaged") << c.what;
  // Stronger settings than today's stay readable; a changed cost means another key.
  EXPECT_EQ(outcome(forged(file, kOps, 3, 8), "pw"), "wrong password");
}

TEST(SealedCard, KnowsItsOwnFilesByTheirMagic) {
  EXPECT_TRUE(looksSealed(quickSeal("", "pw")));
  EXPECT_TRUE(looksSealed("QWSEALED"));
  EXPECT_FALSE(looksSealed(""));
  EXPECT_FALSE(looksSealed("QWSEALE"));
  EXPECT_FALSE(looksSealed("qwsealed\x01"));
  EXPECT_FALSE(looksSealed("{\\rtf1 hello}"));
  EXPECT_FALSE(looksSealed(encodeLegacyCard("abc", md5Text("pw"))));
  EXPECT_EQ(outcome(encodeLegacyCard("abc", md5Text("pw")), "pw"), "damaged");
}

TEST(SealedCard, WipeZeroesTheWholeBuffer) {
  std::string secret(200, 's');
  secret.resize(20);  // the other 180 bytes stay in the buffer
  const char* buffer = secret.data();
  const std::size_t capacity = secret.capacity();
  wipe(secret);
  EXPECT_TRUE(secret.empty());
  ASSERT_EQ(secret.data(), buffer);  // the same allocation, still ours to read
  EXPECT_EQ(std::string_view(buffer, capacity).find_first_not_of('\0'), std::string_view::npos);
}

}  // namespace
}  // namespace qw::crypto
