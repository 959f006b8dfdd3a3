#pragma once
// The first bytes of every sealed card; known even to a build that cannot open one.

#include <string_view>

namespace qw::crypto::detail {

constexpr std::string_view kMagic = "QWSEALED";

}  // namespace qw::crypto::detail
