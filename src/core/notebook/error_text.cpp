#include "core/notebook/error_text.h"

#include <new>

#include "core/crypto/errors.h"
#include "core/store/store_error.h"
#include "core/store/utf8_path.h"

namespace qw::notebook {
namespace {

using i18n::Str;

Str reasonOf(store::Fault fault) {
  switch (fault) {
    case store::Fault::Missing: return Str::sFaultMissing;
    case store::Fault::Unreadable: return Str::sFaultUnreadable;
    case store::Fault::IsFolder: return Str::sFaultIsFolder;
    case store::Fault::Unwritable: return Str::sFaultUnwritable;
    case store::Fault::NotKeptAside: return Str::sFaultNotKeptAside;
    case store::Fault::FolderUncreatable: return Str::sFaultFolderUncreatable;
    case store::Fault::NotAFolder: return Str::sFaultNotAFolder;
    case store::Fault::FolderUnwritable: return Str::sFaultFolderUnwritable;
    case store::Fault::NoPassword: return Str::sFaultNoPassword;
    case store::Fault::NoSealing: return Str::sFaultNoSealing;
  }
  return Str::sErrUnexpected;
}

Str damageOf(crypto::Damage damage) {
  switch (damage) {
    case crypto::Damage::Empty: return Str::sDamageEmpty;
    case crypto::Damage::CutShort: return Str::sDamageCutShort;
    case crypto::Damage::NotACard: return Str::sDamageNotACard;
    case crypto::Damage::NewerVersion: return Str::sDamageNewerVersion;
    case crypto::Damage::Altered: return Str::sDamageAltered;
  }
  return Str::sDamageAltered;
}

std::string withSystemText(std::string text, const std::string& systemText) {
  if (!systemText.empty()) text += " (" + systemText + ")";
  return text;
}

// The file, then why it failed.
std::string fileAndReason(const store::StoreError& error, const i18n::StringTable& strings) {
  return store::utf8Of(error.file()) + "\n" +
         withSystemText(strings[reasonOf(error.fault())], error.systemText());
}

// Every folder tried for the data, each with its reason.
std::string foldersAndReasons(const store::NoDataFolder& error, const i18n::StringTable& strings) {
  std::string text;
  for (const store::StoreError& attempt : error.attempts())
    text += "\n" + fileAndReason(attempt, strings);
  return text;
}

std::string startFailureIn(const std::exception& error, const i18n::StringTable& strings) {
  if (dynamic_cast<const store::NoDataFolder*>(&error)) return errorText(error, strings);
  if (const auto* stored = dynamic_cast<const store::StoreError*>(&error))
    return strings[Str::sErrCannotStartData] + "\n" + fileAndReason(*stored, strings);
  return strings[Str::sErrCannotStartData] + "\n" + errorText(error, strings);
}

}  // namespace

std::string errorText(const std::exception& error, const i18n::StringTable& strings) {
  if (const auto* none = dynamic_cast<const store::NoDataFolder*>(&error))
    return strings[Str::sErrCannotStartNoFolder] + foldersAndReasons(*none, strings);
  if (const auto* stored = dynamic_cast<const store::StoreError*>(&error))
    return strings[Str::sErrFileNotAccessible] + "\n" + fileAndReason(*stored, strings);
  if (const auto* damaged = dynamic_cast<const crypto::DamagedCard*>(&error))
    return strings[Str::sErrDamagedCard] + strings[damageOf(damaged->damage)];
  if (dynamic_cast<const crypto::SealingUnavailable*>(&error))
    return strings[Str::sErrFileNotAccessible] + "\n" + strings[Str::sFaultNoSealing];
  if (dynamic_cast<const std::bad_alloc*>(&error)) return strings[Str::sErrOutOfMemory];
  // A rule of the program itself was broken: its own words are all there is to say.
  return withSystemText(strings[Str::sErrUnexpected], error.what());
}

std::string startFailureText(const std::exception& error) {
  return startFailureIn(error, i18n::StringTable::forLanguage("Français")) + "\n\n" +
         startFailureIn(error, i18n::StringTable::forLanguage("Anglais"));
}

}  // namespace qw::notebook
