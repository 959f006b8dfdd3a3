#include "gui/card_properties_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/i18n/strings.h"
#include "core/store/store.h"
#include "gui/accessibility.h"
#include "gui/message_prompts.h"
#include "gui/qt_text.h"

namespace qw::gui {
using i18n::Str;

namespace {

constexpr int kLastHotKey = 9;  // the keys use slots 1 to 9

std::optional<QString> pickWithDialog(CardPropertiesDialog::Pick pick, const QString& current,
                                      QWidget* parent) {
  const QString path =
      pick == CardPropertiesDialog::Pick::LinkedFile
          ? QFileDialog::getOpenFileName(parent, QString(), current)
          // The partner of a synchronisation may not exist yet, and naming an existing one
          // overwrites nothing here.
          : QFileDialog::getSaveFileName(parent, QString(), current, QString(), nullptr,
                                         QFileDialog::DontConfirmOverwrite);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

// A label's caption as a name for screen readers: without the trailing colon and blanks.
QString accessibleFrom(const QString& caption) {
  QString name = caption.trimmed();
  if (name.endsWith(':')) name.chop(1);
  return name.trimmed();
}

}  // namespace

CardPropertiesDialog::CardPropertiesDialog(QWidget* parent)
    : QDialog(parent),
      ownPrompts_(std::make_unique<MessagePrompts>(this)),
      prompts_(ownPrompts_.get()),
      picker_(pickWithDialog) {
  installAccessibleFaces();
  setObjectName("TFManageAll");
  setModal(true);
  buildLayout();
}

CardPropertiesDialog::~CardPropertiesDialog() = default;

void CardPropertiesDialog::buildLayout() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* panel = new QWidget;
  panel->setObjectName("PFiche");
  outer->addWidget(panel);

  auto named = [](auto* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
  };
  nameLabel_ = named(new QLabel, "LMA");
  name_ = named(new QLineEdit, "EFiche");
  linkedLabel_ = named(new QLabel, "LOpen");
  linked_ = named(new QLineEdit, "EFichAssocie");
  browseLinked_ = named(new QPushButton, "BBrowse");
  syncLabel_ = named(new QLabel, "LSynchro");
  sync_ = named(new QLineEdit, "ESynchro");
  browseSync_ = named(new QPushButton, "BSynchro");
  categoryLabel_ = named(new QLabel, "LCateg");
  category_ = named(new QComboBox, "CBCategorie");
  hotKeyLabel_ = named(new QLabel, "LHotKey");
  hotKey_ = named(new QComboBox, "CBHotKeys");
  confirm_ = named(new QPushButton, "BAjouter");
  cancel_ = named(new QPushButton, "BAnnuler");

  nameLabel_->setBuddy(name_);
  linkedLabel_->setBuddy(linked_);
  syncLabel_->setBuddy(sync_);
  categoryLabel_->setBuddy(category_);
  hotKeyLabel_->setBuddy(hotKey_);
  // Category names can be long; the list grows with the window instead of the window with it.
  category_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  category_->setMinimumContentsLength(12);
  hotKey_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  hotKey_->setMinimumContentsLength(12);

  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->setVerticalSpacing(4);
  grid->setHorizontalSpacing(8);
  int row = 0;
  grid->addWidget(nameLabel_, row++, 0, 1, 2);
  grid->addWidget(name_, row++, 0, 1, 2);
  grid->setRowMinimumHeight(row++, 6);
  grid->addWidget(linkedLabel_, row++, 0, 1, 2);
  grid->addWidget(linked_, row, 0);
  grid->addWidget(browseLinked_, row++, 1);
  grid->setRowMinimumHeight(row++, 6);
  grid->addWidget(syncLabel_, row++, 0, 1, 2);
  grid->addWidget(sync_, row, 0);
  grid->addWidget(browseSync_, row++, 1);
  grid->setRowMinimumHeight(row++, 6);

  // Category and hot key side by side, each list under its label.
  auto* choices = new QGridLayout;
  choices->setHorizontalSpacing(12);
  choices->setVerticalSpacing(4);
  choices->addWidget(categoryLabel_, 0, 0);
  choices->addWidget(category_, 1, 0);
  choices->addWidget(hotKeyLabel_, 0, 1);
  choices->addWidget(hotKey_, 1, 1);
  choices->setColumnStretch(0, 3);
  choices->setColumnStretch(1, 2);
  grid->addLayout(choices, row++, 0, 1, 2);

  grid->setRowMinimumHeight(row, 14);
  grid->setRowStretch(row++, 1);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  buttons->addStretch(1);
  buttons->addWidget(confirm_);
  buttons->addWidget(cancel_);
  grid->addLayout(buttons, row++, 0, 1, 2);
  grid->setColumnStretch(0, 1);

  setMinimumWidth(420);

  // Enter confirms from any field, Escape (QDialog's own) cancels.
  confirm_->setDefault(true);
  setTabOrder(name_, linked_);
  setTabOrder(linked_, browseLinked_);
  setTabOrder(browseLinked_, sync_);
  setTabOrder(sync_, browseSync_);
  setTabOrder(browseSync_, category_);
  setTabOrder(category_, hotKey_);
  setTabOrder(hotKey_, confirm_);
  setTabOrder(confirm_, cancel_);

