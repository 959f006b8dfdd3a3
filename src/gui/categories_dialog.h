#pragma once

#include <QDialog>
#include <exception>
#include <memory>

#include "core/i18n/strings.h"
#include "core/ports/prompts.h"
#include "core/store/store.h"
#include "gui/message_prompts.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qw::gui {

// The category manager (TFCategorie): a name to add, the categories in file order, add and
// delete. Every change is written to categ.kvn at once; the list and captions are rebuilt
// from the store each time the dialog is shown. The caller rebuilds its category filter
// afterwards, since adding a category changes the filter's value.
class CategoriesDialog : public QDialog {
  Q_OBJECT
 public:
  // `prompts` asks the deletion's question and reports errors; without one, message boxes
  // over this dialog do.
  CategoriesDialog(store::Store& store, const i18n::StringTable& strings,
                   ports::Prompts* prompts = nullptr, QWidget* parent = nullptr);
  ~CategoriesDialog() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addName();
  void deleteSelected();
  void fillList();
  void report(const std::exception& error);

  store::Store& store_;
  const i18n::StringTable& strings_;
  std::unique_ptr<MessagePrompts> ownPrompts_;
  ports::Prompts* prompts_;

  QLineEdit* name_;      // EAjout
  QListWidget* list_;    // LBCategorie
  QPushButton* add_;     // BAdd
  QPushButton* delete_;  // BSuppr
  QPushButton* close_;   // BClose
};

}  // namespace qw::gui
