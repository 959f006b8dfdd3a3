#include "gui/strip_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/store/index_line.h"
#include "core/store/store.h"
#include "gui/card_strip_view.h"
#include "gui/folding_panel.h"
#include "gui/qt_text.h"

namespace qw::gui {
using i18n::Str;

namespace {

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

StripPanel::StripPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("PFiche");
  setFixedWidth(177);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  strip = new CardStripView;
  layout->addWidget(strip, 1);

  auto* bottom = named(new QWidget, "PBottomMenu");
  auto* bottomLayout = new QVBoxLayout(bottom);
  bottomLayout->setContentsMargins(0, 0, 0, 0);
  bottomLayout->setSpacing(0);
  layout->addWidget(bottom);

  auto* functionsBody = new QWidget;
  auto* form = new QFormLayout(functionsBody);
  form->setContentsMargins(0, 0, 0, 0);
  lineFunctionsLabel_ = named(new QLabel, "LFonction");
  lineFunctions = named(new QComboBox, "CBFonction");
  lineNumberLabel_ = named(new QLabel, "LLine");
  lineNumber = named(new QLineEdit("1"), "ELine");
  searchLabel_ = named(new QLabel, "LSearch");
  search = named(new QLineEdit, "ESearch");
  lineFunctionsLabel_->setBuddy(lineFunctions);
  lineNumberLabel_->setBuddy(lineNumber);
  searchLabel_->setBuddy(search);
  form->addRow(lineFunctionsLabel_);
  form->addRow(lineFunctions);
  form->addRow(lineNumberLabel_, lineNumber);
  form->addRow(searchLabel_);
  form->addRow(search);
  functions =
      new FoldingPanel("PFonction", "LMenuFonction", "IMGUp", "IMGDown", functionsBody, 168);
  bottomLayout->addWidget(functions);

  auto* categoriesBody = new QWidget;
  auto* categoriesLayout = new QVBoxLayout(categoriesBody);
  categoriesLayout->setContentsMargins(0, 0, 0, 0);
  categoryList = named(new QListWidget, "CLBCategorie");
  auto* buttons = new QHBoxLayout;
  editCategories = named(new QPushButton("..."), "BEditCateg");
  editCategories->setMaximumWidth(32);
  updateCategories = named(new QPushButton, "BCategUpdate");
  buttons->addWidget(editCategories);
  buttons->addWidget(updateCategories, 1);
  categoriesLayout->addWidget(categoryList);
  categoriesLayout->addLayout(buttons);
  categories =
      new FoldingPanel("PCategorie", "LCateg", "IMGUpCateg", "IMGDownCateg", categoriesBody, 160);
  bottomLayout->addWidget(categories);

  auto* exitPanel = named(new QWidget, "PMenuExit");
  exitPanel->setFixedHeight(41);
  auto* exitLayout = new QHBoxLayout(exitPanel);
  exitLayout->setContentsMargins(8, 6, 8, 6);
  exit = named(new QPushButton, "BExit");
  exitLayout->addWidget(exit);
  bottomLayout->addWidget(exitPanel);
}

void StripPanel::setStrings(const i18n::StringTable& s) {
  const auto text = [&](Str id) { return qs(s[id]); };
  exit->setText(text(Str::sMainClose));
  lineNumberLabel_->setText(text(Str::sMainLineLabel));
  searchLabel_->setText(text(Str::sMainSearchLabel));
  lineFunctionsLabel_->setText(text(Str::sMainFunctionLabel));
  functions->setTitle(text(Str::sMainFunctionsLabel));
  categories->setTitle(text(Str::sMainCategoriesLabel));
  updateCategories->setText(text(Str::sMainCategoriesUpdate));
  // "..." opens the category manager: it goes by that window's title.
  editCategories->setAccessibleName(text(Str::sCategTitle));
  editCategories->setToolTip(text(Str::sCategTitle));
  categoryList->setAccessibleName(text(Str::sMainCategoriesLabel));
  strip->setAccessibleName(qs(s[Str::sMainCards]));
  lineNumber->setToolTip(text(Str::sMainLineHint));
  search->setToolTip(text(Str::sMainSearchHint));
  lineFunctions->clear();
  for (int id = static_cast<int>(Str::sFuncReload); id <= static_cast<int>(Str::sFuncRemoveSpaces);
       ++id)
    lineFunctions->addItem(qs(s.at(id)));
}

void StripPanel::setCategories(const store::Store& store, const i18n::StringTable& s) {
  const std::string& filter = store.settings.categoryFilter();
  const auto add = [&](const std::string& name, const std::string& id) {
    auto* item = new QListWidgetItem(qs(name), categoryList);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(store::filterShowsCategory(filter, id) ? Qt::Checked : Qt::Unchecked);
    item->setData(Qt::UserRole, qs(id));
  };
  categoryList->clear();
  add(s[Str::sCategStandard], "0");
  for (int k = 0; k < store.categories.count(); ++k)
    add(store.categories.name(k), store.categories.id(k));
}

}  // namespace qw::gui
