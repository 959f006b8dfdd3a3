#pragma once
// The old encoded cards (".kvc"): a length byte L, the L-character MD5 text of the password,
// then the body, the card's bytes written as number tokens. The body does not depend on the
// password, so these files are only read now; protecting a card writes a sealed card instead.

#include <cstdint>
#include <string>
#include <string_view>

namespace qw::crypto {

// The token of one number from 0 to 99999: "A" plus the count of the factors 2, 3, 5 and 7
// divided out, the digit count of what is left, those factors, then what is left. 720 gives
// "H122223351"; 0 gives "B100".
std::string legacyNumberToken(std::uint32_t n);

// Four decimal digits per byte, cut into groups of five; each group becomes a number token and
// a last short group "-", its length and a token. "abc" gives "C22597H122255771-2C23311".
std::string encodeLegacyBody(std::string_view bytes);

// The inverse. Throws DamagedCard on anything the encoder cannot have written.
std::string decodeLegacyBody(std::string_view body);

// Header and body, as the old program wrote them. Tests build old files with it.
std::string encodeLegacyCard(std::string_view bytes, std::string_view digestText);

// The decoded bytes of an old card file when its stored digest equals digestText (exactly,
// case included); WrongPassword when it differs. DamagedCard for an empty or short file, a
// length byte other than 32, a stored digest that is not 32 hexadecimal characters, or a body
// that does not decode.
std::string decodeLegacyCard(std::string_view file, std::string_view digestText);

}  // namespace qw::crypto
