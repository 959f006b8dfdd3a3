#pragma once
// Find in all cards: a field, two ticks and the hits listed as they are found (card, line, the
// line with the hit marked). The search runs on the finder's thread; each keystroke starts a new
// one and cancels the one running. Enter or a double click on a hit asks the window to open it.

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

#include "core/find/card_finder.h"
#include "core/i18n/strings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qw::gui {

class FindInCardsDialog : public QDialog {
  Q_OBJECT
 public:
  // The cards to search now, all of them or only those of the shown categories.
  using CardSource = std::function<std::vector<find::SearchedCard>(bool shownCategoriesOnly)>;

  // `finder` outlives the dialog: the window destroys it, and with it the thread, first.
  FindInCardsDialog(find::CardFinder& finder, std::filesystem::path dataFolder, CardSource cards,
                    QWidget* parent);
  ~FindInCardsDialog() override;

  void setStrings(const i18n::StringTable& strings);
  // Shows the dialog in front with the field's text selected, and searches again: the cards
  // may have changed since.
  void open() override;
  QString query() const;

 signals:
  // A hit chosen; the window opens its card and selects it.
  void openHit(const find::FoundLine& hit, const QString& query);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void search();
  void addCard(int generation, const std::string& cardName, find::CardOutcome outcome,
               std::vector<find::FoundLine> lines);
  void finish(int generation, const find::FindSummary& summary);
  void openItem(QTreeWidgetItem* item);

  find::CardFinder& finder_;
  std::filesystem::path dataFolder_;
  CardSource cards_;
  i18n::StringTable strings_;
  QLabel* fieldLabel_;
  QLineEdit* field_;
  QCheckBox* ignoreAccents_;
  QCheckBox* shownCategoriesOnly_;
  QTreeWidget* hits_;
  QLabel* status_;
  // The hits of the rows, by the number each row keeps.
  std::vector<find::FoundLine> found_;
  find::CardFinder::Handle running_;
  // Reports of a search that a newer one replaced are dropped by this number.
  int generation_ = 0;
};

}  // namespace qw::gui
