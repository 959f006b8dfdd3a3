#pragma once
// What every fuzz target needs: a property check that stops the run with a message, so the
// fuzzer keeps the input that broke it, and the input as bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace qw::fuzz {

inline void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Calls `run` and returns true when it throws E; any other exception escapes, which the
// fuzzer reports as a crash.
template <typename E, typename F>
bool throws(F&& run) {
  try {
    run();
  } catch (const E&) {
    return true;
  }
  return false;
}

}  // namespace qw::fuzz
