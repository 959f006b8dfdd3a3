#pragma once
// Where each field of a sealed card's header sits. Only the sealing code and tests that build
// altered headers need it.

#include <sodium.h>

#include <cstddef>
#include <string_view>

#include "core/crypto/sealed_card_magic.h"

namespace qw::crypto::detail {

// Layout: magic, version, opslimit and memlimit (little-endian), salt, nonce, password check,
// a digest of all that, then the ciphertext with its tag. The whole header is the additional
// data of the cipher.
constexpr unsigned char kVersion = 1;
constexpr std::size_t kVersionAt = kMagic.size();
constexpr std::size_t kOpsAt = kVersionAt + 1;
constexpr std::size_t kMemAt = kOpsAt + 8;
constexpr std::size_t kSaltAt = kMemAt + 8;
constexpr std::size_t kNonceAt = kSaltAt + crypto_pwhash_SALTBYTES;
constexpr std::size_t kCheckAt = kNonceAt + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kCheckSize = 32;
constexpr std::size_t kDigestAt = kCheckAt + kCheckSize;
constexpr std::size_t kDigestSize = crypto_generichash_BYTES_MIN;
constexpr std::size_t kHeaderSize = kDigestAt + kDigestSize;
constexpr std::size_t kTagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr std::size_t kKeySize = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;

static_assert(crypto_pwhash_SALTBYTES == 16 && crypto_aead_xchacha20poly1305_ietf_NPUBBYTES == 24);
static_assert(kHeaderSize == 113);

// The digest stored at kDigestAt, over everything before it.
inline void headerDigest(const unsigned char* header, unsigned char* out) {
  crypto_generichash(out, kDigestSize, header, kDigestAt, nullptr, 0);
}

}  // namespace qw::crypto::detail
