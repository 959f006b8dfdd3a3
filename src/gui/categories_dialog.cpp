#include "gui/categories_dialog.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/notebook/categories.h"
#include "core/notebook/error_text.h"
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

CategoriesDialog::CategoriesDialog(store::Store& store, const i18n::StringTable& strings,
                                   ports::Prompts* prompts, QWidget* parent)
    : QDialog(parent),
      store_(store),
      strings_(strings),
      ownPrompts_(prompts ? nullptr : std::make_unique<MessagePrompts>(this)),
      prompts_(prompts ? prompts : ownPrompts_.get()),
      name_(named(new QLineEdit, "EAjout")),
      list_(named(new QListWidget, "LBCategorie")),
      add_(named(new QPushButton, "BAdd")),
      delete_(named(new QPushButton, "BSuppr")),
      close_(named(new QPushButton, "BClose")) {
  setObjectName("TFCategorie");
  setModal(true);

  auto* layout = new QGridLayout(this);
  layout->addWidget(name_, 0, 0);
  layout->addWidget(add_, 0, 1);
  layout->addWidget(list_, 1, 0, 3, 1);
  layout->addWidget(delete_, 1, 1);
  layout->setRowStretch(2, 1);
  layout->addWidget(close_, 3, 1);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setMinimumSize(260, 200);
  list_->installEventFilter(this);

  // Enter in the name adds it; Escape closes like the close button.
  add_->setDefault(true);
  setTabOrder(name_, add_);
  setTabOrder(add_, list_);
  setTabOrder(list_, delete_);
  setTabOrder(delete_, close_);

  connect(add_, &QPushButton::clicked, this, &CategoriesDialog::addName);
  connect(delete_, &QPushButton::clicked, this, &CategoriesDialog::deleteSelected);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

CategoriesDialog::~CategoriesDialog() = default;

void CategoriesDialog::showEvent(QShowEvent* event) {
  setWindowTitle(qs(strings_[Str::sCategTitle]));
  add_->setText(qs(strings_[Str::sCategAdd]));
  delete_->setText(qs(strings_[Str::sCategDelete]));
  close_->setText(qs(strings_[Str::sCategClose]));
  // The table's two label texts are shown nowhere; screen readers still get the names.
  name_->setAccessibleName(qs(strings_[Str::sCategNameLabel]));
  list_->setAccessibleName(qs(strings_[Str::sCategListLabel]));
  if (ownPrompts_) ownPrompts_->setTitle(qs(strings_[Str::sMainTitle]));
  name_->clear();
  fillList();
  name_->setFocus();
  QDialog::showEvent(event);
}

bool CategoriesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete) {
      deleteSelected();
      return true;
    }
    // Enter on the list must not add whatever the name field holds.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void CategoriesDialog::fillList() {
  list_->clear();
  const auto& categories = store_.categories;
  for (int k = 0; k < categories.count(); ++k) list_->addItem(qs(categories.name(k)));
}

void CategoriesDialog::addName() {
  try {
    if (!notebook::addCategory(store_, utf8(name_->text()))) return;
  } catch (const std::exception& error) {
    report(error);
    return;
  }
  // The name stays in the field, so similar names are quick to type.
  fillList();
  list_->scrollToBottom();
}

void CategoriesDialog::deleteSelected() {
  const auto selected = list_->selectedItems();
  if (selected.isEmpty()) return;
  try {
    const auto result =
        notebook::deleteCategory(store_, list_->row(selected.front()), *prompts_, strings_);
    if (result != notebook::DeleteResult::Deleted) return;
  } catch (const std::exception& error) {
    report(error);
    return;
  }
  fillList();
}

void CategoriesDialog::report(const std::exception& error) {
  prompts_->message(notebook::errorText(error, strings_));
}

}  // namespace qw::gui
