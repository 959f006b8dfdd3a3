#include "gui/main_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "core/ports/platform_services.h"

namespace qw::gui {
namespace {

namespace fs = std::filesystem;

class FakePlatform : public ports::PlatformServices {
 public:
  MOCK_METHOD(void, setStartAtLogon, (bool, const fs::path&), (override));
  MOCK_METHOD(std::string, browserPath, (), (override));
};

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class MainWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  fs::path folder{dir.path().toStdString()};
  ::testing::NiceMock<FakePlatform> platform;
};

TEST_F(MainWindowTest, NothingIsReadBeforeTheFirstShowWhichLoadsTheStoreAndSetsTheTitle) {
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  EXPECT_EQ(window.objectName(), "TFGQuillWick");
  EXPECT_EQ(window.windowTitle(), "KTRquillWick");
  EXPECT_FALSE(fs::exists(folder / "dataQuillWick"));

  window.show();
  ASSERT_TRUE(window.loaded());
  EXPECT_EQ(window.windowTitle(), "KTRQuillWick");
  EXPECT_TRUE(fs::exists(folder / "dataQuillWick" / "param.ini"));
  EXPECT_FALSE(window.strings().english());
}

TEST_F(MainWindowTest, EnglishSettingsGiveTheEnglishTable) {
  fs::create_directories(folder / "dataQuillWick");
  std::ofstream(folder / "dataQuillWick" / "param.ini", std::ios::binary) << "Langue=Anglais\r\n";
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  window.show();
  ASSERT_TRUE(window.loaded());
  EXPECT_TRUE(window.strings().english());
}

TEST_F(MainWindowTest, QuitWritesTheIndexAndTheSettings) {
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  window.show();
  ASSERT_TRUE(window.loaded());
  fs::remove(folder / "dataQuillWick" / "fiches.kvn");
  fs::remove(folder / "dataQuillWick" / "param.ini");

  EXPECT_CALL(platform, setStartAtLogon(false, folder / "quillwick"));
  window.quit();
  EXPECT_EQ(readFile(folder / "dataQuillWick" / "fiches.kvn"), "1\r\n");
  EXPECT_TRUE(fs::exists(folder / "dataQuillWick" / "param.ini"));
}

TEST_F(MainWindowTest, AnUnusableDataFolderIsReportedNotHidden) {
  // Both candidate places are files, so no data folder can be made.
  std::ofstream(folder / "dataQuillWick") << "x";
  std::ofstream(folder / "user") << "x";
  MainWindow window({folder / "quillwick", folder / "user"}, platform);
  QSignalSpy failed(&window, &MainWindow::loadFailed);
  window.show();
  EXPECT_FALSE(window.loaded());
  ASSERT_EQ(failed.count(), 1);
  EXPECT_FALSE(failed.first().first().toString().isEmpty());
}

}  // namespace
}  // namespace qw::gui
