#pragma once
// The card properties dialog: name, linked file, synchronisation link, category and hot key of
// a new card or of the current one. It only collects and checks the values; writing the index,
// the card files and the hot-key slots is the notebook's job once the user has confirmed.
//
// One instance lives as long as the main window. Every ask() rebuilds the captions, both lists
// and all fields from the data it is given, so nothing of an earlier use survives.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/notebook/card_properties.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qw::i18n {
class StringTable;
}
namespace qw::ports {
class Prompts;
}
namespace qw::store {
struct Store;
}

namespace qw::gui {

class MessagePrompts;

class CardPropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { Add, Modify };
  // Which field a file is being picked for.
  enum class Pick { LinkedFile, SyncLink };

  explicit CardPropertiesDialog(QWidget* parent = nullptr);
  ~CardPropertiesDialog() override;

  // Shows the dialog modally, filled from `initial`, and returns the values as typed once the
  // user confirms with a name; nothing when the user cancels (button, Escape or window frame).
  // Add mode offers no synchronisation link: a new card starts without one, so the field is
  // disabled and the result's link is empty. `encrypted` locks the hot-key choice (modify mode).
  std::optional<notebook::CardProperties> ask(Mode mode, const notebook::CardProperties& initial,
                                              const store::Store& store,
                                              const i18n::StringTable& strings,
                                              bool encrypted = false);

  // Asks for a file path, starting from the field's text; nothing when the user cancels. An
  // open-file dialog for the linked file (it must exist), a save-file dialog for the
  // synchronisation link (its partner may not exist yet). Tests replace it.
  using FilePicker =
      std::function<std::optional<QString>(Pick pick, const QString& current, QWidget* parent)>;
  void setFilePicker(FilePicker picker) { picker_ = std::move(picker); }

  // Where the empty-name error goes; message boxes over this dialog unless replaced.
  void setPrompts(ports::Prompts& prompts) { prompts_ = &prompts; }

 private:
  void buildLayout();
  void applyStrings(Mode mode, const i18n::StringTable& strings);
  void fillHotKeys(const store::Store& store, const i18n::StringTable& strings, int slot);
  void fillCategories(const store::Store& store, const i18n::StringTable& strings,
                      const std::string& categoryId);
  void browse(Pick pick, QLineEdit* field);
  void confirm();
  notebook::CardProperties values() const;

  QLabel* nameLabel_;
  QLineEdit* name_;
  QLabel* linkedLabel_;
  QLineEdit* linked_;
  QPushButton* browseLinked_;
  QLabel* syncLabel_;
  QLineEdit* sync_;
  QPushButton* browseSync_;
  QLabel* categoryLabel_;
  QComboBox* category_;
  QLabel* hotKeyLabel_;
  QComboBox* hotKey_;
  QPushButton* confirm_;
  QPushButton* cancel_;

  std::unique_ptr<MessagePrompts> ownPrompts_;
  ports::Prompts* prompts_;
  FilePicker picker_;
  std::string nameRequired_;  // the empty-name error in the language of the current ask()
};

}  // namespace qw::gui
