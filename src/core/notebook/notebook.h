#pragma once
// The behaviour of the open notebook: which card is shown, the strip of card names, and the
// moves of a card between its files and the editor. It talks to the window only through the
// ports, so every rule here runs in tests without a widget.

#include <filesystem>
#include <string>
#include <vector>

#include "core/i18n/strings.h"
#include "core/ports/editor.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"

namespace qw::notebook {

// Card numbers beside the 0-based index positions.
constexpr int kMainCard = -2;
constexpr int kFailedCard = -3;  // the editor shows nothing: the last load failed
constexpr int kNoCard = -1;

struct CurrentCard {
  int number = kNoCard;
  std::filesystem::path settingsFile;
  std::filesystem::path contentFile;
  std::string name;
  std::string syncLink;  // partner file, or empty
};

// One name in the strip. Position 0 is the main card.
struct StripEntry {
  int card = kMainCard;
  std::string name;
  std::filesystem::path contentFile;
};

class Notebook {
 public:
  Notebook(store::Store& store, const i18n::StringTable& strings, ports::Editor& editor,
           ports::Prompts& prompts);

  // The first show, after the store is loaded: hot-key texts made plain, the interrupted card
  // recovered, the strip built, the default card opened.
  void open();

  // --- card files ---
  // Shows card `card` in the editor under the name `name`. A linked file that is gone is
  // reported and leaves the editor without a card.
  void loadCard(int card, const std::string& name);
  // Writes the shown card back: its content only when modified (a linked file only when the
  // user agrees), its settings always; then drops its snapshots and the journal. Throws
  // StoreError when a file cannot be written, and then keeps the snapshots and the journal.
  void saveCard();
  // Puts back the files of a card whose program ended without saving it, and says so.
  void recoverInterruptedCard();
  // After the end has begun, saves do nothing.
  void disableSaving() { savingDisabled_ = true; }

  // --- strip ---
  const std::vector<StripEntry>& strip() const { return strip_; }
  int selectedPosition() const { return selected_; }
  // Saves the shown card, then shows the card at strip position `position`. When the save
  // fails it throws StoreError and nothing changes.
  void switchToPosition(int position);
  // Plain text of every hot-key slot, whatever its card file held.
  void refreshHotKeyTexts();

  const CurrentCard& current() const { return current_; }
  const store::Store& store() const { return store_; }
  const i18n::StringTable& strings() const { return strings_; }
  std::filesystem::path mainContentFile() const;

 private:
  void buildStrip();
  // Removes a card's index line; hot keys bound to later cards follow them.
  void dropCard(int card);
  void openDefaultCard();
  // The file work of loadCard; false when a linked file is gone.
  bool openCardFiles(int card);
  void failLoad();
  std::string text(i18n::Str id) const { return strings_[id]; }

  store::Store& store_;
  const i18n::StringTable& strings_;
  ports::Editor& editor_;
  ports::Prompts& prompts_;
  CurrentCard current_;
  std::vector<StripEntry> strip_;
  int selected_ = 0;
  bool savingDisabled_ = false;
};

}  // namespace qw::notebook
