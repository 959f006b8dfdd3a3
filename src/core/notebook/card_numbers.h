#pragma once
// Card numbers beside the 0-based index positions, and the files of the main card, which no
// index line names.

#include <filesystem>

#include "core/store/store.h"

namespace qw::notebook {

constexpr int kMainCard = -2;
constexpr int kFailedCard = -3;  // the editor shows nothing: the last load failed
constexpr int kNoCard = -1;

// The main card's name in the card list and in what the command line prints.
constexpr const char* kMainCardListedName = "quillWick";

inline std::filesystem::path mainContentFile(const store::Store& store) {
  return store.dataFolder / "default.kvn";
}
inline std::filesystem::path mainSettingsFile(const store::Store& store) {
  return store.dataFolder / "default.kvo";
}

}  // namespace qw::notebook
