#include "gui/transfer_commands.h"

#include <QFileDialog>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolButton>

#include "core/notebook/notebook.h"
#include "core/ports/prompts.h"
#include "gui/card_editor.h"
#include "gui/card_printer.h"
#include "gui/editor_panel.h"
#include "gui/format_bar.h"
#include "gui/info_popup.h"
#include "gui/qt_text.h"

namespace qw::gui {
using i18n::Str;

namespace {

// A sheet of paper with a mark on it, drawn for the button's size at any screen scale.
QIcon sheetIcon(const QString& mark, const QColor& ink) {
  QPixmap pixmap(QSize(32, 32));
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath sheet;
  sheet.moveTo(6, 2);
  sheet.lineTo(20, 2);
  sheet.lineTo(26, 8);
  sheet.lineTo(26, 30);
  sheet.lineTo(6, 30);
  sheet.closeSubpath();
  painter.setPen(QPen(QColor(90, 90, 90), 1.5));
  painter.setBrush(Qt::white);
  painter.drawPath(sheet);
  // The window's bold face, scaled to the mark's size: a font of another size would be one
  // more to load at start.
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(ink);
  const qreal scale = (mark.size() > 1 ? 10.0 : 15.0) / QFontInfo(font).pixelSize();
  painter.translate(16, 19);
  painter.scale(scale, scale);
  painter.drawText(QRectF(-10 / scale, -11 / scale, 20 / scale, 22 / scale), Qt::AlignCenter, mark);
  return QIcon(pixmap);
}

QToolButton* toolButton(const char* name, const QIcon& icon) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setIcon(icon);
  button->setAutoRaise(true);
  button->setMinimumSize(23, 22);
  return button;
}

QString chooseWithDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

TransferCommands::TransferCommands(EditorPanel& editor, ports::Prompts& prompts, InfoPopup& popup,
                                   QWidget* dialogParent)
    : QObject(&editor),
      editor_(editor),
      prompts_(prompts),
      popup_(popup),
      dialogParent_(dialogParent),
      chooseFile_(chooseWithDialog),
      print_([this](const QString& name) { return printOnDefaultPrinter(name); }) {
  makeButtons();
}

// Qt's own dialogs: the same on every desktop, and they keep the settings an export leaves.
// Made on first use: each costs more than the whole strip of cards at start.
QFileDialog* TransferCommands::openDialog() {
  if (!openDialog_) {
    openDialog_ = new QFileDialog(dialogParent_);
    openDialog_->setObjectName("OpenDialog1");
    openDialog_->setOption(QFileDialog::DontUseNativeDialog);
    openDialog_->setFileMode(QFileDialog::ExistingFile);
    openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
  }
  return openDialog_;
}

QFileDialog* TransferCommands::saveDialog() {
  if (!saveDialog_) {
    saveDialog_ = new QFileDialog(dialogParent_);
    saveDialog_->setObjectName("SaveDialog1");
    saveDialog_->setOption(QFileDialog::DontUseNativeDialog);
    saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
    // The replace question is asked by the export itself, with the program's words.
    saveDialog_->setOption(QFileDialog::DontConfirmOverwrite);
  }
  return saveDialog_;
}

void TransferCommands::makeButtons() {
  printButton_ = toolButton("BPrint", sheetIcon("P", QColor(40, 40, 40)));
  insertButton_ = toolButton("BInsert", sheetIcon("+", QColor(0, 120, 0)));
  exportButton_ = toolButton("BExport", sheetIcon("RTF", QColor(160, 0, 0)));
  exportTextButton_ = toolButton("BExportText", sheetIcon("TXT", QColor(0, 0, 160)));
  synchroButton_ =
      toolButton("BSynchro", sheetIcon(QString::fromUtf8("\u21C4"), QColor(0, 90, 160)));
  const std::pair<QToolButton*, void (TransferCommands::*)()> buttons[] = {
      {printButton_, &TransferCommands::print},
      {insertButton_, &TransferCommands::insertFile},
      {exportButton_, &TransferCommands::exportRtf},
      {exportTextButton_, &TransferCommands::exportText},
      {synchroButton_, &TransferCommands::synchronise}};
  for (const auto& [button, slot] : buttons) {
    editor_.formatBar()->addTrailingWidget(button);
    connect(button, &QToolButton::clicked, this, slot);
  }
  editor_.runAfterFirstPaint([this] { takeThemeIcons(); });
}

void TransferCommands::takeThemeIcons() {
  // The desktop's own pictures where its icon theme has them: reading the theme from disk is
  // why this waits for the first paint. A sheet marked RTF or TXT is a document of that kind.
  const std::pair<QToolButton*, const char*> themed[] = {{printButton_, "document-print"},
                                                         {insertButton_, "insert-text"},
                                                         {exportButton_, "x-office-document"},
                                                         {exportTextButton_, "text-x-generic"},
                                                         {synchroButton_, "view-refresh"}};
  for (const auto& [button, name] : themed)
    button->setIcon(QIcon::fromTheme(QString::fromLatin1(name), button->icon()));
}

void TransferCommands::setNotebook(notebook::Notebook* notebook, const i18n::StringTable* strings) {
  notebook_ = notebook;
  strings_ = strings;
  applyStrings();
}

void TransferCommands::setErrorReport(std::function<void(const std::exception&)> report) {
  report_ = std::move(report);
}

void TransferCommands::applyStrings() {
  if (!strings_) return;
  const auto hint = [&](Str id) { return qs((*strings_)[id]); };
  printButton_->setToolTip(hint(Str::sMainPrintHint));
  insertButton_->setToolTip(hint(Str::sMainInsertHint));
  exportButton_->setToolTip(hint(Str::sMainExportRtfHint));
  exportTextButton_->setToolTip(hint(Str::sMainExportTextHint));
  synchroButton_->setToolTip(hint(Str::sMainSynchroHint));
  for (QToolButton* button :
       {printButton_, insertButton_, exportButton_, exportTextButton_, synchroButton_})
    button->setAccessibleName(button->toolTip());
}

void TransferCommands::run(const std::function<void()>& command) {
  if (!notebook_) return;
  try {
    command();
  } catch (const std::exception& error) {
    if (report_) report_(error);
  }
}

bool TransferCommands::printOnDefaultPrinter(const QString& cardName) {
  const QPrinterInfo target = QPrinterInfo::defaultPrinter();
  if (target.isNull()) return false;
  QPrinter printer(target, QPrinter::HighResolution);
  printCard(editor_.document(), cardName, printer);
  return true;
}

void TransferCommands::print() {
  if (!notebook_ || editor_.document().isEmpty()) return;
  const auto& s = *strings_;
  if (!prompts_.question(s[Str::sMsgPrintTitle], s[Str::sMsgPrintQuestion])) return;
  if (!print_(qs(notebook_->current().name))) prompts_.message(s[Str::sErrNoPrinter]);
}

void TransferCommands::insertFile() {
  if (!notebook_) return;
  const QString file = chooseFile_(*openDialog());
  if (file.isEmpty()) return;
  run([&] { notebook_->insertFile(store::utf8Path(utf8(file))); });
}

QString TransferCommands::chooseExportFile(const QString& extension) {
  QFileDialog* dialog = saveDialog();
  dialog->setDefaultSuffix(extension);
  dialog->setNameFilter("*." + extension);
  dialog->selectFile("*." + extension);
  return chooseFile_(*dialog);
}

void TransferCommands::exportRtf() {
  if (!notebook_) return;
  const QString file = chooseExportFile("rtf");
  if (file.isEmpty()) return;
  run([&] { notebook_->exportRtf(store::utf8Path(utf8(file))); });
}

void TransferCommands::exportText() {
  if (!notebook_) return;
  const QString file = chooseExportFile("txt");
  if (file.isEmpty()) return;
  run([&] { notebook_->exportText(store::utf8Path(utf8(file))); });
}

void TransferCommands::synchronise() {
  if (!notebook_ || !notebook_->canSynchronise()) return;
  run([&] {
    const auto outcome = notebook_->synchronise([&] { return utf8(chooseFile_(*saveDialog())); });
    if (!outcome) return;
    popup_.popUp(qs(outcome->text),
                 outcome->failed ? InfoPopup::errorColour() : InfoPopup::successColour());
    emit cardReloaded();
  });
}

}  // namespace qw::gui
