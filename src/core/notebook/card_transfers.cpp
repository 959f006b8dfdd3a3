// The shown card's text to and from files outside the notebook: a text file appended, the
// card exported as RTF or plain text, and its content file synchronised with a partner copy.

#include <cstdint>
#include <limits>
#include <system_error>

#include "core/notebook/notebook.h"
#include "core/store/atomic_file.h"
#include "core/store/file_copy.h"
#include "core/store/index_line.h"
#include "core/store/store_error.h"
#include "core/store/text_file.h"
#include "core/store/utf8_path.h"
#include "core/text/code_page.h"

namespace qw::notebook {
namespace fs = std::filesystem;
using i18n::Str;

namespace {

constexpr std::uintmax_t kLargestInsert = 1'000'000;

// The popups put a line feed then a carriage return between their parts.
constexpr const char* kPopupBreak = "\n\r";

// Writes an export unless `file` exists and the user keeps it.
bool writeExport(const fs::path& file, const std::string& bytes, ports::Prompts& prompts,
                 const i18n::StringTable& strings) {
  std::error_code error;
  if (fs::exists(file, error) && !prompts.question(strings[Str::sMsgReplaceFileTitle],
                                                   strings[Str::sMsgReplaceFileQuestion])) {
    prompts.message(strings[Str::sMsgExportCancelled]);
    return false;
  }
  store::writeFileAtomically(file, bytes);
  return true;
}

}  // namespace

bool Notebook::insertFile(const fs::path& file) {
  if (!card_.shown()) return false;
  saveCard();
  std::error_code error;
  const std::uintmax_t size = fs::file_size(file, error);
  if (error) throw store::StoreError(file, store::Fault::Unreadable, error.message());
  if (size > kLargestInsert) {
    prompts_.message(text(Str::sErrFileTooBig));
    return false;
  }
  const std::optional<std::string> bytes = store::readFileBytes(file);
  if (!bytes) throw store::StoreError(file, store::Fault::Missing);
  // Any file goes in as its raw characters, up to a zero byte as a text reader stops there.
  const std::string_view textBytes = std::string_view(*bytes).substr(0, bytes->find('\0'));
  editor_.appendLines(store::splitLines(text::decodeWindows1252(textBytes)));
  saveCard();
  return true;
}

bool Notebook::exportRtf(const fs::path& file) {
  if (!card_.shown()) return false;
  saveCard();
  return writeExport(file, editor_.rtf(), prompts_, strings_);
}

bool Notebook::exportText(const fs::path& file) {
  if (!card_.shown()) return false;
  saveCard();
  return writeExport(file, store::encodeStoredText(editor_.plainText() + "\r\n"), prompts_,
                     strings_);
}

bool Notebook::canSynchronise() const {
  return current().number >= 0 && !store::isLinked(store_.cardIndex.line(current().number));
}

std::optional<Notice> Notebook::synchronise(const std::function<std::string()>& chooseLink) {
  if (!canSynchronise()) return std::nullopt;
  if (current().syncLink.empty()) {
    prompts_.message(text(Str::sMsgSynchroLinkEmpty));
    const std::string chosen = chooseLink();
    if (!chosen.empty()) {
      card_.setSyncLink(chosen);
      saveCard();  // the card's settings file keeps the link
    }
    if (current().syncLink.empty()) return std::nullopt;
  }
  if (editor_.isModified()) saveCard();

  const std::string link = current().syncLink;
  const fs::path linkFile = store::utf8Path(link);
  const fs::path cardFile = current().contentFile;
  const std::string cardName = store::utf8Of(cardFile);
  // A missing file is older than any other.
  constexpr std::int64_t kMissing = std::numeric_limits<std::int64_t>::min();
  const std::int64_t linkTime = store::syncTimeStamp(linkFile).value_or(kMissing);
  const std::int64_t cardTime = store::syncTimeStamp(cardFile).value_or(kMissing);

  Notice outcome;
  const bool cardIsNewer = cardTime > linkTime;
  try {
    if (cardIsNewer) {
      outcome.text = cardName + kPopupBreak + " > " + kPopupBreak + link;
      store::copyFileAtomically(cardFile, linkFile);
    } else {
      outcome.text = link + kPopupBreak + " > " + kPopupBreak + cardName;
      store::copyFileAtomically(linkFile, cardFile);
    }
  } catch (const store::StoreError&) {
    outcome.failed = true;
    outcome.text = text(Str::sErrSynchroLinkUnavailable) + kPopupBreak + link;
  }
  // Whether or not the copy went through, the editor shows what the card's file now holds.
  if (!cardIsNewer) loadCard(current().number, current().name);
  return outcome;
}

}  // namespace qw::notebook
