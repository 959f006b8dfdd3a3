#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>

#include "core/i18n/strings.h"

class QLabel;
class QPushButton;

namespace qw::gui {

// TFAPropos: the title, the version and the product page, with one close button.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kProductPage = "https://quillwick.org";

  explicit AboutDialog(QWidget* parent = nullptr);

  void setStrings(const i18n::StringTable& strings);
  // Where the cards live when the folder beside the program could not be used; empty hides it.
  void setPerUserDataFolder(const std::filesystem::path& folder);
  // Opens the product page; the main window passes the browser it knows.
  void setPageOpener(std::function<void(const QString& address)> open) { open_ = std::move(open); }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void colourLink();

  QLabel* link_;
  QLabel* dataFolder_;
  QPushButton* close_;
  std::function<void(const QString&)> open_;
  QString dataFolderPrefix_;
};

}  // namespace qw::gui
