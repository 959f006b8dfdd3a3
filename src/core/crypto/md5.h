#pragma once
// MD5 of RFC 1321. Only the old encoded cards need it: their header holds the MD5 text of the
// password. Nothing new is protected with it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qw::crypto {

std::array<std::uint8_t, 16> md5(std::string_view bytes);

// The digest as 32 lower-case hexadecimal characters, the form stored in old card files.
std::string md5Text(std::string_view bytes);

}  // namespace qw::crypto
