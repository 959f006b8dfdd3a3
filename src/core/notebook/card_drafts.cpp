// Drafts of the open card: taken while it has unsaved edits, dropped by its save, offered at
// the next start when they outlived the card's files.

#include "core/notebook/card_drafts.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/crypto/sealed_card.h"
#include "core/notebook/notebook.h"
#include "core/store/atomic_file.h"
#include "core/store/file_copy.h"
#include "core/store/index_line.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"
#include "core/text/rtf_reader.h"

namespace qw::notebook {
namespace fs = std::filesystem;
using i18n::Str;

namespace {

constexpr const char* kDraftExtension = ".draft";
constexpr const char* kMainCardFiles = "default";

// Whether `draft` was written after every existing file in `files`: a save after the draft
// (whose removal of it then failed) makes it stale. An unreadable time counts as stale.
bool newerThan(const fs::path& draft, const std::vector<fs::path>& files) {
  const std::optional<fs::file_time_type> written = store::modificationTime(draft);
  if (!written) return false;
  for (const fs::path& file : files) {
    const std::optional<fs::file_time_type> time = store::modificationTime(file);
    if (time && *time >= *written) return false;
  }
  return true;
}

}  // namespace

fs::path draftFileIn(const fs::path& dataFolder, std::string_view fileNumber) {
  return dataFolder / store::utf8Path(std::string(fileNumber) + kDraftExtension);
}

bool isDraftFile(const fs::path& file) { return file.extension() == kDraftExtension; }

std::uint64_t DraftSequence::next() {
  const std::lock_guard lock(mutex_);
  return ++latest_;
}

bool DraftSequence::write(std::uint64_t ticket, const fs::path& file, std::string_view bytes) {
  const std::lock_guard lock(mutex_);
  if (ticket != latest_) return false;
  store::writeFileAtomically(file, bytes);
  return true;
}

void DraftSequence::discard(const fs::path& file) {
  const std::lock_guard lock(mutex_);
  ++latest_;
  std::error_code ignored;
  fs::remove(file, ignored);
}

DraftJob::DraftJob(std::shared_ptr<DraftSequence> sequence, fs::path file, std::string content,
                   std::string password)
    : sequence_(std::move(sequence)),
      ticket_(sequence_->next()),
      file_(std::move(file)),
      content_(std::move(content)),
      password_(std::move(password)) {}

DraftJob::~DraftJob() {
  crypto::wipe(content_);
  crypto::wipe(password_);
}

bool DraftJob::run() {
  try {
    if (password_.empty()) return sequence_->write(ticket_, file_, content_);
    const std::string sealed = crypto::sealCard(content_, password_);
    return sequence_->write(ticket_, file_, sealed);
  } catch (const store::StoreError&) {
  } catch (const std::bad_alloc&) {
  }
  return false;
}

fs::path Notebook::draftFileOf(int card) const {
  if (card == kMainCard) return draftFileIn(store_.dataFolder, kMainCardFiles);
  return draftFileIn(store_.dataFolder, store::fileNumber(store_.cardIndex.line(card)));
}

std::optional<DraftJob> Notebook::takeDraft() {
  if (draftFile_.empty() || loading_ || savingDisabled_ || !editor_.isModified())
    return std::nullopt;
  std::string password;
  if (isProtected()) {
    // Never plain: without the password or the cipher there is no draft at all.
    if (cardPassword_.empty() || !crypto::sealingAvailable()) return std::nullopt;
    password = cardPassword_;
  }
  return DraftJob(drafts_, draftFile_, editor_.rtf(), std::move(password));
}

void Notebook::discardDraft() {
  if (!draftFile_.empty()) drafts_->discard(draftFile_);
}

bool Notebook::restoreDrafts() {
  // The load walked the folder already; no draft of this run exists before this.
  std::optional<std::vector<fs::path>> files = std::exchange(store_.filesAtLoad, std::nullopt);
  if (!files) {
    files.emplace();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(store_.dataFolder, error))
      files->push_back(entry.path());
  }
  std::vector<fs::path> found;
  for (fs::path& file : *files)
    if (isDraftFile(file)) found.push_back(std::move(file));
  std::sort(found.begin(), found.end());

  bool opened = false;
  for (const fs::path& draft : found) {
    // The card the draft is named for, by file number: card numbers move, file numbers don't.
    const std::string number = store::utf8Of(draft.stem());
    std::optional<int> card;
    if (number == kMainCardFiles) card = kMainCard;
    for (int c = 0; !card && c < store_.cardIndex.count(); ++c)
      if (store::fileNumber(store_.cardIndex.line(c)) == number) card = c;
    if (!card || !offerDraft(*card, draft)) {
      std::error_code ignored;
      fs::remove(draft, ignored);
    }
    opened = opened || (card && current_.number == *card);
  }
  return opened;
}

bool Notebook::offerDraft(int card, const fs::path& draft) {
  fs::path settingsFile = mainSettingsFile(store_);
  fs::path contentFile = mainContentFile(store_);
  std::string name = text(Str::sMainCardName);
  if (card != kMainCard) {
    settingsFile = store::cardSettingsFile(store_, store_.cardIndex.line(card));
    contentFile = store::readContentPath(store_, card);
    name = store::displayName(store_.cardIndex.line(card));
  }
  if (!newerThan(draft, {settingsFile, contentFile})) return false;

  std::optional<std::string> bytes;
  try {
    bytes = store::readFileBytes(draft);
  } catch (const store::StoreError&) {
  }
  // A protected card's draft is sealed, any other one is the editor's RTF.
  const bool sealed = store::isProtectedFile(contentFile);
  if (!bytes || (sealed ? !crypto::looksSealed(*bytes) : !text::looksLikeRtf(*bytes))) return false;

  if (!prompts_.question(
          text(Str::sMsgRestoreDraftTitle),
          text(Str::sMsgRestoreDraftPrefix) + name + text(Str::sMsgRestoreDraftSuffix)))
    return false;

  int position = strip_.positionOf(card);
  // Hidden by the category filter: shown until the strip is next rebuilt, as a new card is.
  if (position < 0) position = strip_.append({card, name, contentFile});
  switchToPosition(position);
  // Its password was not given: the draft waits for the next start.
  if (current_.number != card) return true;

  if (sealed) {
    try {
      std::string content = crypto::openSealedCard(*bytes, cardPassword_);
      editor_.load(content);
      crypto::wipe(content);
    } catch (const std::exception&) {
      // Another password, a damaged file or no memory for the derivation: the card stays as
      // it was saved.
      prompts_.message(text(Str::sErrDraftUnreadable) + name);
      return false;
    }
  } else {
    editor_.load(*bytes);
  }
  editor_.setModified(true);
  return true;
}

}  // namespace qw::notebook
