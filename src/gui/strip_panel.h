#pragma once

#include <QWidget>

#include "core/i18n/strings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace qw::store {
struct Store;
}

namespace qw::gui {

class CardStripView;
class FoldingPanel;

// The left side of the window: the card strip above the functions panel (line functions,
// go to line, search), the categories panel and the exit button. The two panels start closed.
class StripPanel : public QWidget {
  Q_OBJECT
 public:
  explicit StripPanel(QWidget* parent = nullptr);

  void setStrings(const i18n::StringTable& strings);
  // Fills the category check list from the categories and the filter of the settings.
  void setCategories(const store::Store& store, const i18n::StringTable& strings);

  CardStripView* strip;
  FoldingPanel* functions;  // PFonction
  QComboBox* lineFunctions;
  QLineEdit* lineNumber;
  QLineEdit* search;
  FoldingPanel* categories;  // PCategorie
  QListWidget* categoryList;
  QPushButton* editCategories;
  QPushButton* updateCategories;
  QPushButton* exit;

 private:
  QLabel* lineFunctionsLabel_;
  QLabel* lineNumberLabel_;
  QLabel* searchLabel_;
};

}  // namespace qw::gui
