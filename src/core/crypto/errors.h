#pragma once
// What opening a protected card can go wrong with, apart from the disk.

#include <stdexcept>

namespace qw::crypto {

// The password does not open this card.
struct WrongPassword : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The file is not a card we can read: cut short, altered or not ours. what() says why in a few
// English words.
struct DamagedCard : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// This build has no cipher (built without libsodium): sealed cards can be neither opened nor
// written.
struct SealingUnavailable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace qw::crypto
