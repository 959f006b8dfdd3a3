#pragma once
// The open notebook, as the window sees it: the commands of its menus, keys and dialogs. It
// owns the parts that hold the state and carries out what involves more than one of them:
//   OpenCard        the card in the editor: load, save, snapshots and journal, its draft
//   CardProtection  the password of an open protected card; protecting and turning back
//   CardStrip       the strip of card names and its selection
//   LineFeed        a hot key's text handed out line by line
// It talks to the window only through the ports, so every rule here runs in tests without a
// widget.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/i18n/strings.h"
#include "core/notebook/card_drafts.h"
#include "core/notebook/card_numbers.h"
#include "core/notebook/card_properties.h"
#include "core/notebook/card_protection.h"
#include "core/notebook/card_strip.h"
#include "core/notebook/line_feed.h"
#include "core/notebook/open_card.h"
#include "core/ports/clipboard.h"
#include "core/ports/editor.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"

namespace qw::notebook {

// What the info popup says after a command done without the window: blue, or red when failed.
struct Notice {
  std::string text;
  bool failed = false;
  friend bool operator==(const Notice&, const Notice&) = default;
};

// What the popup shows of a clipboard text: its lines joined by spaces, then up to 33
// characters whole, else the first 30 and "...".
std::string popupText(const std::string& text);

class Notebook {
 public:
  Notebook(store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
           ports::Prompts& prompts);

  // --- start and end ---
  // The first show, after the store is loaded: hot-key texts made plain, a repaired card index
  // told, the interrupted card recovered, the strip built, the drafts that outlived their
  // cards offered, and unless one was taken, the default card opened.
  void open();
  // Puts back the files of a card whose program ended without saving it, and says so.
  void recoverInterruptedCard() { card_.recoverInterrupted(); }
  // See OpenCard: made once the shown card is on the screen.
  void makeSnapshotsAndJournal() { card_.makeSnapshotsAndJournal(); }
  // The shown card's unsaved text, for a worker to write; see OpenCard::takeDraft.
  std::optional<DraftJob> takeDraft() { return card_.takeDraft(); }
  // After the end has begun, saves do nothing.
  void disableSaving() { card_.disableSaving(); }
  // The fonts of the strip's cards, to be loaded ahead; see CardStrip::fontFamilies.
  std::vector<std::string> fontFamiliesOfCards() const { return strip_.fontFamilies(); }

  // --- the shown card ---
  const CurrentCard& current() const { return card_.current(); }
  // A card is in the editor (none after a failed load).
  bool cardShown() const { return card_.shown(); }
  // The editor's text, unsaved edits included, with CR LF line breaks.
  std::string openCardText() const { return editor_.plainText(); }
  // Selects in the editor, positions clamped to the text.
  void selectInOpenCard(ports::Selection selection) { editor_.setSelection(selection); }
  // Writes the shown card back; see OpenCard::save. Throws StoreError when a file cannot be
  // written.
  void saveCard() { card_.save(); }

  // --- moving along the strip ---
  const std::vector<StripEntry>& strip() const { return strip_.entries(); }
  int selectedPosition() const { return strip_.selected(); }
  // Saves the shown card, then shows the card at strip position `position`. When the save
  // fails it throws StoreError and nothing changes.
  void switchToPosition(int position);
  // One step along the strip; nothing at either end.
  void previousCard();
  void nextCard();
  // After the category filter changed: saves the shown card, rebuilds the strip from the
  // filter and opens the main card.
  void applyCategoryFilter();

