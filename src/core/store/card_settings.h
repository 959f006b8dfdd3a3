#pragma once
// A card's settings file (".kvo"): where its text is and how the editor showed it. Written with
// 23 lines; created with 15. Lines 12 and later are never read.

#include <filesystem>
#include <string>
#include <vector>

#include "core/ports/editor.h"

namespace qw::store {

struct CardSettings {
  std::string contentFile;     // line 1: "7.kvn", "default.kvn" or a linked file's full path
  ports::Selection selection;  // lines 2 and 3, stored positions
  ports::EditorLook look;      // lines 4, 6, 7, 8, 9, 10
  bool wordWrap = false;       // line 5: "0" means wrapping is on
  std::string syncLink;        // line 11: a partner file, or empty

  friend bool operator==(const CardSettings&, const CardSettings&) = default;
};

// Reads what the lines hold. A missing line or a value that is not a number leaves that
// field at its default instead of failing, so a damaged file still opens its card.
CardSettings cardSettingsFromLines(const std::vector<std::string>& lines);

// The 23 lines a save writes; line 11 is empty when the card has no link.
std::vector<std::string> cardSettingsLines(const CardSettings& settings);

// The 15 lines written when a card's settings file is created: the content file name, then
// "0", "0", "8", "1", the font list position, "1", "16" and seven "0".
std::vector<std::string> newCardSettingsLines(const std::string& contentFile, int fontItem);

// A protected card's content file (sealed, or old encoded) holds ciphertext: never read or
// written as text.
inline bool isProtectedFile(const std::filesystem::path& file) {
  return file.extension() == ".kvc";
}

// Line 11 names a partner file only when it is longer than two characters.
std::string syncLinkOf(const std::string& line11);

}  // namespace qw::store
