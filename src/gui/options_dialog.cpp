#include "gui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/notebook/error_text.h"
#include "core/notebook/settings_commands.h"
#include "core/store/colour.h"
#include "core/store/index_line.h"
#include "gui/accessibility.h"
#include "gui/colour_list.h"
#include "gui/global_keys.h"
#include "gui/qt_text.h"
#include "gui/setting_colour.h"

namespace qw::gui {
using i18n::Str;

namespace {

// The two values the settings know, offered untranslated in both interface languages.
constexpr std::array<const char*, 2> kLanguages = {"Français", "Anglais"};

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QLabel* label(const char* name, QWidget* buddy) {
  auto* l = named(new QLabel, name);
  l->setBuddy(buddy);
  return l;
}

const store::Settings& defaults() {
  static const store::Settings settings = store::Settings::defaults();
  return settings;
}

}  // namespace

OptionsDialog::OptionsDialog(store::Store& store, const i18n::StringTable& strings,
                             ports::PlatformServices& platform, ports::Prompts* prompts,
                             QWidget* parent)
    : QDialog(parent),
      store_(store),
      strings_(strings),
      platform_(platform),
      ownPrompts_(prompts ? nullptr : std::make_unique<MessagePrompts>(this)),
      prompts_(prompts ? prompts : ownPrompts_.get()),
      language_(named(new QComboBox, "CBLanguage")),
      startup_(named(new QCheckBox, "CBStartup")),
      hideAtStartup_(named(new QCheckBox, "CBHideAtStartup")),
      globalKeys_(named(new QComboBox, "CBGlobalKeys")),
      defaultCard_(named(new QComboBox, "CBDefaultFiche")),
      backgroundList_(named(new ColourList, "ColorBox3")),
      namesList_(named(new ColourList, "ColorBox4")),
      activeList_(named(new ColourList, "ColorBox5")),
      example_(named(new QFrame, "PExample")),
      exampleCards_{named(new QLabel, "LEx1"), named(new QLabel, "LEx2"),
                    named(new QLabel, "LEx3")},
      defaults_(named(new QPushButton, "BDefault")),
      saveAndClose_(named(new QPushButton, "BSaveAndClose")),
      cancel_(named(new QPushButton, "BCancel")) {
  setObjectName("TFOptions");
  installAccessibleFaces();
  setModal(true);
  languageLabel_ = label("LLanguage", language_);
  globalKeysLabel_ = label("LGlobalKeys", globalKeys_);
  defaultCardLabel_ = label("LDefaultFiche", defaultCard_);
  backgroundLabel_ = label("LBGColor", backgroundList_);
  namesLabel_ = label("LDColor", namesList_);
  activeLabel_ = label("LSColor", activeList_);

  auto* top = named(new QFrame, "PTop");
  top->setFrameShape(QFrame::StyledPanel);
  auto* topLayout = new QGridLayout(top);
  topLayout->addWidget(languageLabel_, 0, 0);
  topLayout->addWidget(language_, 0, 1);
  topLayout->setColumnStretch(2, 1);
  topLayout->addWidget(startup_, 1, 0, 1, 3);
  // Kept and saved like the other settings, but hiding at start is not offered here.
  topLayout->addWidget(hideAtStartup_, 2, 0, 1, 3);
  hideAtStartup_->setVisible(false);
  topLayout->addWidget(globalKeysLabel_, 3, 0);
  topLayout->addWidget(globalKeys_, 3, 1);
  // In the order of store::GlobalKeys.
  globalKeys_->addItem("Win (Super)");
  globalKeys_->addItem(globalKeySetName(true));

  // The sample looks like the top of the card strip, the second name being the active card.
  example_->setFrameShape(QFrame::Box);
  example_->setAutoFillBackground(true);
  example_->setMinimumWidth(110);
  auto* sampleLayout = new QVBoxLayout(example_);
  sampleLayout->setContentsMargins(16, 8, 8, 8);
  sampleLayout->setSpacing(8);
  for (size_t i = 0; i < exampleCards_.size(); ++i) {
    QFont font = exampleCards_[i]->font();
    font.setPointSize(8);
    font.setBold(i == 1);
    exampleCards_[i]->setFont(font);
    sampleLayout->addWidget(exampleCards_[i]);
  }
  sampleLayout->addStretch(1);

  auto* form = named(new QFrame, "PForm");
  form->setFrameShape(QFrame::StyledPanel);
  auto* formLayout = new QGridLayout(form);
  formLayout->addWidget(defaultCardLabel_, 0, 0);
  formLayout->addWidget(defaultCard_, 0, 1, 1, 2);
  formLayout->addWidget(backgroundLabel_, 1, 0);
  formLayout->addWidget(backgroundList_, 1, 1);
  formLayout->addWidget(namesLabel_, 2, 0);
  formLayout->addWidget(namesList_, 2, 1);
  formLayout->addWidget(activeLabel_, 3, 0);
  formLayout->addWidget(activeList_, 3, 1);
  formLayout->addWidget(example_, 1, 2, 3, 1);
  defaultCard_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  defaultCard_->setMinimumContentsLength(20);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(defaults_);
  buttons->addStretch(1);
  buttons->addWidget(saveAndClose_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(top);
  layout->addWidget(form);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Enter saves; Escape cancels, as the cancel button does.
  saveAndClose_->setDefault(true);
  QWidget* order[] = {language_,  startup_,    globalKeys_, defaultCard_,  backgroundList_,
                      namesList_, activeList_, defaults_,   saveAndClose_, cancel_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  for (const char* word : kLanguages) language_->addItem(QString::fromUtf8(word));
  connect(backgroundList_, &ColourList::colourChosen, this,
          [this](int, const QColor& c) { chooseColour(kBackground, c); });
  connect(namesList_, &ColourList::colourChosen, this,
          [this](int, const QColor& c) { chooseColour(kNames, c); });
  connect(activeList_, &ColourList::colourChosen, this,
          [this](int, const QColor& c) { chooseColour(kActive, c); });
  connect(defaults_, &QPushButton::clicked, this, &OptionsDialog::restoreDefaults);
  connect(saveAndClose_, &QPushButton::clicked, this, &OptionsDialog::save);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

OptionsDialog::~OptionsDialog() = default;

bool OptionsDialog::run() { return exec() == QDialog::Accepted; }

void OptionsDialog::showEvent(QShowEvent* event) {
  applyStrings();
  loadSettings();
  language_->setFocus();
  QDialog::showEvent(event);
}

void OptionsDialog::applyStrings() {
  const auto text = [this](Str id) { return qs(strings_[id]); };
  setWindowTitle(text(Str::sOptionsTitle));
  languageLabel_->setText(text(Str::sOptionsLanguageLabel));
#ifdef Q_OS_WIN
  startup_->setText(text(Str::sOptionsLaunchAtStartup));
#else
  // Elsewhere the desktop session starts it, through its autostart entry.
  startup_->setText(text(Str::sOptionsLaunchAtSessionStart));
#endif
  globalKeysLabel_->setText(text(Str::sOptionsGlobalKeysLabel));
  globalKeys_->setAccessibleName(globalKeysLabel_->text());
  hideAtStartup_->setText(text(Str::sOptionsHideAtStartup));
  defaultCardLabel_->setText(text(Str::sOptionsDefaultCardLabel));
  backgroundLabel_->setText(text(Str::sOptionsBackgroundColorLabel));
  namesLabel_->setText(text(Str::sOptionsCardNameColorLabel));
  activeLabel_->setText(text(Str::sOptionsActiveCardColorLabel));
  exampleCards_[0]->setText(text(Str::sOptionsSample1));
  exampleCards_[1]->setText(text(Str::sOptionsSample2));
  exampleCards_[2]->setText(text(Str::sOptionsSample3));
  defaults_->setText(text(Str::sOptionsDefaults));
  saveAndClose_->setText(text(Str::sOptionsSaveAndClose));
  cancel_->setText(text(Str::sOptionsCancel));
  // Combo boxes and the sample carry their labels' texts for screen readers.
  language_->setAccessibleName(languageLabel_->text());
  defaultCard_->setAccessibleName(defaultCardLabel_->text());
  backgroundList_->setAccessibleName(backgroundLabel_->text());
  namesList_->setAccessibleName(namesLabel_->text());
  activeList_->setAccessibleName(activeLabel_->text());
  if (ownPrompts_) ownPrompts_->setTitle(text(Str::sMainTitle));
}

void OptionsDialog::loadSettings() {
  const auto& settings = store_.settings;
  // An unknown language runs the interface in French, so that is what the list shows.
  language_->setCurrentIndex(settings.language() == store::Language::English ? 1 : 0);

  defaultCard_->clear();
  defaultCard_->addItem(qs(strings_[Str::sMainCardName]));
  const auto& index = store_.cardIndex;
  for (int card = 0; card < index.count(); ++card)
    defaultCard_->addItem(qs(store::displayName(index.line(card))));
  defaultCard_->setCurrentIndex(defaultCard_->findText(qs(settings.defaultCard()),
                                                       Qt::MatchExactly | Qt::MatchCaseSensitive));

  setSampleColour(kBackground, settings.stripBackground());
  setSampleColour(kNames, settings.cardNameColour());
  setSampleColour(kActive, settings.activeCardColour());

  startup_->setChecked(settings.startAtLogon());
  hideAtStartup_->setChecked(settings.hiddenStart());
  globalKeys_->setCurrentIndex(static_cast<int>(settings.globalKeys()));
}

void OptionsDialog::setSampleColour(Sample which, std::uint32_t value) {
  const std::uint32_t defaultValue = which == kBackground ? defaults().stripBackground()
                                     : which == kNames    ? defaults().cardNameColour()
                                                          : defaults().activeCardColour();
  const QColor colour = settingColour(value, settingColour(defaultValue, Qt::black));
  sample_[which] = value;

  // The list shows the colour too: its standard item, or the custom one holding it.
  ColourList* list = which == kBackground ? backgroundList_
                     : which == kNames    ? namesList_
                                          : activeList_;
  int item = ColourList::kCustomItem;
  for (int i = ColourList::kCustomItem + 1; i < ColourList::kItemCount; ++i)
    if (list->colourAt(i)->rgb() == colour.rgb()) item = i;
  if (item == ColourList::kCustomItem) list->setCustomColour(colour);
  list->setCurrentIndex(item);

  if (which == kBackground) {
    QPalette palette = example_->palette();
    palette.setColor(QPalette::Window, colour);
    example_->setPalette(palette);
    return;
  }
  for (size_t i = 0; i < exampleCards_.size(); ++i) {
    if ((i == 1) != (which == kActive)) continue;
    QPalette palette = exampleCards_[i]->palette();
    palette.setColor(QPalette::WindowText, colour);
    exampleCards_[i]->setPalette(palette);
  }
}

void OptionsDialog::chooseColour(Sample which, const QColor& colour) {
  const store::Rgb rgb{static_cast<std::uint8_t>(colour.red()),
                       static_cast<std::uint8_t>(colour.green()),
                       static_cast<std::uint8_t>(colour.blue())};
  setSampleColour(which, store::colourOf(rgb));
}

void OptionsDialog::restoreDefaults() {
  setSampleColour(kBackground, defaults().stripBackground());
  setSampleColour(kNames, defaults().cardNameColour());
  setSampleColour(kActive, defaults().activeCardColour());
  defaultCard_->setCurrentIndex(0);
}

void OptionsDialog::save() {
  store::Settings settings = store_.settings;
  settings.setLanguage(language_->currentIndex() == 1 ? store::Language::English
                                                      : store::Language::French);
  settings.setDefaultCard(utf8(defaultCard_->currentText()));  // empty when none
  settings.setStripBackground(sample_[kBackground]);
  settings.setCardNameColour(sample_[kNames]);
  settings.setActiveCardColour(sample_[kActive]);
  settings.setStartAtLogon(startup_->isChecked());
  settings.setHiddenStart(hideAtStartup_->isChecked());
  settings.setGlobalKeys(static_cast<store::GlobalKeys>(globalKeys_->currentIndex()));
  try {
    notebook::changeOptions(store_, settings, platform_);
  } catch (const std::exception& error) {
    // The dialog stays open; memory, param.ini and the start at logon are as they were.
    prompts_->message(notebook::errorText(error, strings_));
    return;
  }
  accept();
}

}  // namespace qw::gui
