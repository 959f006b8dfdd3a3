#pragma once

#include <QMainWindow>

namespace qw::gui {

// The program's only long-lived window.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace qw::gui
