// Protected cards: sealing a card's text under a password, opening it again, and reading the
// old encoded cards, which are sealed at their next save.

#include "core/notebook/card_protection.h"

#include <new>
#include <system_error>

#include "core/crypto/errors.h"
#include "core/crypto/legacy_card.h"
#include "core/crypto/md5.h"
#include "core/crypto/sealed_card.h"
#include "core/notebook/error_text.h"
#include "core/notebook/open_card.h"
#include "core/store/atomic_file.h"
#include "core/store/index_line.h"
#include "core/store/store_error.h"
#include "core/text/code_page.h"

namespace qw::notebook {
namespace fs = std::filesystem;
using i18n::Str;

namespace {

fs::path withExtension(fs::path file, const char* extension) {
  file.replace_extension(extension);
  return file;
}

}  // namespace

CardProtection::CardProtection(const store::Store& store, const i18n::StringTable& strings,
                               ports::Editor& editor, ports::Prompts& prompts)
    : store_(store), strings_(strings), editor_(editor), prompts_(prompts) {}

void CardProtection::forget() {
  crypto::wipe(password_);
  changed_ = false;
}

std::optional<std::string> CardProtection::unlock(const std::string& cardName,
                                                  const std::string& file, bool& legacy) {
  std::optional<std::string> password = prompts_.password(cardName, false);
  if (!password) return std::nullopt;
  try {
    legacy = !crypto::looksSealed(file);
    std::string content;
    if (legacy) {
      // The old program digested the password one byte per character.
      const std::string bytes = text::encodeWindows1252(*password).value_or(*password);
      content = crypto::decodeLegacyCard(file, crypto::md5Text(bytes));
    } else {
      content = crypto::openSealedCard(file, *password);
    }
    password_ = std::move(*password);
    return content;
  } catch (const crypto::WrongPassword&) {
    prompts_.message(text(Str::sErrWrongPassword));
  } catch (const crypto::DamagedCard& damage) {
    prompts_.message(errorText(damage, strings_));
  } catch (const std::bad_alloc& shortage) {
    // The key derivation needs 256 MiB; without it the card stays closed, and nothing is lost.
    prompts_.message(errorText(shortage, strings_));
  } catch (const crypto::SealingUnavailable& missing) {
    prompts_.message(errorText(missing, strings_));
  }
  crypto::wipe(*password);
  return std::nullopt;
}

void CardProtection::writeSealed(const fs::path& file) {
  if (password_.empty()) throw store::StoreError(file, store::Fault::NoPassword);
  // An old encoded card opened here is never written back in the old form nor in plain text.
  if (!crypto::sealingAvailable()) throw store::StoreError(file, store::Fault::NoSealing);
  std::string rtf = editor_.rtf();
  store::writeFileAtomically(file, crypto::sealCard(rtf, password_));
  crypto::wipe(rtf);
}

bool CardProtection::canProtect(const OpenCard& card) const {
  const CurrentCard& current = card.current();
  if (!crypto::sealingAvailable()) return false;
  if (current.number < 0 || changed_ || card.isProtected()) return false;
  if (!store::hasOwnFile(store_.cardIndex.line(current.number))) return false;
  if (current.contentFile.extension() != ".kvn" ||
      current.contentFile.parent_path() != store_.dataFolder)
    return false;
  for (int slot = 1; slot <= 9; ++slot)
    if (store_.hotKeys[slot].card == current.number) return false;
  return true;
}

bool CardProtection::canUnprotect(const OpenCard& card) const {
  return card.current().number >= 0 && card.isProtected() && !password_.empty() && !changed_;
}

void CardProtection::protect(OpenCard& card) {
  if (!canProtect(card)) return;
  std::optional<std::string> password = prompts_.password(card.current().name, true);
  if (!password) return;
  card.makeSnapshotsAndJournal();  // of the files as they are now, before the card moves on
  const fs::path plainFile = card.current().contentFile;
  const bool modified = editor_.isModified();
  password_ = std::move(*password);
  // The sealed file and the settings naming it are on disk before the plain file goes.
  card.setContentFile(withExtension(plainFile, ".kvc"));
  try {
    writeSealed(card.current().contentFile);
    editor_.setModified(false);
    card.save();
  } catch (...) {
    // The plain file lacks the edits: the next save must write them. The sealed file stays,
    // as the settings may name it already when only the folder's flush failed.
    card.setContentFile(plainFile);
    editor_.setModified(modified);
    crypto::wipe(password_);
    throw;
  }
  std::error_code ignored;
  fs::remove(plainFile, ignored);
  fs::remove(OpenCard::snapshotOf(plainFile), ignored);
  changed_ = true;
}

void CardProtection::unprotect(OpenCard& card) {
  if (!canUnprotect(card)) return;
  card.makeSnapshotsAndJournal();
  const fs::path sealedFile = card.current().contentFile;
  const bool modified = editor_.isModified();
  card.setContentFile(withExtension(sealedFile, ".kvn"));
  try {
    store::writeFileAtomically(card.current().contentFile, editor_.rtf());
    editor_.setModified(false);
    card.save();
  } catch (...) {
    // The settings still name the sealed file, which lacks the edits.
    card.setContentFile(sealedFile);
    editor_.setModified(modified);
    throw;
  }
  crypto::wipe(password_);
}

}  // namespace qw::notebook
