#include "core/crypto/legacy_card.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/crypto/errors.h"
#include "core/crypto/md5.h"

namespace qw::crypto {
namespace {

std::string randomBytes(std::mt19937& rng, std::size_t length) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string s(length, '\0');
  for (char& c : s) c = static_cast<char>(byte(rng));
  return s;
}

TEST(LegacyCard, NumberTokens) {
  const struct {
    std::uint32_t n;
    const char* token;
  } cases[] = {
      {0, "B100"},
      {1, "A11"},
      {101, "A3101"},
      {720, "H122223351"},
      {99991, "A599991"},
      {97, "A297"},
      {65536, "Q122222222222222221"},  // sixteen factors, the most a five-digit number has
      {99999, "C53311111"},
      {2 * 3 * 5 * 7 * 11, "E2235711"},
  };
  for (const auto& c : cases) EXPECT_EQ(legacyNumberToken(c.n), c.token) << c.n;
  EXPECT_THROW(legacyNumberToken(100000), std::invalid_argument);
}

TEST(LegacyCard, EncodesBodies) {
  const struct {
    std::string bytes;
    const char* body;
  } cases[] = {
      {"", ""},
      {"abc", "C22597H122255771-2C23311"},
      {" ", "-4F1222221"},                         // what an empty card is saved as
      {std::string(1, '\0'), "-4B100"},            // a short group of zeros
      {std::string(5, '\0'), "B100B100B100B100"},  // four groups 00000
  };
  for (const auto& c : cases) {
    EXPECT_EQ(encodeLegacyBody(c.bytes), c.body) << '"' << c.bytes << '"';
    EXPECT_EQ(decodeLegacyBody(c.body), c.bytes) << c.body;
  }
}

TEST(LegacyCard, RoundTripsEveryByteValue) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(decodeLegacyBody(encodeLegacyBody(one)), one) << b;
    all += one;
  }
  EXPECT_EQ(decodeLegacyBody(encodeLegacyBody(all)), all);
}

// Every length modulo 5 leaves a different tail: none, or four, three, two or one digits.
TEST(LegacyCard, RoundTripsRandomTextsWithEveryTail) {
  std::mt19937 rng(5);
  for (std::size_t length = 0; length <= 300; ++length) {
    const std::string bytes = randomBytes(rng, length);
    const std::string body = encodeLegacyBody(bytes);
    const std::size_t tail = length * 4 % 5;
    if (tail == 0) {
      EXPECT_EQ(body.find('-'), std::string::npos) << length;
    } else {
      const std::size_t dash = body.rfind('-');
      ASSERT_NE(dash, std::string::npos) << length;
      EXPECT_EQ(body[dash + 1], static_cast<char>('0' + tail)) << length;
    }
    EXPECT_EQ(body.find_first_not_of("ABCDEFGHIJKLMNOPQ0123456789-"), std::string::npos);
    EXPECT_EQ(decodeLegacyBody(body), bytes) << length;
  }
}

TEST(LegacyCard, RefusesMalformedBodies) {
  for (const char* body : {
           "B10",                           // no digits for the rest
           "A0",                            // too short for a token
           "A01",                           // a rest of no digits
           "C22597H12225577",               // cut inside a token
           "C22597H122255771",              // ten digits: not whole bytes
           "C22597H122255771-",             // a dash alone
           "C22597H122255771-2",            // a group length and no token
           "C22597H122255771-0A11",         // a group of no digits
           "C22597H122255771-5A11",         // a short group of five
           "C22597H122255771-2C2331",       // last token cut
           "C22597H122255771-2C23311A",     // text after the last group
           "C22597H122255771-2C23311A11",   // a token after the last group
           "C22597h122255771-2C23311",      // a lower-case letter
           "C22597@122255771-2C23311",      // not a letter
           "C22x97H122255771-2C23311",      // a factor that is not a digit
           "C2259xH122255771-2C23311",      // a rest that is not a digit
           "A6100000B100B100B100",          // a group of six digits
           "A599999A599999A599999A599999",  // 9999 is no byte
           "B100B100B100-2A3100",           // three digits in a group of two
           "Q99999999999999999999999999",   // a product far too large
           "Z9999999999999999999999999999999999",
           "B100B100B100B100xy",  // junk too short to be a token
           "B100B100B100B100\n",
       }) {
    EXPECT_THROW(decodeLegacyBody(body), DamagedCard) << body;
  }
}

