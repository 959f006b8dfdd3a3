#pragma once

#include <QMainWindow>
#include <optional>

#include "core/i18n/strings.h"
#include "core/store/store.h"

namespace qw::ports {
class PlatformServices;
}

namespace qw::gui {

// The program's only long-lived window. Nothing is read from disk until its first show.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(store::StoreLocation where, ports::PlatformServices& platform,
             QWidget* parent = nullptr);

  // True once the first show has loaded the data folder.
  bool loaded() const { return store_.has_value(); }
  const store::Store& store() const { return *store_; }
  const i18n::StringTable& strings() const { return *strings_; }

 public slots:
  // Ends the program the way Quit and a session end do: the index and settings are written.
  void quit();

 signals:
  // The data folder could not be loaded; the message says why.
  void loadFailed(const QString& message);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void firstShow();
  void saveOnExit();

  store::StoreLocation where_;
  ports::PlatformServices& platform_;
  std::optional<store::Store> store_;
  std::optional<i18n::StringTable> strings_;
  bool firstShowDone_ = false;
  bool quitRequested_ = false;
};

}  // namespace qw::gui
