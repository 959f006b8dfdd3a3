#pragma once

#include <QColor>
#include <QScrollArea>
#include <vector>

#include "core/notebook/notebook.h"

class QLabel;

namespace qw::gui {

// The strip of card names on the left: one clickable label per shown card, the main card's
// first, and the ">" marker beside the selected one. Labels sit 24 pixels apart.
class CardStripView : public QScrollArea {
  Q_OBJECT
 public:
  struct Look {
    QColor background;
    QColor name;      // unselected names
    QColor selected;  // the selected name and the marker
  };

  explicit CardStripView(QWidget* parent = nullptr);

  void setLook(const Look& look);
  // Rebuilds the card labels; position 0 stays the main card's label.
  void setEntries(const std::vector<notebook::StripEntry>& entries);
  // Selects a label and scrolls just enough to keep the marker in view: below the last visible
  // 45 pixels the strip scrolls down, above the top it scrolls back to the label.
  void select(int position);

  int count() const { return static_cast<int>(labels_.size()); }
  QLabel* label(int position) const { return labels_.at(position); }
  int selected() const { return selected_; }

 signals:
  void clicked(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr int kLeft = 16;
  static constexpr int kTop = 10;
  static constexpr int kStep = 24;

  void style(QLabel* label, bool selected) const;
  void layoutCanvas();
  void keepMarkerInView();

  Look look_;
  QWidget* canvas_;
  QLabel* marker_;
  QLabel* bottom_;
  std::vector<QLabel*> labels_;
  int selected_ = 0;
};

}  // namespace qw::gui
