// A laptop screen of 1280 x 720 at twice the scale (QT_SCALE_FACTOR=2: 640 x 360 in the
// program's pixels, tests/gui/small_screen.json): the main window and every dialog, message box
// and file chooser fit the free area of the screen, frame included.

#include "gui/screen_fit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "gui/about_dialog.h"
#include "gui/card_properties_dialog.h"
#include "gui/categories_dialog.h"
#include "gui/main_window_fixture.h"
#include "gui/message_prompts.h"
#include "gui/options_dialog.h"
#include "gui/password_dialog.h"
#include "gui/store_folder.h"
#include "gui/transfer_commands.h"

namespace qw::gui {
namespace {

QRect freeArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

std::string describe(const QRect& r) {
  return std::to_string(r.width()) + "x" + std::to_string(r.height()) + " at " +
         std::to_string(r.x()) + "," + std::to_string(r.y());
}

// Empty when the window's frame lies inside the free area, else what runs off.
std::string offScreen(QWidget* window) {
  QApplication::processEvents();
  const QRect frame = window->frameGeometry();
  if (freeArea().contains(frame)) return {};
  return window->objectName().toStdString() + ": frame " + describe(frame) + " outside " +
         describe(freeArea());
}

// Checks the modal window that `open` shows, then closes it.
std::string offScreenWhenShown(const std::function<void()>& open) {
  std::string problem = "nothing showed";
  QTimer::singleShot(0, [&problem] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    problem = offScreen(modal);
    modal->close();
  });
  open();
  return problem;
}

TEST(SmallScreen, IsTheLaptopAtTwiceTheScale) {
  // Without the configuration the checks below would run on a roomy screen and prove nothing.
  EXPECT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(640, 360));
  EXPECT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
}

TEST(SmallScreen, AWindowTooBigOrPlacedOffIsBroughtIn) {
  keepWindowsOnScreen();
  QWidget big;
  big.setObjectName("big");
  big.resize(900, 500);
  big.show();
  EXPECT_EQ(offScreen(&big), "");
  EXPECT_GT(big.width(), 600);  // as large as the room allows, not smaller

  QWidget placed;
  placed.setObjectName("placed");
  placed.resize(200, 100);
  placed.move(560, 300);
  placed.show();
  EXPECT_EQ(offScreen(&placed), "");
  EXPECT_EQ(placed.size(), QSize(200, 100));

  // One that cannot get small enough keeps its title bar on the screen.
  QWidget stiff;
  stiff.setMinimumSize(700, 400);
  stiff.move(100, 100);
  stiff.show();
  QApplication::processEvents();
  EXPECT_FALSE(fitToScreen(&stiff));
  EXPECT_EQ(stiff.frameGeometry().topLeft(), freeArea().topLeft());
}

class MainWindowOnSmallScreen : public fixtures::FullWindow {};

TEST_F(MainWindowOnSmallScreen, FitsWithEveryButtonOfItsFormatBarInside) {
  MainWindow& window = shownWindow();
  ASSERT_TRUE(window.loaded());
  EXPECT_EQ(offScreen(&window), "");
  // The bar wraps: its last buttons are inside the window, not cut off at its right edge.
  for (const char* name : {"BBold", "BPrint", "BInsert", "BExport", "BExportText", "BSynchro"}) {
    auto* button = window.findChild<QToolButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    const QRect inWindow(button->mapTo(&window, QPoint(0, 0)), button->size());
    EXPECT_TRUE(window.rect().contains(inWindow)) << name << " " << describe(inWindow);
  }

  // The file choosers of the bar's buttons.
  for (QFileDialog* chooser : {window.transfers().openDialog(), window.transfers().saveDialog()}) {
    chooser->show();
    EXPECT_EQ(offScreen(chooser), "");
    chooser->hide();
  }
}

class DialogsOnSmallScreen : public fixtures::StoreFolder,
                             public ::testing::WithParamInterface<i18n::Language> {
 protected:
  void SetUp() override {
    keepWindowsOnScreen();  // as the main window does when it is made
    strings = i18n::StringTable::forLanguage(GetParam());
    loadStore();
  }
};

TEST_P(DialogsOnSmallScreen, EveryDialogFits) {
  OptionsDialog options(*store, strings, platform, &prompts);
  options.show();
  EXPECT_EQ(offScreen(&options), "");
  options.hide();

  CategoriesDialog categories(*store, strings, &prompts);
  categories.show();
  EXPECT_EQ(offScreen(&categories), "");
  categories.hide();

  AboutDialog about;
  about.setStrings(strings);
  about.setPerUserDataFolder("/home/somebody/.local/share/a/rather/long/path/to/dataQuillWick");
  about.show();
  EXPECT_EQ(offScreen(&about), "");
  about.hide();

  CardPropertiesDialog properties;
  for (auto mode : {CardPropertiesDialog::Mode::Add, CardPropertiesDialog::Mode::Modify}) {
    EXPECT_EQ(
        offScreenWhenShown([&] {
          properties.ask(mode, {"Notes", "/some/linked/file.txt", "", "0", 0}, *store, strings);
        }),
        "");
  }

  PasswordDialog password;
  EXPECT_EQ(offScreenWhenShown([&] { password.ask(strings, std::string(200, 'W'), false); }), "");

  MessagePrompts boxes(nullptr);
  boxes.setStrings(&strings);
  EXPECT_EQ(offScreenWhenShown(
                [&] { boxes.message(std::string(60, 'x') + " " + std::string(300, 'y')); }),
            "");
  QFileDialog chooser;
  chooser.setOption(QFileDialog::DontUseNativeDialog);
  EXPECT_EQ(offScreenWhenShown([&] { chooser.exec(); }), "");
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, DialogsOnSmallScreen,
                         ::testing::Values(i18n::Language::French, i18n::Language::English),
                         [](const auto& info) {
                           return info.param == i18n::Language::French ? "French" : "English";
                         });

}  // namespace
}  // namespace qw::gui
