#include "core/crypto/md5.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

namespace qw::crypto {
namespace {

TEST(Md5, MatchesTheTestSuiteOfTheStandard) {
  const struct {
    const char* text;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(md5Text(c.text), c.digest) << '"' << c.text << '"';
}

// Around the block size the padding needs one block or two; the digests come from md5sum.
TEST(Md5, PadsAroundTheBlockSize) {
  const struct {
    std::size_t length;
    const char* digest;
  } cases[] = {
      {55, "ef1772b6dff9a122358552954ad0df65"}, {56, "3b0c8ac703f828b04c6c197006d17218"},
      {63, "b06521f39153d618550606be297466d5"}, {64, "014842d480b571495a4a0363793f7367"},
      {65, "c743a45e0d2e6a95cb859adae0248435"},
  };
  for (const auto& c : cases) EXPECT_EQ(md5Text(std::string(c.length, 'a')), c.digest) << c.length;
}

TEST(Md5, DigestBytesAreTheTextReadAsHex) {
  const auto bytes = md5("message digest");
  std::string hex;
  for (const std::uint8_t b : bytes) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", b);
    hex += pair;
  }
  EXPECT_EQ(hex, "f96b697d7cb7938d525a2f31aaf161d0");
}

TEST(Md5, HashesEmbeddedZeroBytes) {
  EXPECT_NE(md5Text(std::string("a\0b", 3)), md5Text("a"));
  EXPECT_NE(md5Text(std::string("a\0b", 3)), md5Text(std::string("a\0c", 3)));
}

// Random bytes of every length from 0 to 1000, checked against coreutils' md5sum run once over
// a folder holding one file per length.
#ifdef _WIN32
TEST(Md5, AgreesWithMd5sumOnEveryLengthUpTo1000) {
  GTEST_SKIP() << "md5sum is a coreutils program; the vectors of the standard above still run";
}
#else
TEST(Md5, AgreesWithMd5sumOnEveryLengthUpTo1000) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/qw_md5_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path folder = pattern;

  std::mt19937 rng(1321);
  std::uniform_int_distribution<int> byte(0, 255);
  std::map<std::size_t, std::string> ours;
  for (std::size_t length = 0; length <= 1000; ++length) {
    std::string data(length, '\0');
    for (char& c : data) c = static_cast<char>(byte(rng));
    std::ofstream(folder / std::to_string(length), std::ios::binary) << data;
    ours[length] = md5Text(data);
  }

  std::map<std::size_t, std::string> theirs;
  const std::string command = "cd '" + folder.string() + "' && md5sum -- *";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[256];
  while (std::fgets(line, sizeof line, pipe)) {
    const std::string text = line;  // "<32 hex>  <name>\n"
    ASSERT_GT(text.size(), 35u) << text;
    theirs[std::stoul(text.substr(34))] = text.substr(0, 32);
  }
  EXPECT_EQ(pclose(pipe), 0);
  fs::remove_all(folder);

  ASSERT_EQ(theirs.size(), 1001u);
  for (const auto& [length, digest] : ours) {
    EXPECT_EQ(digest, theirs[length]) << "length " << length;
    EXPECT_EQ(digest.find_first_not_of("0123456789abcdef"), std::string::npos);
  }
}
#endif

}  // namespace
}  // namespace qw::crypto
