// Protected cards: sealing and opening a 1 MB card beside the bare Argon2id derivation they
// contain (all the rest should cost under a tenth of it), and reading a 6 MB old encoded card.
#include <benchmark/benchmark.h>
#include <sodium.h>

#include <random>
#include <stdexcept>
#include <string>

#include "core/crypto/legacy_card.h"
#include "core/crypto/sealed_card.h"
#include "core/crypto/sealed_card_limits.h"

namespace {

using namespace qw::crypto;

constexpr std::size_t kCardBytes = 1 << 20;
constexpr std::size_t kEncodedBytes = 6 << 20;
constexpr const char* kPassword = "correct horse battery staple";

const std::string& card() {
  static const std::string bytes = [] {
    std::mt19937 rng(3);
    std::string s(kCardBytes, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xff);
    return s;
  }();
  return bytes;
}

// The cheapest derivation libsodium allows, so what is timed is everything else.
constexpr detail::KdfLimits kBareLimits = detail::kCheapestLimits;

void Argon2idDerivation(benchmark::State& state) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
  const detail::KdfLimits limits = detail::sealingLimits();
  unsigned char salt[crypto_pwhash_SALTBYTES] = {1};
  unsigned char out[64];
  for (auto _ : state) {
    if (crypto_pwhash(out, sizeof out, kPassword, std::char_traits<char>::length(kPassword), salt,
                      limits.ops, limits.mem, crypto_pwhash_ALG_ARGON2ID13) != 0)
      state.SkipWithError("out of memory");
    benchmark::DoNotOptimize(out);
  }
  state.SetLabel("moderate: " + std::to_string(limits.ops) + " passes, " +
                 std::to_string(limits.mem >> 20) + " MiB");
}

void SealCard(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(sealCard(card(), kPassword));
  state.SetBytesProcessed(state.iterations() * kCardBytes);
}

void OpenSealedCard(benchmark::State& state) {
  const std::string file = sealCard(card(), kPassword);
  for (auto _ : state) benchmark::DoNotOptimize(openSealedCard(file, kPassword));
  state.SetBytesProcessed(state.iterations() * kCardBytes);
}

void SealCardWithoutDerivation(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(detail::sealCardWithLimits(card(), kPassword, kBareLimits));
  state.SetBytesProcessed(state.iterations() * kCardBytes);
}

void OpenSealedCardWithoutDerivation(benchmark::State& state) {
  const std::string file = detail::sealCardWithLimits(card(), kPassword, kBareLimits);
  for (auto _ : state) benchmark::DoNotOptimize(openSealedCard(file, kPassword));
  state.SetBytesProcessed(state.iterations() * kCardBytes);
}

// Card text of the usual kind (RTF source, mostly ASCII with some accents) until the encoded
// body reaches 6 MB.
const std::string& legacyBody() {
  static const std::string body = [] {
    static const char* const kWords[] = {"{\\rtf1\\ansi ", "note ",      "caf\xe9 ",
                                         "\\par\r\n",      "Tuesday ",   "12:30 ",
                                         "\\b bold\\b0 ",  "d\xe9j\xe0 "};
    std::mt19937 rng(11);
    std::string text;
    std::string encoded;
    while (encoded.size() < kEncodedBytes) {
      // About six encoded bytes per byte; a few rounds close the gap.
      const std::size_t wanted = text.size() + (kEncodedBytes - encoded.size()) / 6 + 16;
      while (text.size() < wanted) text += kWords[rng() % std::size(kWords)];
      encoded = encodeLegacyBody(text);
    }
    return encoded;
  }();
  return body;
}

void DecodeLegacyBody(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(decodeLegacyBody(legacyBody()));
  state.SetBytesProcessed(state.iterations() * legacyBody().size());
  state.SetLabel(std::to_string(legacyBody().size() >> 10) + " KiB encoded");
}

void EncodeLegacyBody(benchmark::State& state) {
  const std::string text = decodeLegacyBody(legacyBody());
  for (auto _ : state) benchmark::DoNotOptimize(encodeLegacyBody(text));
  state.SetBytesProcessed(state.iterations() * legacyBody().size());
}

BENCHMARK(Argon2idDerivation)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(SealCard)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(OpenSealedCard)->Unit(benchmark::kMillisecond)->Iterations(4);
BENCHMARK(SealCardWithoutDerivation)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenSealedCardWithoutDerivation)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeLegacyBody)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeLegacyBody)->Unit(benchmark::kMillisecond);

}  // namespace
