#include "gui/main_window.h"

namespace qw::gui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("TFGQuillWick");
}

}  // namespace qw::gui