  // --- card commands ---
  // Every command that changes the index saves it; when that save fails, StoreError comes out
  // and the index, the hot keys and the strip are as they were. A failed save of the shown card
  // stops a command before it changes anything.
  bool canCreateCard() const { return !store_.cardIndex.isFull(); }
  // After the dialog confirmed a new card: saves the shown card, adds the new one at the end
  // of the strip, opens it with the editor look the previous card had.
  void createCard(const CardProperties& properties);
  // After the dialog confirmed new properties for the selected card: applies them and reads
  // the card again from its files, dropping unsaved edits. False, with a message, for the main
  // card.
  bool editCurrentCard(const CardProperties& properties);
  // Asks, then deletes the selected card's files in the data folder (never a linked file) and
  // its index line, and opens the card that takes its place in the strip.
  void deleteCurrentCard();
  // Exchanges the selected card with its shown neighbour in the index and the strip; the
  // editor keeps the card as it is. The main card and the first card stay where they are.
  void moveCurrentCardUp();
  void moveCurrentCardDown();

  // --- card properties (the confirmation of the properties dialog) ---
  // What the dialog shows for card `card`: the linked file only for a linked card, the
  // synchronisation link as the program holds it.
  CardProperties propertiesOf(int card) const;
  // Creates a card at the end of the index with its files and saves the index; the slot it
  // takes is removed from the card that held it. Returns the new card's number. Throws
  // std::invalid_argument for an empty name (or a field that would break the index line),
  // std::length_error when the index is full, StoreError when a file cannot be written.
  // `content` is what the new card's own content file starts with.
  int addCard(const CardProperties& properties, std::string_view content = {});
  // Rewrites card `card`'s index line and the content line of its settings file, then saves
  // both. The card keeps its file number. Throws as addCard does.
  void modifyCard(int card, const CardProperties& properties);

  // --- protected cards ---
  // See CardProtection.
  bool canProtect() const { return protection_.canProtect(card_); }
  bool canUnprotect() const { return protection_.canUnprotect(card_); }
  bool currentCardProtected() const { return card_.isProtected(); }
  void protectCurrentCard() { protection_.protect(card_); }
  void unprotectCurrentCard() { protection_.unprotect(card_); }

  // --- line functions ---
  // The line list's items, in its order.
  enum class LineFunction {
    Reload,
    SortNormal,
    SortInverse,
    SortNumeric,
    SortNumericInverse,
    RemoveEmptyLines,
    RemoveLeadingSpaces,
  };
  // Runs one on the whole text of the shown card. Reload reads the card again from its files;
  // the others rewrite the editor and leave the save to the next switch. Nothing happens when
  // no card is shown. `collate` orders two lines for the text sorts, ignoring case.
  void runLineFunction(LineFunction function,
                       const std::function<int(const std::string&, const std::string&)>& collate);

  // --- transfers ---
  // These act on the shown card and do nothing (false, or no outcome) when none is shown.
  // Saves, appends the lines of `file` (single-byte Windows-1252 text up to its first zero
  // byte, split at CR LF, CR or LF) after the last line, saves again. A file over 1,000,000
  // bytes is refused with a message after the first save. Returns whether it was inserted.
  // Throws StoreError when a file cannot be read or written.
  bool insertFile(const std::filesystem::path& file);
  // Saves, then writes the editor's RTF, or its plain text with CR LF breaks and one CR LF
  // more, stored as text files are, to `file`. An existing file is replaced only when the user
  // says Yes; No is answered with a message and nothing is written. Returns whether written.
  // Throws StoreError when a file cannot be written.
  bool exportRtf(const std::filesystem::path& file);
  bool exportText(const std::filesystem::path& file);
  // A card of the index that is not linked to an outside file can be synchronised.
  bool canSynchronise() const;
  // Copies the newer of the card's content file and its synchronisation link over the other
  // (the link when both are equally old), reloading the card when the link was copied.
  // `chooseLink` is asked, after a message, only when the card has no link yet; it returns the
  // chosen full path (UTF-8), or "" when the user cancels. Nothing comes back when nothing
  // happens (the card cannot be synchronised, no link chosen), else the popup to show.
  // Throws StoreError when the card itself cannot be saved.
  std::optional<Notice> synchronise(const std::function<std::string()>& chooseLink);

