// Moving a card between its two files and the editor, with the snapshot copies and the
// journal that let the next start put back a card the program was killed on.

#include "core/notebook/open_card.h"

#include <system_error>

#include "core/crypto/sealed_card.h"
#include "core/notebook/card_protection.h"
#include "core/notebook/error_text.h"
#include "core/store/atomic_file.h"
#include "core/store/card_settings.h"
#include "core/store/file_copy.h"
#include "core/store/index_line.h"
#include "core/store/journal.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"

namespace qw::notebook {
namespace fs = std::filesystem;
using i18n::Str;

namespace {

constexpr const char* kJournal = "backup.ini";
constexpr const char* kSnapshotSuffix = ".$$$";

// Snapshots and the journal are a safety net: failing to make or drop one never stops the
// command that asked for it.
void copyQuietly(const fs::path& from, const fs::path& to) {
  try {
    store::copyFileAtomically(from, to);
  } catch (const store::StoreError&) {
  }
}

void removeQuietly(const fs::path& file) {
  std::error_code ignored;
  fs::remove(file, ignored);
}

}  // namespace

OpenCard::OpenCard(store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
                   ports::Prompts& prompts, CardProtection& protection)
    : store_(store),
      strings_(strings),
      editor_(editor),
      prompts_(prompts),
      protection_(protection) {}

bool OpenCard::isProtected() const { return store::isProtectedFile(current_.contentFile); }

fs::path OpenCard::snapshotOf(const fs::path& file) {
  fs::path copy = file;
  copy += kSnapshotSuffix;
  return copy;
}

bool OpenCard::load(int card, const std::string& name) {
  // Unsaved edits of the card before are given up here, so its draft must not outlive them.
  discardDraft();
  draftFile_.clear();
  struct Loading {
    bool& flag;
    explicit Loading(bool& f) : flag(f) { flag = true; }
    ~Loading() { flag = false; }
  } loading(loading_);
  // The card before has been saved, or is given up: its snapshots are not wanted any more.
  snapshotsDue_ = false;
  current_.number = card;
  current_.name = name;
  current_.syncLink.clear();
  protection_.forget();
  try {
    switch (openFiles(card)) {
      case Opened::Yes: draftFile_ = draftFileOf(card); break;
      case Opened::LinkedFileMissing:
        prompts_.message(text(Str::sErrLinkedFileMissing));
        failLoad();
        break;
      case Opened::Locked: return false;
    }
  } catch (const store::StoreError& error) {
    // A file that vanished or turned unreadable under the program.
    prompts_.message(errorText(error, strings_));
    failLoad();
  }
  return true;
}

OpenCard::Opened OpenCard::openFiles(int card) {
  bool mayCreateContent = true;
  std::string indexLine;
  if (card == kMainCard) {
    current_.settingsFile = mainSettingsFile(store_);
    if (!fs::exists(current_.settingsFile))
      store::writeTextLines(current_.settingsFile, store::newCardSettingsLines("default.kvn", 0));
    if (!fs::exists(mainContentFile(store_)))
      store::writeTextLines(mainContentFile(store_), {text(Str::sMsgTypeTextHere)});
  } else {
    indexLine = store_.cardIndex.line(card);
    current_.settingsFile = store::cardSettingsFile(store_, indexLine);
  }

  const auto lines = store::readTextLines(current_.settingsFile);
  if (!lines) throw store::StoreError(current_.settingsFile, store::Fault::Missing);
  const store::CardSettings settings = store::cardSettingsFromLines(*lines);
  if (card == kMainCard) {
    current_.contentFile = mainContentFile(store_);
  } else if (store::hasOwnFile(indexLine)) {
    current_.contentFile = store_.dataFolder / store::utf8Path(settings.contentFile);
  } else {
    current_.contentFile = store::utf8Path(settings.contentFile);
    mayCreateContent = false;
  }
  editor_.setWordWrap(settings.wordWrap);
  current_.syncLink = settings.syncLink;

  if (!fs::exists(current_.contentFile) || settings.contentFile.empty()) {
    if (!mayCreateContent) return Opened::LinkedFileMissing;
    store::writeFileAtomically(current_.contentFile, "");
  }
  auto bytes = store::readFileBytes(current_.contentFile);
  if (!bytes) return Opened::LinkedFileMissing;
  bool legacy = false;
  if (isProtected()) {
    std::optional<std::string> content = protection_.unlock(current_.name, *bytes, legacy);
    if (!content) return Opened::Locked;
    bytes = std::move(content);
  }

  snapshotsDue_ = true;
  editor_.load(*bytes);
  crypto::wipe(*bytes);
  editor_.setBackgroundItem(settings.look.backgroundItem);
  editor_.setSelection(settings.selection);
  editor_.setAvailable(true);
  // An old encoded card counts as changed, so its next save seals it.
  editor_.setModified(legacy);
  return Opened::Yes;
}

void OpenCard::makeSnapshotsAndJournal() {
  if (!snapshotsDue_) return;
  snapshotsDue_ = false;
  // Fresh snapshots at every open: a stale copy would put old text back after a crash.
  copyQuietly(current_.settingsFile, snapshotOf(current_.settingsFile));
  copyQuietly(current_.contentFile, snapshotOf(current_.contentFile));
  try {
    store::writeTextLines(store_.dataFolder / kJournal,
                          store::journalLines({current_.name, store::utf8Of(current_.settingsFile),
                                               store::utf8Of(current_.contentFile)}));
  } catch (const store::StoreError&) {
  }
}

void OpenCard::failLoad() {
  current_.number = kFailedCard;
  editor_.setAvailable(false);
  editor_.setModified(false);
}

void OpenCard::save() {
  const int card = current_.number;
  if (savingDisabled_ || card == kFailedCard || card == kNoCard) return;

  const std::string ext = store::utf8Of(current_.contentFile.extension());
  std::string indexLine;
  fs::path settingsFile = mainSettingsFile(store_);
  if (card != kMainCard) {
    indexLine = store_.cardIndex.line(card);
    settingsFile = store::cardSettingsFile(store_, indexLine);
  }

  bool written = false;
  if (editor_.isModified()) {
    makeSnapshotsAndJournal();
    bool write = true;
    if (card != kMainCard && store::isLinked(indexLine))
      write = prompts_.question(text(Str::sMsgSaveLinkedTitle),
                                text(Str::sMsgSaveLinkedQuestion) + current_.name);
    if (isProtected())
      protection_.writeSealed(current_.contentFile);
    else if (write)
      store::writeFileAtomically(current_.contentFile, editor_.rtf());
    written = write || isProtected();
  }

  // A protected card's text never reaches a hot key.
  if (!isProtected()) {
    std::optional<std::string> plain;  // the whole card's text, only when a slot needs it
    for (int slot = 1; slot <= 9; ++slot) {
      if (store_.hotKeys[slot].card != card) continue;
      if (!plain) plain = editor_.plainText();
      store_.hotKeys[slot].text = *plain;
    }
  }

  store::CardSettings settings;
  if (card == kMainCard)
    settings.contentFile = "default.kvn";
  else if (store::isLinked(indexLine))
    settings.contentFile = store::utf8Of(current_.contentFile);
  else
    settings.contentFile = store::fileNumber(indexLine) + ext;
  settings.selection = editor_.selection();
  settings.look = editor_.look();
  settings.wordWrap = editor_.wordWrap();
  settings.syncLink = current_.syncLink;
  store::writeTextLines(settingsFile, store::cardSettingsLines(settings));

  // Saved whole: a draft of this text would only repeat the file. A save stopped half way
  // leaves the card modified, so the next one writes everything again.
  if (written) editor_.setModified(false);
  dropSnapshotsJournalAndDraft();
}

void OpenCard::dropSnapshotsJournalAndDraft() {
  snapshotsDue_ = false;
  discardDraft();
  removeQuietly(snapshotOf(current_.contentFile));
  removeQuietly(snapshotOf(current_.settingsFile));
  removeQuietly(store_.dataFolder / kJournal);
}

void OpenCard::recoverInterrupted() {
  const fs::path journal = store_.dataFolder / kJournal;
  std::optional<std::vector<std::string>> lines;
  try {
    lines = store::readTextLines(journal);
  } catch (const store::StoreError&) {
    return;
  }
  if (!lines) return;
  // A settings file may come back from its copy naming another content file.
  store_.contentPathsAtLoad.reset();
  const store::Journal open = store::journalFromLines(*lines);
  prompts_.message(text(Str::sErrLastExit) + "\n\r" + text(Str::sMsgRestoredPrefix) +
                   open.cardName + text(Str::sMsgRestoredSuffix));

  const fs::path settingsFile = store::utf8Path(open.settingsFile);
  const fs::path contentFile = store::utf8Path(open.contentFile);
  for (const fs::path& file : {settingsFile, contentFile})
    // With the copy's time, which is the file's own: a draft written after it stays newer.
    if (!file.empty() && fs::exists(snapshotOf(file)))
      store::copyFileAtomically(snapshotOf(file), file);
  if (!contentFile.empty()) removeQuietly(snapshotOf(contentFile));
  if (!settingsFile.empty()) removeQuietly(snapshotOf(settingsFile));
  removeQuietly(journal);
}

fs::path OpenCard::draftFileOf(int card) const {
  if (card == kMainCard) return draftFileIn(store_.dataFolder, kMainCardDraft);
  return draftFileIn(store_.dataFolder, store::fileNumber(store_.cardIndex.line(card)));
}

std::optional<DraftJob> OpenCard::takeDraft() {
  if (draftFile_.empty() || loading_ || savingDisabled_ || !editor_.isModified())
    return std::nullopt;
  std::string password;
  if (isProtected()) {
    // Never plain: without the password or the cipher there is no draft at all.
    if (protection_.password().empty() || !crypto::sealingAvailable()) return std::nullopt;
    password = protection_.password();
  }
  return DraftJob(drafts_, draftFile_, editor_.rtf(), std::move(password));
}

void OpenCard::discardDraft() {
  if (!draftFile_.empty()) drafts_->discard(draftFile_);
}

}  // namespace qw::notebook
