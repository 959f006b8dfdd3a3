// The five transfer buttons in the window: the file dialogs they set up and what lands on disk.

#include "gui/transfer_commands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "gui/info_popup.h"
#include "gui/main_window_fixture.h"

namespace qw::gui {
namespace {

namespace fs = std::filesystem;
using fixtures::answerNextBox;
using fixtures::readFile;
using fixtures::write;

class Transfers : public fixtures::FullWindow {
 protected:
  MainWindow& start() {
    window = &shownWindow();
    window->transfers().setFileChooser([this](QFileDialog& dialog) {
      dialogs.push_back(&dialog);
      suffixes.push_back(dialog.defaultSuffix());
      filters.push_back(dialog.nameFilters().join(";"));
      return chosen;
    });
    return *window;
  }
  void press(const char* button) { window->findChild<QToolButton*>(button)->click(); }

  MainWindow* window = nullptr;
  QString chosen;
  std::vector<QFileDialog*> dialogs;
  QStringList suffixes;
  QStringList filters;
};

TEST_F(Transfers, ButtonsSitOnTheFormattingBarWithTheirHints) {
  start();
  const std::pair<const char*, const char*> hints[] = {{"BPrint", "Print"},
                                                       {"BInsert", "Insert"},
                                                       {"BExport", "Export in RTF"},
                                                       {"BExportText", "Export in Text"},
                                                       {"BSynchro", "Synchronize"}};
  int left = -1;
  for (const auto& [name, hint] : hints) {
    auto* button = window->findChild<QToolButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_GT(button->x(), left) << name;  // side by side in this order
    left = button->x();
  }
}

// An icon theme of its own for the test: `icons` in it, at 16 pixels; Qt's own theme settings
// come back afterwards.
class IconTheme {
 public:
  explicit IconTheme(const QStringList& icons) {
    QDir root(folder_.path());
    root.mkpath("test-theme/16x16/actions");
    write(fs::path(root.filePath("test-theme/index.theme").toStdString()),
          "[Icon Theme]\nName=Test\nDirectories=16x16/actions\n\n"
          "[16x16/actions]\nSize=16\nContext=Actions\nType=Fixed\n");
    QPixmap red(16, 16);
    red.fill(Qt::red);
    for (const QString& icon : icons)
      red.save(root.filePath("test-theme/16x16/actions/" + icon + ".png"));
    QIcon::setThemeSearchPaths({root.path()});
    QIcon::setThemeName("test-theme");
  }
  ~IconTheme() {
    QIcon::setThemeSearchPaths(paths_);
    QIcon::setThemeName(name_);
  }
  IconTheme(const IconTheme&) = delete;
  IconTheme& operator=(const IconTheme&) = delete;

 private:
  QStringList paths_ = QIcon::themeSearchPaths();
  QString name_ = QIcon::themeName();
  QTemporaryDir folder_;
};

// The theme's icon names of the five buttons, as they show; empty for a drawn icon.
QStringList iconNames(MainWindow& window) {
  QStringList names;
  for (const char* button : {"BPrint", "BInsert", "BExport", "BExportText", "BSynchro"}) {
    const QIcon icon = window.findChild<QToolButton*>(button)->icon();
    EXPECT_FALSE(icon.isNull()) << button;
    names << icon.name();
  }
  return names;
}

const QStringList kThemed = {"document-print", "insert-text", "x-office-document", "text-x-generic",
                             "view-refresh"};

TEST_F(Transfers, ButtonsTakeTheThemesIconsOnceTheWindowIsDrawn) {
  const IconTheme theme(kThemed);
  start();
  // Not at start: the theme is read after the first paint.
  EXPECT_EQ(iconNames(*window), QStringList(5, QString()));
  QElapsedTimer waited;
  waited.start();
  while (iconNames(*window) != kThemed && waited.elapsed() < 5000) QTest::qWait(20);
  EXPECT_EQ(iconNames(*window), kThemed);
}

TEST_F(Transfers, ButtonsKeepTheirDrawnIconsWhereTheThemeHasNone) {
  // A theme with only one of them: that one is taken, the others stay drawn.
  const IconTheme theme({"view-refresh"});
  start();
  QTest::qWait(300);
  EXPECT_EQ(iconNames(*window), (QStringList{"", "", "", "", "view-refresh"}));
}

// Every button of the formatting bar says what it does when the pointer rests on it.
TEST_F(Transfers, EveryButtonOfTheFormattingBarHasItsHint) {
  start();
  auto* bar = window->findChild<QWidget*>("PMenuTop");
  ASSERT_NE(bar, nullptr);
  const QList<QAbstractButton*> buttons = bar->findChildren<QAbstractButton*>();
  EXPECT_GE(buttons.size(), 11);
  for (QAbstractButton* button : buttons)
    EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
}

TEST_F(Transfers, ExportsWriteTheShownCardAndSetUpTheSaveDialogForTheSyncLinkToo) {
  start();
  chosen = QString::fromStdString((folder / "out.txt").string());
  press("BExportText");
  EXPECT_EQ(readFile(folder / "out.txt"), "text 3\r\n");
  chosen = QString::fromStdString((folder / "out.rtf").string());
  press("BExport");
  EXPECT_TRUE(readFile(folder / "out.rtf").starts_with("{\\rtf1")) << readFile(folder / "out.rtf");
  EXPECT_NE(readFile(folder / "out.rtf").find("text 3"), std::string::npos);
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0]->objectName(), "SaveDialog1");
  EXPECT_EQ(dialogs[0], dialogs[1]);
  EXPECT_EQ(suffixes, (QStringList{"txt", "rtf"}));
  EXPECT_EQ(filters, (QStringList{"*.txt", "*.rtf"}));

