// Protected cards: sealing a card's text under a password, opening it again, and reading the
// old encoded cards, which are sealed at their next save.

#include <new>
#include <system_error>

#include "core/crypto/errors.h"
#include "core/crypto/legacy_card.h"
#include "core/crypto/md5.h"
#include "core/crypto/sealed_card.h"
#include "core/notebook/error_text.h"
#include "core/notebook/notebook.h"
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

std::optional<std::string> Notebook::unlock(const std::string& file, bool& legacy) {
  std::optional<std::string> password = prompts_.password(current_.name, false);
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
    cardPassword_ = std::move(*password);
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

void Notebook::writeSealed(const fs::path& file) {
  if (cardPassword_.empty()) throw store::StoreError(file, store::Fault::NoPassword);
  // An old encoded card opened here is never written back in the old form nor in plain text.
  if (!crypto::sealingAvailable()) throw store::StoreError(file, store::Fault::NoSealing);
  std::string rtf = editor_.rtf();
  store::writeFileAtomically(file, crypto::sealCard(rtf, cardPassword_));
  crypto::wipe(rtf);
}

bool Notebook::canProtect() const {
  const int card = current_.number;
  if (!crypto::sealingAvailable()) return false;
  if (card < 0 || protectionChanged_ || isProtected()) return false;
  if (!store::hasOwnFile(store_.cardIndex.line(card))) return false;
  if (current_.contentFile.extension() != ".kvn" ||
      current_.contentFile.parent_path() != store_.dataFolder)
    return false;
  for (int slot = 1; slot <= 9; ++slot)
    if (store_.hotKeys[slot].card == card) return false;
  return true;
}

bool Notebook::canUnprotect() const {
  return current_.number >= 0 && isProtected() && !cardPassword_.empty() && !protectionChanged_;
}

void Notebook::protectCurrentCard() {
  if (!canProtect()) return;
  std::optional<std::string> password = prompts_.password(current_.name, true);
  if (!password) return;
  makeSafetyNet();  // of the files as they are now, before the card moves to another
  const fs::path plainFile = current_.contentFile;
  const bool modified = editor_.isModified();
  cardPassword_ = std::move(*password);
  // The sealed file and the settings naming it are on disk before the plain file goes.
  current_.contentFile = withExtension(plainFile, ".kvc");
  try {
    writeSealed(current_.contentFile);
    editor_.setModified(false);
    saveCard();
  } catch (...) {
    // The plain file lacks the edits: the next save must write them. The sealed file stays,
    // as the settings may name it already when only the folder's flush failed.
    current_.contentFile = plainFile;
    editor_.setModified(modified);
    crypto::wipe(cardPassword_);
    throw;
  }
  std::error_code ignored;
  fs::remove(plainFile, ignored);
  fs::remove(snapshotOf(plainFile), ignored);
  protectionChanged_ = true;
}

void Notebook::unprotectCurrentCard() {
  if (!canUnprotect()) return;
  makeSafetyNet();
  const fs::path sealedFile = current_.contentFile;
  const bool modified = editor_.isModified();
  current_.contentFile = withExtension(sealedFile, ".kvn");
  try {
    store::writeFileAtomically(current_.contentFile, editor_.rtf());
    editor_.setModified(false);
    saveCard();
  } catch (...) {
    // The settings still name the sealed file, which lacks the edits.
    current_.contentFile = sealedFile;
    editor_.setModified(modified);
    throw;
  }
  crypto::wipe(cardPassword_);
}

}  // namespace qw::notebook
