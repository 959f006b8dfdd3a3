#include "gui/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QShowEvent>

#include "core/store/store_error.h"

namespace qw::gui {

MainWindow::MainWindow(store::StoreLocation where, ports::PlatformServices& platform,
                       QWidget* parent)
    : QMainWindow(parent), where_(std::move(where)), platform_(platform) {
  setObjectName("TFGQuillWick");
  // The title until the string table is known.
  setWindowTitle("KTRquillWick");
  resize(984, 683);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!firstShowDone_) {
    firstShowDone_ = true;
    firstShow();
  }
}

void MainWindow::firstShow() {
  try {
    store_ = store::loadStore(where_, platform_);
  } catch (const std::exception& e) {
    emit loadFailed(QString::fromStdString(e.what()));
    return;
  }
  strings_ = i18n::StringTable::forLanguage(store_->language);
  setWindowTitle(QString::fromStdString((*strings_)[i18n::Str::sMainTitle]));
}

void MainWindow::quit() {
  quitRequested_ = true;
  // close() alone does not end the program while the window is hidden.
  if (close()) QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  saveOnExit();
  event->accept();
}

void MainWindow::saveOnExit() {
  if (!store_) return;
  try {
    store::saveCardIndex(*store_);
    store::saveSettings(*store_, platform_);
  } catch (const store::StoreError& e) {
    QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
  }
}

}  // namespace qw::gui
