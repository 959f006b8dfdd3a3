#pragma once

#include <QColor>
#include <QLabel>
#include <QScrollArea>
#include <vector>

#include "core/notebook/notebook.h"

namespace qw::gui {

// A card's name in the strip: its tag is its position, its hint the card's number. Declared
// properties, not dynamic ones: setting those sends an event, and a strip makes 500 labels.
class StripLabel : public QLabel {
  Q_OBJECT
  Q_PROPERTY(int tag MEMBER tag)
  Q_PROPERTY(QString hint MEMBER hint)
 public:
  using QLabel::QLabel;
  int tag = 0;
  QString hint;
};

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

  int count() const { return static_cast<int>(count_); }
  // A strip of hundreds of cards makes the labels below the screen when they could be seen
  // (or for assistive technology); asking for one makes them at once.
  QLabel* label(int position);
  int selected() const { return selected_; }
  // The position of one of the strip's labels, or -1.
  int positionOf(const QObject* label) const;
  // Acts as a click on the label at `position` (assistive technology's press).
  void choose(int position);

 signals:
  void clicked(int position);
  // The arrow keys (Home, End, Page Up and Down too) moved the selection there; the focus
  // stays in the strip.
  void stepped(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  static constexpr int kLeft = 16;
  static constexpr int kTop = 10;
  static constexpr int kStep = 24;

  // Makes the labels up to position `end` and shows the names in them.
  void fillLabels(size_t end);
  // The labels still to be made, made.
  void makeRest();
  void style(QLabel* label, bool selected) const;
  // The selected name's font: the canvas's, in bold.
  QFont selectedFont() const;
  // The size of a label showing `name` in the font of `metrics`.
  static QSize nameSize(const QFontMetrics& metrics, const QString& name);
  void layoutCanvas();
  void keepMarkerInView();
  // Tells assistive technology which card is selected (and has the focus, with the strip).
  void announceSelection(int previous);

  Look look_;
  QWidget* canvas_;
  QLabel* marker_;
  QLabel* bottom_;
  std::vector<StripLabel*> labels_;  // the first labels, or all of them
  std::vector<QString> names_;
  std::vector<int> cards_;
  size_t count_ = 1;         // labels the strip holds, made or not
  bool restDue_ = false;     // labels are still to be made
  bool restQueued_ = false;  // their making waits for the end of a paint
  int selected_ = 0;
};

}  // namespace qw::gui
