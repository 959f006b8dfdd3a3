#pragma once
// Protected cards: a card's text sealed under a password in a ".kvc" file. Holds the password
// of the open protected card, which opens and seals its file, and turns the open card into a
// protected one and back.

#include <filesystem>
#include <optional>
#include <string>

#include "core/i18n/strings.h"
#include "core/ports/editor.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"

namespace qw::notebook {

class OpenCard;

class CardProtection {
 public:
  CardProtection(const store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
                 ports::Prompts& prompts);

  // Asks the password of card `cardName` and opens its file's bytes (sealed or, `legacy` then
  // set, old encoded); nothing after Cancel, a wrong password or a damaged file, each told.
  // The password is kept for the card's saves.
  std::optional<std::string> unlock(const std::string& cardName, const std::string& file,
                                    bool& legacy);
  // Seals the editor's RTF under the card's password into `file`.
  void writeSealed(const std::filesystem::path& file);
  // The open protected card's password; empty when none was given.
  const std::string& password() const { return password_; }
  // At every load: the password of the card before is wiped, and a card protected just now
  // may be turned back.
  void forget();

  // Only an own-file card of the index that no hot key reaches can be protected.
  bool canProtect(const OpenCard& card) const;
  // While a protected card is open (its password was given), it can be turned back.
  bool canUnprotect(const OpenCard& card) const;
  // Asks a password (in clear), seals the editor's text into the ".kvc" file, points the
  // settings at it and deletes the ".kvn" file with its snapshot. Nothing on Cancel. Throws
  // StoreError when a file cannot be written; the ".kvn" file then stays.
  void protect(OpenCard& card);
  // Writes the editor's text back to a ".kvn" file and points the settings at it; the sealed
  // file stays where it is.
  void unprotect(OpenCard& card);

 private:
  std::string text(i18n::Str id) const { return strings_[id]; }

  const store::Store& store_;
  const i18n::StringTable& strings_;
  ports::Editor& editor_;
  ports::Prompts& prompts_;
  // The open protected card's password, wiped at the next load.
  std::string password_;
  // Set by protecting a card: both commands wait for the next card switch.
  bool changed_ = false;
};

}  // namespace qw::notebook
