#pragma once
// The short notice in the lower right corner of the work area that confirms or refuses an
// action done away from the main window. It never takes the focus and closes by itself.

#include <QColor>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace qw::gui {

class InfoPopup : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kShownMs = 1200;
  // The two colours callers use: success and error.
  static QColor successColour() { return QColor(0x78, 0x85, 0xB7); }  // "$00B78578"
  static QColor errorColour() { return QColor(0xFF, 0x00, 0x00); }    // "$000000FF"

  explicit InfoPopup(QWidget* parent = nullptr);

  // Shows `text` on `colour`. While the popup is already showing, the first text, colour,
  // place and timer stay.
  void popUp(const QString& text, const QColor& colour);
  QString text() const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QLabel* panel_;
  QTimer timer_;
};

}  // namespace qw::gui
