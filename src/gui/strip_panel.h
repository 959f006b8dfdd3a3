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

// The left side of the window: the card strip above the functions panel (line functions,
// go to line, search), the categories panel and the exit button. The two panels open and
// close with their arrow buttons and start closed.
class StripPanel : public QWidget {
  Q_OBJECT
 public:
  explicit StripPanel(QWidget* parent = nullptr);

  void setStrings(const i18n::StringTable& strings);
  // Fills the category check list from the categories and the filter of the settings.
  void setCategories(const store::Store& store, const i18n::StringTable& strings);

  CardStripView* strip;
  QWidget* functions;  // PFonction
  QComboBox* lineFunctions;
  QLineEdit* lineNumber;
  QLineEdit* search;
  QWidget* categories;  // PCategorie
  QListWidget* categoryList;
  QPushButton* editCategories;
  QPushButton* updateCategories;
  QPushButton* exit;

 private:
  struct Header {
    QLabel* title;
    QToolButton* open;   // shown while the panel is closed
    QToolButton* close;  // shown while it is open
  };
  QWidget* foldingPanel(const char* name, const char* titleName, const char* openName,
                        const char* closeName, QWidget* body, Header& header);

  Header functionsHeader_{};
  Header categoriesHeader_{};
  QLabel* lineFunctionsLabel_;
  QLabel* lineNumberLabel_;
  QLabel* searchLabel_;
};

}  // namespace qw::gui
