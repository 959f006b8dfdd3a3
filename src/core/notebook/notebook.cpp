// The notebook's start, with the drafts it offers, and the moves along the strip; the other
// commands live beside it, in the files named after what the user does with them.

#include "core/notebook/notebook.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

#include "core/crypto/sealed_card.h"
#include "core/store/card_settings.h"
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

Notebook::Notebook(store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
                   ports::Prompts& prompts)
    : store_(store), strings_(strings), editor_(editor), prompts_(prompts) {}

void Notebook::open() {
  refreshHotKeyTexts();
  reportIndexRepair();
  recoverInterruptedCard();
  strip_.build(store_, text(Str::sMainCardName));
  if (!restoreDrafts()) openDefaultCard();
}

void Notebook::reportIndexRepair() {
  const auto repair = std::exchange(store_.indexRepair, std::nullopt);
  if (!repair) return;
  std::string message = text(Str::sMsgIndexRepaired) + std::to_string(repair->cards);
  if (!repair->keptAside.empty())
    message += "\n" + text(Str::sMsgOldIndexKeptAs) + store::utf8Of(repair->keptAside);
  prompts_.message(message);
}

void Notebook::refreshHotKeyTexts() {
  for (int slot = 1; slot <= 9; ++slot) {
    std::string& text = store_.hotKeys[slot].text;
    if (text::looksLikeRtf(text)) text = text::readRtfPlainText(text);
  }
}

void Notebook::openDefaultCard() {
  const std::string& wanted = store_.settings.defaultCard();
  // The last card of that name wins, as it always has.
  strip_.select(wanted != text(Str::sMainCardName) ? strip_.lastPositionNamed(wanted) : 0);
  loadCard(strip_.selectedEntry().card, strip_.selectedEntry().name);
}

void Notebook::applyCategoryFilter() {
  saveCard();
  strip_.build(store_, text(Str::sMainCardName));
  loadCard(kMainCard, strip_.entry(0).name);
}

void Notebook::switchToPosition(int position) {
  if (!strip_.has(position)) return;
  saveCard();
  strip_.select(position);
  loadCard(strip_.entry(position).card, strip_.entry(position).name);
}

void Notebook::loadCard(int card, const std::string& name) {
  if (card_.load(card, name)) return;
  // Not opened without its password: the main card takes its place.
  strip_.select(0);
  loadCard(kMainCard, strip_.size() == 0 ? text(Str::sMainCardName) : strip_.entry(0).name);
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
    if (number == kMainCardDraft) card = kMainCard;
    for (int c = 0; !card && c < store_.cardIndex.count(); ++c)
      if (store::fileNumber(store_.cardIndex.line(c)) == number) card = c;
    if (!card || !offerDraft(*card, draft)) {
      std::error_code ignored;
      fs::remove(draft, ignored);
    }
    opened = opened || (card && current().number == *card);
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
  if (current().number != card) return true;

  if (sealed) {
    try {
      std::string content = crypto::openSealedCard(*bytes, protection_.password());
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