  connect(browseLinked_, &QPushButton::clicked, this,
          [this] { browse(Pick::LinkedFile, linked_); });
  connect(browseSync_, &QPushButton::clicked, this, [this] { browse(Pick::SyncLink, sync_); });
  connect(confirm_, &QPushButton::clicked, this, &CardPropertiesDialog::confirm);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CardPropertiesDialog::applyStrings(Mode mode, const i18n::StringTable& strings) {
  // One caption for the window in both modes, as the string table has only the one.
  setWindowTitle(qs(strings[Str::sPropsAddTitle]));
  nameLabel_->setText(qs(strings[Str::sPropsNameLabel]));
  linkedLabel_->setText(qs(strings[Str::sPropsLinkedFileLabel]));
  syncLabel_->setText(qs(strings[Str::sPropsSynchroLabel]));
  categoryLabel_->setText(qs(strings[Str::sPropsCategoryLabel]));
  hotKeyLabel_->setText(qs(strings[Str::sPropsHotKeyLabel]));
  browseLinked_->setText(qs(strings[Str::sPropsBrowse]));
  browseSync_->setText(qs(strings[Str::sPropsBrowse]));
  confirm_->setText(qs(strings[mode == Mode::Add ? Str::sPropsAdd : Str::sPropsModify]));
  cancel_->setText(qs(strings[Str::sPropsCancel]));
  nameRequired_ = strings[Str::sErrCardNameRequired];

  for (QLabel* label : {nameLabel_, linkedLabel_, syncLabel_, categoryLabel_, hotKeyLabel_}) {
    label->buddy()->setAccessibleName(accessibleFrom(label->text()));
  }
  browseLinked_->setAccessibleName(accessibleFrom(linkedLabel_->text()) + " - " +
                                   browseLinked_->text());
  browseSync_->setAccessibleName(accessibleFrom(syncLabel_->text()) + " - " + browseSync_->text());
  if (ownPrompts_) ownPrompts_->setTitle(windowTitle());
}

void CardPropertiesDialog::fillHotKeys(const store::Store& store, const i18n::StringTable& strings,
                                       int slot) {
  hotKey_->clear();
  hotKey_->addItem(qs(strings[Str::sPropsNoHotKey]));
  for (int n = 1; n <= kLastHotKey; ++n) {
    const store::HotKeySlot& bound = store.hotKeys[n];
    QString item = QString::number(n);
    if (bound.card >= 0) item += " (" + qs(bound.name) + ")";
    hotKey_->addItem(item);
  }
  hotKey_->setCurrentIndex(slot >= 1 && slot <= kLastHotKey ? slot : 0);
}

void CardPropertiesDialog::fillCategories(const store::Store& store,
                                          const i18n::StringTable& strings,
                                          const std::string& categoryId) {
  category_->clear();
  category_->addItem(qs(strings[Str::sCategStandard]), QStringLiteral("0"));
  int selected = categoryId == "0" ? 0 : -1;
  const store::Categories& categories = store.categories;
  for (int k = 0; k < categories.count(); ++k) {
    const std::string id = categories.id(k);
    category_->addItem(qs(categories.name(k)), qs(id));
    if (selected < 0 && id == categoryId) selected = k + 1;
  }
  // An id no category has any more shows no selection; confirming then stores the standard one.
  category_->setCurrentIndex(selected);
}

std::optional<notebook::CardProperties> CardPropertiesDialog::ask(
    Mode mode, const notebook::CardProperties& initial, const store::Store& store,
    const i18n::StringTable& strings, bool encrypted) {
  applyStrings(mode, strings);
  fillHotKeys(store, strings, initial.hotKeySlot);
  fillCategories(store, strings, initial.categoryId);
  name_->setText(qs(initial.name));
  linked_->setText(qs(initial.linkedFile));
  // A new card starts without a synchronisation link.
  const bool add = mode == Mode::Add;
  sync_->setText(add ? QString() : qs(initial.syncLink));
  sync_->setEnabled(!add);
  browseSync_->setEnabled(!add);
  hotKey_->setEnabled(!encrypted);
  name_->setFocus();

  adjustSize();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return values();
}

void CardPropertiesDialog::browse(Pick pick, QLineEdit* field) {
  if (!picker_) return;
  if (std::optional<QString> path = picker_(pick, field->text(), this)) field->setText(*path);
}

void CardPropertiesDialog::confirm() {
  // Any name but the empty one: duplicates, blanks and every character are accepted.
  if (name_->text().isEmpty()) {
    prompts_->message(nameRequired_);
    name_->setFocus();
    return;
  }
  accept();
}

notebook::CardProperties CardPropertiesDialog::values() const {
  notebook::CardProperties result;
  result.name = utf8(name_->text());
  result.linkedFile = utf8(linked_->text());
  result.syncLink = utf8(sync_->text());
  result.categoryId =
      category_->currentIndex() >= 0 ? utf8(category_->currentData().toString()) : std::string("0");
  result.hotKeySlot = std::max(hotKey_->currentIndex(), 0);
  return result;
}

}  // namespace qw::gui
