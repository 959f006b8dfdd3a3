#pragma once

#include <QDialog>
#include <array>
#include <exception>
#include <memory>
#include <string>

#include "core/i18n/strings.h"
#include "core/ports/platform_services.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"
#include "gui/message_prompts.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace qw::gui {

class ColourList;

// The options (TFOptions): language, card opened at start, the three colours of the card
// strip with a live sample, start at logon, the modifiers of the system-wide keys. Every show
// reloads the controls from the settings; only saving changes them, and a new language or default
// card takes effect at the next start.
class OptionsDialog : public QDialog {
  Q_OBJECT
 public:
  // `prompts` reports a settings file that cannot be written; without one, a message box
  // over this dialog does.
  OptionsDialog(store::Store& store, const i18n::StringTable& strings,
                ports::PlatformServices& platform, ports::Prompts* prompts = nullptr,
                QWidget* parent = nullptr);
  ~OptionsDialog() override;

  // Shows the dialog modally; true when the settings were saved, so the caller repaints the
  // card strip with the new colours.
  bool run();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The sample's three colours (0x00BBGGRR); they are what saving writes.
  enum Sample { kBackground, kNames, kActive };

  void applyStrings();
  void loadSettings();
  void setSampleColour(Sample which, std::uint32_t colour);
  void chooseColour(Sample which, const QColor& colour);
  void restoreDefaults();
  void save();

  store::Store& store_;
  const i18n::StringTable& strings_;
  ports::PlatformServices& platform_;
  std::unique_ptr<MessagePrompts> ownPrompts_;
  ports::Prompts* prompts_;
  std::array<std::uint32_t, 3> sample_{};

  QLabel* languageLabel_;                // LLanguage
  QComboBox* language_;                  // CBLanguage
  QCheckBox* startup_;                   // CBStartup
  QCheckBox* hideAtStartup_;             // CBHideAtStartup, never shown
  QLabel* globalKeysLabel_;              // LGlobalKeys
  QComboBox* globalKeys_;                // CBGlobalKeys: the modifiers of the system-wide keys
  QLabel* defaultCardLabel_;             // LDefaultFiche
  QComboBox* defaultCard_;               // CBDefaultFiche
  QLabel* backgroundLabel_;              // LBGColor
  ColourList* backgroundList_;           // ColorBox3
  QLabel* namesLabel_;                   // LDColor
  ColourList* namesList_;                // ColorBox4
  QLabel* activeLabel_;                  // LSColor
  ColourList* activeList_;               // ColorBox5
  QFrame* example_;                      // PExample
  std::array<QLabel*, 3> exampleCards_;  // LEx1..LEx3
  QPushButton* defaults_;                // BDefault
  QPushButton* saveAndClose_;            // BSaveAndClose
  QPushButton* cancel_;                  // BCancel
};

}  // namespace qw::gui
