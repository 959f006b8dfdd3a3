#include "core/crypto/md5.h"

#include <cstring>

namespace qw::crypto {
namespace {

// floor(2^32 * |sin(i)|) for i = 1..64.
constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// Left rotations, four per round, repeated for the four steps of each group.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

constexpr std::uint32_t rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

std::uint32_t loadLe(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

struct State {
  std::uint32_t a = 0x67452301, b = 0xefcdab89, c = 0x98badcfe, d = 0x10325476;

  void block(const unsigned char* p) {
    std::uint32_t x[16];
    for (std::size_t i = 0; i < 16; ++i) x[i] = loadLe(p + 4 * i);
    std::uint32_t aa = a, bb = b, cc = c, dd = d;
    for (int i = 0; i < 64; ++i) {
      const int round = i / 16;
      std::uint32_t f;
      int word;
      switch (round) {
        case 0:
          f = (bb & cc) | (~bb & dd);
          word = i;
          break;
        case 1:
          f = (bb & dd) | (cc & ~dd);
          word = (5 * i + 1) % 16;
          break;
        case 2:
          f = bb ^ cc ^ dd;
          word = (3 * i + 5) % 16;
          break;
        default:
          f = cc ^ (bb | ~dd);
          word = (7 * i) % 16;
          break;
      }
      // Each step updates one word and the four words turn one place: a <- d <- c <- b.
      const std::uint32_t next = bb + rotl(aa + f + kSine[i] + x[word], kShift[round][i % 4]);
      aa = dd;
      dd = cc;
      cc = bb;
      bb = next;
    }
    a += aa;
    b += bb;
    c += cc;
    d += dd;
  }
};

}  // namespace

std::array<std::uint8_t, 16> md5(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  State s;
  std::size_t whole = n - n % 64;
  for (std::size_t i = 0; i < whole; i += 64) s.block(p + i);

  // The rest, 0x80, zeros up to 56 modulo 64, then the length in bits: one block or two.
  unsigned char tail[128] = {};
  const std::size_t rest = n - whole;
  if (rest != 0) std::memcpy(tail, p + whole, rest);
  tail[rest] = 0x80;
  const std::size_t tailSize = rest < 56 ? 64 : 128;
  const std::uint64_t bits = static_cast<std::uint64_t>(n) * 8;
  for (int i = 0; i < 8; ++i) tail[tailSize - 8 + i] = static_cast<unsigned char>(bits >> (8 * i));
  s.block(tail);
  if (tailSize == 128) s.block(tail + 64);

  std::array<std::uint8_t, 16> out{};
  const std::uint32_t words[4] = {s.a, s.b, s.c, s.d};
  for (int w = 0; w < 4; ++w)
    for (int i = 0; i < 4; ++i) out[4 * w + i] = static_cast<std::uint8_t>(words[w] >> (8 * i));
  return out;
}

std::string md5Text(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(32);
  for (const std::uint8_t b : md5(bytes)) {
    text += kHex[b >> 4];
    text += kHex[b & 0xf];
  }
  return text;
}

}  // namespace qw::crypto
