#pragma once
// A row of controls that wraps onto further rows when the window is too narrow for it, as words
// wrap in a line of text: a small screen or a large scale still shows every control.

#include <QLayout>
#include <QList>

namespace qw::gui {

class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(int spacing, QWidget* parent = nullptr);
  ~FlowLayout() override;

  // Puts `widget` at `index` of the row (at its end when out of range).
  void insertWidget(int index, QWidget* widget);

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Lays the items out in `rect` (only measures when `apply` is false); the height used.
  int arrange(const QRect& rect, bool apply) const;

  QList<QLayoutItem*> items_;
};

}  // namespace qw::gui
