#include "core/crypto/sealed_card.h"

#include <sodium.h>

#include <array>
#include <cstring>
#include <new>
#include <stdexcept>

#include "core/crypto/errors.h"
#include "core/crypto/sealed_card_layout.h"
#include "core/crypto/sealed_card_limits.h"

namespace qw::crypto {
namespace {

using namespace detail;  // the layout

// Far above anything we write (moderate is 3 passes over 256 MiB), low enough that a crafted
// file cannot make opening run for hours or ask for all the memory there is.
constexpr std::uint64_t kMaxOps = 64;
constexpr std::uint64_t kMaxMem = std::uint64_t{4} << 30;

const unsigned char* bytes(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

void ensureSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium could not start");
}

void putLe64(unsigned char* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint64_t getLe64(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// The 64 derived bytes: the cipher key, then the secret half whose hash is the password check.
// Zeroed when it goes out of scope, whatever happens.
class DerivedKey {
 public:
  DerivedKey(std::string_view password, const unsigned char* salt, detail::KdfLimits limits) {
    static const char kNothing = 0;  // crypto_pwhash wants a pointer even for no password
    const char* pw = password.empty() ? &kNothing : password.data();
    if (crypto_pwhash(bytes_.data(), bytes_.size(), pw, password.size(), salt, limits.ops,
                      static_cast<std::size_t>(limits.mem), crypto_pwhash_ALG_ARGON2ID13) != 0)
      throw std::bad_alloc();
  }
  ~DerivedKey() { sodium_memzero(bytes_.data(), bytes_.size()); }
  DerivedKey(const DerivedKey&) = delete;
  DerivedKey& operator=(const DerivedKey&) = delete;

  const unsigned char* key() const { return bytes_.data(); }
  void check(unsigned char* out) const {
    crypto_generichash(out, kCheckSize, bytes_.data() + kKeySize, bytes_.size() - kKeySize, nullptr,
                       0);
  }

 private:
  std::array<unsigned char, 2 * kKeySize> bytes_{};
};

}  // namespace

namespace detail {

static_assert(kCheapestLimits.ops == crypto_pwhash_OPSLIMIT_MIN &&
              kCheapestLimits.mem == crypto_pwhash_MEMLIMIT_MIN);

namespace {
std::optional<KdfLimits> costForTests;
}  // namespace

SealingCostForTests::SealingCostForTests(KdfLimits limits) : previous_(costForTests) {
  costForTests = limits;
}

SealingCostForTests::~SealingCostForTests() { costForTests = previous_; }

bool limitsAcceptable(KdfLimits limits) {
  return limits.ops >= crypto_pwhash_OPSLIMIT_MIN && limits.ops <= kMaxOps &&
         limits.mem >= crypto_pwhash_MEMLIMIT_MIN && limits.mem <= kMaxMem;
}

KdfLimits sealingLimits() {
  return {crypto_pwhash_argon2id_OPSLIMIT_MODERATE, crypto_pwhash_argon2id_MEMLIMIT_MODERATE};
}

KdfLimits quickLimits() {
  return {crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE, crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE};
}

std::string sealCardWithLimits(std::string_view content, std::string_view password,
                               KdfLimits limits) {
  if (!limitsAcceptable(limits)) throw std::invalid_argument("limits a sealed card cannot hold");
  ensureSodium();
  std::string file(kHeaderSize + content.size() + kTagSize, '\0');
  auto* out = reinterpret_cast<unsigned char*>(file.data());
  std::memcpy(out, kMagic.data(), kMagic.size());
  out[kVersionAt] = kVersion;
  putLe64(out + kOpsAt, limits.ops);
  putLe64(out + kMemAt, limits.mem);
  randombytes_buf(out + kSaltAt, crypto_pwhash_SALTBYTES);
  randombytes_buf(out + kNonceAt, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);

  const DerivedKey derived(password, out + kSaltAt, limits);
  derived.check(out + kCheckAt);
  headerDigest(out, out + kDigestAt);
  unsigned long long written = 0;
  crypto_aead_xchacha20poly1305_ietf_encrypt(out + kHeaderSize, &written, bytes(content),
                                             content.size(), out, kHeaderSize, nullptr,
                                             out + kNonceAt, derived.key());
  return file;
}

}  // namespace detail

bool sealingAvailable() { return true; }

bool looksSealed(std::string_view file) { return file.starts_with(kMagic); }

std::string sealCard(std::string_view content, std::string_view password) {
  return detail::sealCardWithLimits(content, password,
                                    detail::costForTests.value_or(detail::sealingLimits()));
}

std::string openSealedCard(std::string_view file, std::string_view password) {
  if (!looksSealed(file)) throw DamagedCard(Damage::NotACard, "not a sealed card");
  if (file.size() < kHeaderSize + kTagSize)
    throw DamagedCard(Damage::CutShort, "a sealed card cut short");
  const unsigned char* in = bytes(file);
  if (in[kVersionAt] != kVersion)
    throw DamagedCard(Damage::NewerVersion, "an unknown sealed card version");

  // Caught here, a damaged header is not taken for a wrong password.
  unsigned char digest[kDigestSize];
  headerDigest(in, digest);
  if (sodium_memcmp(digest, in + kDigestAt, kDigestSize) != 0)
    throw DamagedCard(Damage::Altered, "a damaged sealed card header");
  const KdfLimits limits{getLe64(in + kOpsAt), getLe64(in + kMemAt)};
  if (!limitsAcceptable(limits))
    throw DamagedCard(Damage::Altered, "a sealed card with absurd key limits");

  ensureSodium();
  const DerivedKey derived(password, in + kSaltAt, limits);
  unsigned char check[kCheckSize];
  derived.check(check);
  const bool fits = crypto_verify_32(check, in + kCheckAt) == 0;
  sodium_memzero(check, sizeof check);
  if (!fits) throw WrongPassword("the password does not open this card");

  std::string content(file.size() - kHeaderSize - kTagSize, '\0');
  unsigned long long length = 0;
  if (crypto_aead_xchacha20poly1305_ietf_decrypt(
          reinterpret_cast<unsigned char*>(content.data()), &length, nullptr, in + kHeaderSize,
          file.size() - kHeaderSize, in, kHeaderSize, in + kNonceAt, derived.key()) != 0) {
    wipe(content);
    throw DamagedCard(Damage::Altered, "the sealed text was altered");
  }
  return content;
}

void wipe(std::string& secret) {
  secret.resize(secret.capacity());
  sodium_memzero(secret.data(), secret.size());
  secret.clear();
}

}  // namespace qw::crypto
