#pragma once
// A panel under the card strip that folds to its title bar: one arrow button opens it, the
// other closes it, a double click on the panel does whichever applies. Its height is fixed
// in both states, so the strip above takes what is left.

#include <QWidget>

class QLabel;
class QToolButton;

namespace qw::gui {

class FoldingPanel : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kClosedHeight = 25;

  // `openName` is the button shown while the panel is closed, `closeName` the other one.
  FoldingPanel(const char* name, const char* titleName, const char* openName, const char* closeName,
               QWidget* body, int openHeight, QWidget* parent = nullptr);

  bool isOpen() const { return open_; }
  void setOpen(bool open);
  void setTitle(const QString& title);

 signals:
  void openChanged(bool open);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QWidget* body_;
  QLabel* title_;
  QToolButton* openButton_;
  QToolButton* closeButton_;
  int openHeight_;
  bool open_ = true;
};

}  // namespace qw::gui
