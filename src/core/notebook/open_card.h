#pragma once
// The card in the editor: its load and save, and what keeps it safe while it is open — the
// snapshot copies and the journal that let the next start put it back after a crash, and the
// draft of its unsaved text.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/i18n/strings.h"
#include "core/notebook/card_drafts.h"
#include "core/notebook/card_numbers.h"
#include "core/ports/editor.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"

namespace qw::notebook {

class CardProtection;

struct CurrentCard {
  int number = kNoCard;
  std::filesystem::path settingsFile;
  std::filesystem::path contentFile;
  std::string name;
  std::string syncLink;  // partner file, or empty
};

class OpenCard {
 public:
  OpenCard(store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
           ports::Prompts& prompts, CardProtection& protection);

  const CurrentCard& current() const { return current_; }
  // A card is in the editor: one was loaded, and the last load did not fail.
  bool shown() const { return current_.number != kFailedCard && current_.number != kNoCard; }
  bool isProtected() const;

  // Shows card `card` in the editor under the name `name`. A linked file that is gone is
  // reported and leaves the editor without a card. False when the card is protected and stays
  // closed (Cancel, a wrong password or a damaged file, each told): the caller opens another.
  bool load(int card, const std::string& name);
  // Writes the shown card back: its content only when modified (a linked file only when the
  // user agrees), its settings always; then drops its snapshots, the journal and the draft.
  // Throws StoreError when a file cannot be written, and then keeps the snapshots and the
  // journal.
  void save();
  // After the end has begun, saves do nothing, and no draft is taken.
  void disableSaving() { savingDisabled_ = true; }

  // The shown card's snapshot copies and the journal, which let the next start put the card
  // back as it was opened if the program dies. load leaves them for this call, made once the
  // card is on the screen (two files copied and flushed would slow every switch), and every
  // writer of the card's content makes them first. Nothing when they are made already.
  void makeSnapshotsAndJournal();
  // Removes the open card's snapshot copies, the journal and the card's draft.
  void dropSnapshotsJournalAndDraft();
  // Puts back the files of a card whose program ended without saving it, and says so.
  void recoverInterrupted();
  // The copy of `file` taken when its card was opened.
  static std::filesystem::path snapshotOf(const std::filesystem::path& file);

  // The shown card's unsaved text, to be written by a worker: its RTF, sealed there under the
  // card's password for a protected card. Nothing when no card is shown, while a card is being
  // opened, or when the text has no unsaved change. Every save, load and delete of the card
  // removes its draft, and a draft taken earlier is then never written.
  std::optional<DraftJob> takeDraft();

  // The shown card's number after its index line moved; the editor keeps it as it is.
  void renumber(int number) { current_.number = number; }
  // The synchronisation link the next save writes into the card's settings.
  void setSyncLink(std::string link) { current_.syncLink = std::move(link); }
  // The file the card's text is written to from now on; the next save names it in the
  // settings.
  void setContentFile(std::filesystem::path file) { current_.contentFile = std::move(file); }

 private:
  enum class Opened { Yes, LinkedFileMissing, Locked };
  // The file work of load.
  Opened openFiles(int card);
  void failLoad();
  std::filesystem::path draftFileOf(int card) const;
  // Removes the open card's draft file; a worker still writing it is too late. The card keeps
  // its draft name while it stays open.
  void discardDraft();
  std::string text(i18n::Str id) const { return strings_[id]; }

  store::Store& store_;
  const i18n::StringTable& strings_;
  ports::Editor& editor_;
  ports::Prompts& prompts_;
  CardProtection& protection_;
  CurrentCard current_;
  bool savingDisabled_ = false;
  // The shown card's snapshots and journal are still to be made.
  bool snapshotsDue_ = false;
  // Shared with the workers that write drafts, which may outlive a command.
  std::shared_ptr<DraftSequence> drafts_ = std::make_shared<DraftSequence>();
  // The draft of the open card; empty when no card is shown.
  std::filesystem::path draftFile_;
  // Inside load, where the editor may still hold the card before.
  bool loading_ = false;
};

}  // namespace qw::notebook
