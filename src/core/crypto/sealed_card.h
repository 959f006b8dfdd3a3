#pragma once
// Sealed cards: how this program protects a card. The whole card, formatting included, is
// encrypted with XChaCha20-Poly1305 under a key that Argon2id derives from the password and a
// random salt. The file tells a wrong password from a damaged file; the password is never
// stored.

#include <string>
#include <string_view>

namespace qw::crypto {

// By its magic bytes. An old encoded card starts with 0x20 and never matches.
bool looksSealed(std::string_view file);

// False in a build without libsodium, where sealCard and openSealedCard throw
// SealingUnavailable; looksSealed and wipe work in every build.
bool sealingAvailable();

// A fresh salt and nonce every time, so sealing the same text twice gives two different files.
// Throws std::bad_alloc when the key derivation cannot get its memory.
std::string sealCard(std::string_view content, std::string_view password);

// The content sealed in file. WrongPassword when the password does not fit; DamagedCard when the
// file is cut short, altered or not a sealed card.
std::string openSealedCard(std::string_view file, std::string_view password);

// Zeroes the bytes, spare capacity included, and empties the text. For passwords and opened
// cards once they are no longer needed.
void wipe(std::string& secret);

}  // namespace qw::crypto
