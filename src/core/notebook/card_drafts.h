#pragma once
// Drafts: the open card's unsaved text, written beside the journal a few seconds after typing
// stops, so a crash or a power cut costs seconds of typing instead of the whole session. A save
// of the card removes its draft; the next start offers a draft that outlived its card's files.
//
// The write runs on a worker so that typing never waits on the disk (nor on the key derivation
// that seals a protected card's draft). The sequence keeps the workers in step with the UI
// thread: a draft overtaken by a newer one, or by the save that removed it, is never written.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace qw::notebook {

// What the main card's draft is named after, as a card's is after its file number.
inline constexpr std::string_view kMainCardDraft = "default";

// The draft of the card with this file number (kMainCardDraft for the main card).
std::filesystem::path draftFileIn(const std::filesystem::path& dataFolder,
                                  std::string_view fileNumber);
bool isDraftFile(const std::filesystem::path& file);

class DraftSequence {
 public:
  // UI thread: a new draft is on its way; every earlier one is stale from now on.
  std::uint64_t next();
  // Any thread: writes `bytes` to `file` through the atomic writer when `ticket` is still the
  // latest. False when it was overtaken. Throws StoreError when the file cannot be written.
  bool write(std::uint64_t ticket, const std::filesystem::path& file, std::string_view bytes);
  // UI thread: removes `file`, and no draft asked for before this is written afterwards.
  void discard(const std::filesystem::path& file);

 private:
  // Held across the check and the write, so a discard cannot slip in between.
  std::mutex mutex_;
  std::uint64_t latest_ = 0;
};

// One draft, taken on the UI thread and written by a worker. Owns its copies, so the editor
// and the notebook may change while it runs; a password and a text are wiped when it ends.
class DraftJob {
 public:
  DraftJob(std::shared_ptr<DraftSequence> sequence, std::filesystem::path file, std::string content,
           std::string password);
  DraftJob(DraftJob&&) = default;
  DraftJob& operator=(DraftJob&&) = default;
  ~DraftJob();

  // Seals the content under the password when there is one, then writes it unless overtaken.
  // True when the file was written. A draft is a safety net: failures (a full disk, no memory
  // for the key derivation) are swallowed and give false.
  bool run();

  const std::filesystem::path& file() const { return file_; }

 private:
  std::shared_ptr<DraftSequence> sequence_;
  std::uint64_t ticket_ = 0;
  std::filesystem::path file_;
  std::string content_;
  std::string password_;
};

}  // namespace qw::notebook
