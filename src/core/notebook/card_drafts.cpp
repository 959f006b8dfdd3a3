// The draft files and their writers: a draft overtaken, or removed by a save, is never
// written. The open card takes its drafts; the notebook offers them at the next start.

#include "core/notebook/card_drafts.h"

#include <new>
#include <system_error>
#include <utility>

#include "core/crypto/sealed_card.h"
#include "core/store/atomic_file.h"
#include "core/store/store_error.h"
#include "core/store/utf8_path.h"

namespace qw::notebook {
namespace fs = std::filesystem;

namespace {

constexpr const char* kDraftExtension = ".draft";

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

}  // namespace qw::notebook