  // --- hot keys and the clipboard ---
  // Hot key n: the text of slot n (1..9) onto the clipboard; an empty slot, or a number no key
  // has, leaves the clipboard alone and says so in red.
  Notice copyHotKeyText(int slot, ports::Clipboard& clipboard);
  // Shift + hot key n: starts feeding the slot's text line by line, its first line onto the
  // clipboard. The feed keeps its own copy of the text.
  Notice startLineFeed(int slot, ports::Clipboard& clipboard);
  // The feed's next line onto the clipboard, the first again after the last; nothing at all
  // when no feed runs.
  std::optional<Notice> nextFeedLine(ports::Clipboard& clipboard);
  // "Paste into": appends the clipboard's text as new last lines of the card at strip position
  // `position`: through the editor (and a save) when it is the open card, else in its file,
  // kept in its form (RTF or plain). A protected card that is not open is refused (the
  // notice); nothing comes back on success. Throws StoreError when a file is gone or fails.
  // A hot key bound to the card then gives the new text.
  std::optional<Notice> appendClipboardTo(int position, ports::Clipboard& clipboard);
  // "Copy from": the plain text of that card's file (as last saved) onto the clipboard; a
  // missing or protected file leaves the clipboard alone and comes back as the notice.
  std::optional<Notice> copyCardToClipboard(int position, ports::Clipboard& clipboard);
  // The same two for the command line, by card number (kMainCard or an index position,
  // whatever the strip shows) and with `text` in place of the clipboard's. The plain text has
  // its lines ended by "\n"; nothing when the file is gone. Protected cards come back refused
  // as above; `cardIsProtected` lets a caller refuse them before anything is read.
  std::optional<Notice> appendText(int card, std::string_view text);
  std::optional<std::string> savedPlainText(int card) const;
  bool cardIsProtected(int card) const;
  // Ctrl+Alt+V: the clipboard's text as new last lines of the open card, then a save.
  void pasteIntoCurrentCard(ports::Clipboard& clipboard);
  // Ctrl+Alt+N and Win+V: a new card "KTRquillWick n" holding the clipboard's text, opened in
  // the editor's look. At 500 cards the limit message is shown and nothing comes back; else
  // the new card's name.
  std::optional<std::string> newCardFromClipboard(ports::Clipboard& clipboard);

  const store::Store& store() const { return store_; }

 private:
  // Shows card `card` under `name`; a protected card left closed gives way to the main card.
  void loadCard(int card, const std::string& name);
  void openDefaultCard();
  // Tells once how the load rebuilt or repaired a card index it could not use as it stood.
  void reportIndexRepair();
  // Plain text of every hot-key slot, whatever its card file held.
  void refreshHotKeyTexts();
  // At start, after the recovery and before a card is opened: every draft newer than its
  // card's files is offered; Yes opens that card with the draft's text, modified, and No drops
  // it. A stale or unreadable draft, or one whose card is gone, is dropped without a word.
  // True when a card was opened.
  bool restoreDrafts();
  // Asks about one draft of card `card`; false when the draft is to be dropped.
  bool offerDraft(int card, const std::filesystem::path& draft);
  // createCard's work once the properties are known good: saves the shown card, adds the new
  // one with `content` at the end of the strip and opens it in the previous card's look.
  void addAndOpenCard(const CardProperties& properties, std::string_view content);
  // Applies `change` to the index (and the hot-key slots), then saves the index; when the save
  // fails, both are put back before the error goes on.
  void changeIndex(const std::function<void()>& change);
  // Takes hot-key slot `slot` from every card but `keeper`, in the index lines and the table.
  void releaseHotKey(int slot, int keeper);
  void swapWithNext(int position);
  std::string text(i18n::Str id) const { return strings_[id]; }
  // The content file of card `card` as its settings name it now; empty when they name none.
  std::filesystem::path contentFileOf(int card) const;

  store::Store& store_;
  const i18n::StringTable& strings_;
  ports::Editor& editor_;
  ports::Prompts& prompts_;
  CardProtection protection_{store_, strings_, editor_, prompts_};
  OpenCard card_{store_, strings_, editor_, prompts_, protection_};
  CardStrip strip_;
  LineFeed feed_;
};

}  // namespace qw::notebook