// Tokens the encoder would write otherwise still give their value: unfactored rests, factors
// that are not primes, a zero factor.
TEST(LegacyCard, ReadsTokensByTheirValue) {
  EXPECT_EQ(decodeLegacyBody("A3970B424900-2B2911"), "abc");
  EXPECT_EQ(decodeLegacyBody("B101B101C20199B100"), std::string(5, '\0'));
}

TEST(LegacyCard, OpensAFileWithItsDigest) {
  const std::string digest = md5Text("secret");
  const std::string file = encodeLegacyCard("Shopping\r\nbread", digest);
  ASSERT_EQ(file[0], '\x20');
  EXPECT_EQ(file.substr(1, 32), digest);
  EXPECT_EQ(decodeLegacyCard(file, digest), "Shopping\r\nbread");

  EXPECT_THROW(decodeLegacyCard(file, md5Text("Secret")), WrongPassword);
  EXPECT_THROW(decodeLegacyCard(file, ""), WrongPassword);
  std::string upper = digest;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_THROW(decodeLegacyCard(file, upper), WrongPassword);  // compared exactly
  // A stored digest in upper case is a digest all the same, and no typed password matches it.
  EXPECT_THROW(decodeLegacyCard(encodeLegacyCard("Shopping", upper), digest), WrongPassword);
}

TEST(LegacyCard, RefusesMalformedFiles) {
  const std::string digest = md5Text("pw");
  const std::string good = encodeLegacyCard("abc", digest);
  std::string notHex = good;
  notHex[1] = 'g';
  std::string badBody = good;
  badBody[33] = 'c';
  const struct {
    std::string file;
    const char* what;
  } cases[] = {
      {"", "empty"},
      {good.substr(0, 1), "length byte only"},
      {good.substr(0, 20), "short header"},
      {good.substr(0, 32), "digest one short"},
      {std::string(1, '\x1f') + good.substr(1), "length byte 31"},
      {std::string(1, '\x21') + good.substr(1), "length byte 33"},
      {"{\\rtf1 plain}", "a plain card"},
      {notHex, "digest not hex"},
      {badBody, "bad letter in the body"},
      {good.substr(0, good.size() - 1), "body cut"},
      {good.substr(0, 40), "body cut in the middle"},
  };
  for (const auto& c : cases) EXPECT_THROW(decodeLegacyCard(c.file, digest), DamagedCard) << c.what;
}

TEST(LegacyCard, HeaderWithNoBodyIsAnEmptyCard) {
  const std::string digest = md5Text("pw");
  EXPECT_EQ(decodeLegacyCard(encodeLegacyCard("", digest), digest), "");
}

// Cut anywhere, a file either opens to the start of its text or is reported damaged.
TEST(LegacyCard, EveryCutIsDamagedOrAPrefix) {
  std::mt19937 rng(32);
  const std::string text = randomBytes(rng, 60);
  const std::string digest = md5Text("pw");
  const std::string file = encodeLegacyCard(text, digest);
  int opened = 0;
  for (std::size_t cut = 0; cut < file.size(); ++cut) {
    try {
      const std::string got = decodeLegacyCard(file.substr(0, cut), digest);
      EXPECT_EQ(text.substr(0, got.size()), got) << cut;
      ++opened;
    } catch (const DamagedCard&) {
    }
  }
  // 240 digits in 48 tokens: only the cuts after every fourth token end on a whole byte.
  EXPECT_EQ(opened, 12);
}

}  // namespace
}  // namespace qw::crypto
