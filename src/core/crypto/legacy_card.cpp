#include "core/crypto/legacy_card.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "core/crypto/errors.h"

namespace qw::crypto {
namespace {

constexpr std::size_t kDigestLength = 32;
constexpr std::uint32_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000};

// Appends the token of n, 0 <= n <= 99999.
void appendToken(std::string& out, std::uint32_t n) {
  if (n == 0) {
    out += "B100";  // no factorisation of zero; the decoder reads it as 0 * 0
    return;
  }
  char factors[16];  // 2^16 < 99999 < 2^17: never more than sixteen
  int k = 0;
  for (const std::uint32_t p : {2u, 3u, 5u, 7u}) {
    while (n % p == 0) {
      n /= p;
      factors[k++] = static_cast<char>('0' + p);
    }
  }
  char digits[5];
  int m = 0;
  for (std::uint32_t r = n; r != 0; r /= 10) digits[m++] = static_cast<char>('0' + r % 10);
  out += static_cast<char>('A' + k);
  out += static_cast<char>('0' + m);
  out.append(factors, static_cast<std::size_t>(k));
  while (m > 0) out += digits[--m];
}

[[noreturn]] void damaged(const char* why, Damage kind = Damage::Altered) {
  throw DamagedCard(kind, why);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Collects the digit stream of the tokens and turns every four digits into a byte, without
// ever holding the digit string.
class ByteCollector {
 public:
  explicit ByteCollector(std::string& out) : out_(out) {}

  void digits(std::uint32_t value, int width) {
    for (int i = width - 1; i >= 0; --i) {
      code_ = code_ * 10 + value / kPowersOfTen[i] % 10;
      if (++count_ == 4) {
        if (code_ > 255) damaged("a byte code above 255");
        out_ += static_cast<char>(code_);
        code_ = 0;
        count_ = 0;
      }
    }
  }

  bool complete() const { return count_ == 0; }

 private:
  std::string& out_;
  std::uint32_t code_ = 0;
  int count_ = 0;
};

}  // namespace

std::string legacyNumberToken(std::uint32_t n) {
  if (n > 99999) throw std::invalid_argument("a number token holds at most five digits");
  std::string token;
  appendToken(token, n);
  return token;
}

std::string encodeLegacyBody(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 8);
  std::uint32_t group = 0;
  int inGroup = 0;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    for (const std::uint32_t digit : {0u, b / 100u, b / 10u % 10u, b % 10u}) {
      group = group * 10 + digit;
      if (++inGroup == 5) {
        appendToken(out, group);
        group = 0;
        inGroup = 0;
      }
    }
  }
  if (inGroup != 0) {
    out += '-';
    out += static_cast<char>('0' + inGroup);
    appendToken(out, group);
  }
  return out;
}

std::string decodeLegacyBody(std::string_view body) {
  std::string out;
  out.reserve(body.size() / 3 * 5 / 4 + 1);  // a token is at least 3 characters for 5 digits
  ByteCollector collect(out);
  const char* p = body.data();
  const char* const end = p + body.size();
  while (p != end) {
    int width = 5;
    if (*p == '-') {
      // A short group closes the body.
      if (end - p < 2 || p[1] < '1' || p[1] > '4') damaged("a bad group length");
      width = p[1] - '0';
      p += 2;
    }
    if (end - p < 3) damaged("the text ends inside a number", Damage::CutShort);
    if (*p < 'A' || *p > 'Z' || !isDigit(p[1]) || p[1] == '0') damaged("a malformed number");
    const int k = *p - 'A';
    const int m = p[1] - '0';
    p += 2;
    if (end - p < k + m) damaged("the text ends inside a number", Damage::CutShort);

    // Saturates above any five-digit value, so no digit string overflows; a zero factor stays 0.
    std::uint64_t product = 1;
    for (int i = 0; i < k; ++i, ++p) {
      if (!isDigit(*p)) damaged("a malformed number");
      product = std::min<std::uint64_t>(product * static_cast<std::uint64_t>(*p - '0'), 1000000);
    }
    std::uint64_t r = 0;
    for (int i = 0; i < m; ++i, ++p) {
      if (!isDigit(*p)) damaged("a malformed number");
      r = r * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    const std::uint64_t value = product * r;
    if (value >= kPowersOfTen[width]) damaged("a number too large for its group");
    collect.digits(static_cast<std::uint32_t>(value), width);
    if (width != 5 && p != end) damaged("text after the last group");
  }
  if (!collect.complete()) damaged("a digit count that is not a whole number of bytes");
  return out;
}

std::string encodeLegacyCard(std::string_view bytes, std::string_view digestText) {
  if (digestText.size() > 255) throw std::invalid_argument("a digest text longer than 255 bytes");
  std::string file(1, static_cast<char>(digestText.size()));
  file += digestText;
  file += encodeLegacyBody(bytes);
  return file;
}

std::string decodeLegacyCard(std::string_view file, std::string_view digestText) {
  if (file.empty()) damaged("an empty file", Damage::Empty);
  if (static_cast<unsigned char>(file[0]) != kDigestLength)
    damaged("not an encoded card", Damage::NotACard);
  if (file.size() < 1 + kDigestLength) damaged("a header cut short", Damage::CutShort);
  const std::string_view stored = file.substr(1, kDigestLength);
  // Any hexadecimal text is a digest; compared exactly, one in upper case opens with no password.
  if (stored.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
    damaged("a header that is not a digest", Damage::NotACard);
  if (stored != digestText) throw WrongPassword("the password digest differs");
  return decodeLegacyBody(file.substr(1 + kDigestLength));
}

}  // namespace qw::crypto
