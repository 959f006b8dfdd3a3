#pragma once
// The Argon2id cost of sealing. Only tests and the benchmark choose it; the program always seals
// with sealingLimits(). Every file records the cost it was sealed with, so opening never needs it.

#include <cstdint>
#include <string>
#include <string_view>

namespace qw::crypto::detail {

struct KdfLimits {
  std::uint64_t ops;  // passes over the memory
  std::uint64_t mem;  // bytes
};

// libsodium's moderate limits.
KdfLimits sealingLimits();
// libsodium's interactive limits: four times quicker, for tests that do not care about the cost.
KdfLimits quickLimits();

// What a file may ask for: at least libsodium's minimum, and far below what would let a crafted
// file run for hours or take all the memory there is.
bool limitsAcceptable(KdfLimits limits);

std::string sealCardWithLimits(std::string_view content, std::string_view password,
                               KdfLimits limits);

}  // namespace qw::crypto::detail
