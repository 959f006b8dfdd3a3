#pragma once
// The five buttons at the end of the formatting bar and what they do with the shown card:
// print it, append a file to it, export it as RTF or as plain text, synchronise it with its
// partner file.

#include <QObject>
#include <functional>
#include <optional>

#include "core/i18n/strings.h"

class QFileDialog;
class QToolButton;
class QWidget;

namespace qw::notebook {
class Notebook;
}
namespace qw::ports {
class Prompts;
}

namespace qw::gui {

class EditorPanel;
class InfoPopup;

class TransferCommands : public QObject {
  Q_OBJECT
 public:
  // Runs a file dialog and returns the chosen path, or an empty text when cancelled.
  using FileChooser = std::function<QString(QFileDialog& dialog)>;
  // Prints the card: false when there is no printer to print on.
  using Printer = std::function<bool(const QString& cardName)>;

  TransferCommands(EditorPanel& editor, ports::Prompts& prompts, InfoPopup& popup,
                   QWidget* dialogParent);

  // The notebook the commands act on, set once the data folder is loaded; the strings too.
  void setNotebook(notebook::Notebook* notebook, const i18n::StringTable* strings);
  // A failed file read or write ends a command through this report.
  void setErrorReport(std::function<void(const std::exception&)> report);
  void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  void setPrinter(Printer printer) { print_ = std::move(printer); }

  QFileDialog* openDialog();  // OpenDialog1
  QFileDialog* saveDialog();  // SaveDialog1

 public slots:
  void print();
  void insertFile();
  void exportRtf();
  void exportText();
  void synchronise();

 signals:
  // The editor was filled again from the card's files.
  void cardReloaded();

 private:
  void makeButtons();
  // The icon theme's pictures for the buttons it has, in place of the drawn ones.
  void takeThemeIcons();
  void applyStrings();
  // Sets up SaveDialog1 for an export and runs it; empty when cancelled.
  QString chooseExportFile(const QString& extension);
  void run(const std::function<void()>& command);
  bool printOnDefaultPrinter(const QString& cardName);

  EditorPanel& editor_;
  ports::Prompts& prompts_;
  InfoPopup& popup_;
  QWidget* dialogParent_;
  notebook::Notebook* notebook_ = nullptr;
  const i18n::StringTable* strings_ = nullptr;
  std::function<void(const std::exception&)> report_;
  FileChooser chooseFile_;
  Printer print_;
  QFileDialog* openDialog_ = nullptr;
  QFileDialog* saveDialog_ = nullptr;
  QToolButton* printButton_ = nullptr;
  QToolButton* insertButton_ = nullptr;
  QToolButton* exportButton_ = nullptr;
  QToolButton* exportTextButton_ = nullptr;
  QToolButton* synchroButton_ = nullptr;
};

}  // namespace qw::gui
