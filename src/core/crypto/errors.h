#pragma once
// What opening a protected card can go wrong with, apart from the disk.

#include <stdexcept>

namespace qw::crypto {

// The password does not open this card.
struct WrongPassword : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// What is wrong with a card file, as the user is told it.
enum class Damage {
  Empty,         // the file holds nothing
  CutShort,      // it ends too soon
  NotACard,      // it is no protected card at all
  NewerVersion,  // written by a newer program
  Altered,       // its bytes were changed
};

// The file is not a card we can read. what() says exactly why in a few English words.
struct DamagedCard : std::runtime_error {
  DamagedCard(Damage kind, const char* detail) : std::runtime_error(detail), damage(kind) {}
  Damage damage;
};

// This build has no cipher (built without libsodium): sealed cards can be neither opened nor
// written.
struct SealingUnavailable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace qw::crypto
