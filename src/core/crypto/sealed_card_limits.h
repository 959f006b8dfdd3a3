#pragma once
// The Argon2id cost of sealing. Only tests and the benchmark choose it; the program always seals
// with sealingLimits(). Every file records the cost it was sealed with, so opening never needs it.

#include <cstdint>
#include <optional>
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
// libsodium's minimum (one pass over 8 KiB): no protection at all, for tests and fuzzing only.
inline constexpr KdfLimits kCheapestLimits{1, 8192};

// A test seam: while one lives, sealCard seals at `limits` instead of sealingLimits(). For the
// tests that seal through the notebook and are not about the cost; one at a time, on one thread.
class SealingCostForTests {
 public:
  explicit SealingCostForTests(KdfLimits limits);
  ~SealingCostForTests();
  SealingCostForTests(const SealingCostForTests&) = delete;
  SealingCostForTests& operator=(const SealingCostForTests&) = delete;

 private:
  std::optional<KdfLimits> previous_;
};

// What a file may ask for: at least libsodium's minimum, and far below what would let a crafted
// file run for hours or take all the memory there is.
bool limitsAcceptable(KdfLimits limits);

std::string sealCardWithLimits(std::string_view content, std::string_view password,
                               KdfLimits limits);

}  // namespace qw::crypto::detail