  // The synchronisation link is chosen in the same dialog, still set up by the last export.
  chosen.clear();
  QString message;
  answerNextBox(QMessageBox::Ok, &message);
  press("BSynchro");
  EXPECT_TRUE(message.startsWith("Synchronization link is empty")) << message.toStdString();
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(suffixes.back(), "rtf");
}

TEST_F(Transfers, DecliningToReplaceAnExportLeavesTheFileAndSaysSo) {
  start();
  write(folder / "keep.txt", "precious");
  chosen = QString::fromStdString((folder / "keep.txt").string());
  QString question;
  answerNextBox(QMessageBox::No, &question);
  QString cancelled;
  QTimer::singleShot(50, [&] { answerNextBox(QMessageBox::Ok, &cancelled); });
  press("BExportText");
  EXPECT_EQ(question, "The file already exists, do you want to replace it ?");
  EXPECT_EQ(cancelled, "The export has been canceled");
  EXPECT_EQ(readFile(folder / "keep.txt"), "precious");
}

TEST_F(Transfers, InsertAppendsTheFileAndSavesTheCard) {
  start();
  write(folder / "more.txt", "one\r\ntwo");
  chosen = QString::fromStdString((folder / "more.txt").string());
  press("BInsert");
  EXPECT_EQ(dialogs.back()->objectName(), "OpenDialog1");
  const std::string saved = readFile(data / "3.kvn");
  EXPECT_NE(saved.find("one"), std::string::npos) << saved;
  EXPECT_NE(saved.find("two"), std::string::npos) << saved;
}

TEST_F(Transfers, SynchronisingToANewLinkCopiesTheCardAndShowsTheBluePopup) {
  start();
  const fs::path link = folder / "partner.kvn";
  chosen = QString::fromStdString(link.string());
  answerNextBox(QMessageBox::Ok);
  press("BSynchro");
  EXPECT_EQ(readFile(link), readFile(data / "3.kvn"));
  InfoPopup& popup = window->popup();
  EXPECT_TRUE(popup.isVisible());
  EXPECT_TRUE(popup.text().endsWith(QString::fromStdString(link.string())))
      << popup.text().toStdString();
  // The link is kept in the card's settings file.
  EXPECT_NE(readFile(data / "3.kvo").find(link.string()), std::string::npos);
}

TEST_F(Transfers, PrintAsksFirstAndSaysWhenThereIsNoPrinter) {
  start();
  int printed = 0;
  window->transfers().setPrinter([&](const QString& name) {
    ++printed;
    EXPECT_EQ(name, "Gamma");
    return false;
  });
  answerNextBox(QMessageBox::No);
  press("BPrint");
  EXPECT_EQ(printed, 0);

  QString question;
  answerNextBox(QMessageBox::Yes, &question);
  QString refusal;
  QTimer::singleShot(50, [&] { answerNextBox(QMessageBox::Ok, &refusal); });
  press("BPrint");
  EXPECT_EQ(question, "The card will be printed on the default printer, continue ?");
  EXPECT_EQ(printed, 1);
  EXPECT_TRUE(refusal.startsWith("No printer")) << refusal.toStdString();
}

}  // namespace
}  // namespace qw::gui
