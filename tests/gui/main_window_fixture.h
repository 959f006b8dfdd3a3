#pragma once
// The main window over a scratch data folder: an empty one, or one prepared with three cards
// (Alpha, Work in category 3 "Travail", Gamma on hot key 1), English, Gamma opened at start.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "core/ports/platform_services.h"
#include "gui/main_window.h"
#include "gui/widget_walk.h"

namespace qw::gui::fixtures {

namespace fs = std::filesystem;

class FakePlatform : public ports::PlatformServices {
 public:
  MOCK_METHOD(void, setStartAtLogon, (bool, const fs::path&), (override));
  MOCK_METHOD(std::string, browserPath, (), (override));
};

inline std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class MainWindowTest : public ::testing::Test {
 protected:
  // The window on the scratch folder, shown: its first show loads the store.
  MainWindow& shownWindow() {
    window_.emplace(store::StoreLocation{folder / "quillwick", folder / "user"}, platform);
    window_->show();
    return *window_;
  }

  QTemporaryDir dir;
  fs::path folder{dir.path().toStdString()};
  ::testing::NiceMock<FakePlatform> platform;

 private:
  std::optional<MainWindow> window_;  // last: it goes before the folder
};

// The full window on a prepared data folder.
inline void write(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

const std::string kCreated =
    "\r\n0\r\n0\r\n8\r\n1\r\n11\r\n1\r\n16\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";

class FullWindow : public MainWindowTest {
 protected:
  fs::path data = folder / "dataQuillWick";

  void SetUp() override {
    write(data / "fiches.kvn", "1;-0-0:Alpha\r\n2;-3-0:Work\r\n3;-0-H1-0:Gamma\r\n4\r\n");
    write(data / "categ.kvn", "3;:Travail\r\n4\r\n");
    for (const char* n : {"1", "2", "3"}) {
      write(data / (std::string(n) + ".kvo"), std::string(n) + ".kvn" + kCreated);
      write(data / (std::string(n) + ".kvn"), std::string("text ") + n);
    }
    write(
        data / "param.ini",
        "Langue=Anglais\r\nDefaultFiche=Gamma\r\nBGMenuColor=$00A67467\r\nLDMenuColor=clYellow\r\n"
        "LSMenuColor=clWhite\r\nLCategories=-0-\r\nAffichList=1\r\nLaunch=Manual\r\nHidden="
        "Show\r\n");
  }

  template <typename T>
  T* find(MainWindow& window, const char* name) {
    return namedChild<T>(&window, name);
  }
};

// Answers the next message box with `button` once it shows, and keeps its text. Boxes are
// modal: the answer has to be queued before the call that shows one.
inline void answerNextBox(QMessageBox::StandardButton button, QString* text = nullptr) {
  QTimer::singleShot(0, [=] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
        if (text) *text = box->text();
        if (QAbstractButton* answer = box->button(button))
          answer->click();
        else
          box->accept();
        return;
      }
    }
  });
}

}  // namespace qw::gui::fixtures
