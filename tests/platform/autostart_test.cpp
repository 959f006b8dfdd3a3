#include "platform/autostart.h"

#include <gtest/gtest.h>

#include "platform/linux/desktop_entry.h"
#include "test_support.h"

namespace qw::platform {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::ScopedEnv;
using testing::ScratchDir;
using testing::writeFile;

class AutostartTest : public ::testing::Test {
 protected:
  fs::path entry() const { return home_ / "config" / "autostart" / "quillwick.desktop"; }

  ScratchDir home_;
  ScopedEnv homeEnv_{"HOME", home_.path().string()};
  ScopedEnv configEnv_{"XDG_CONFIG_HOME", (home_ / "config").string()};
};

TEST_F(AutostartTest, EnablingWritesTheDesktopEntry) {
  ASSERT_TRUE(setStartAtLogon(true, "/opt/quillwick/quillwick"));
  EXPECT_EQ(readFile(entry()),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=KTR quillWick\n"
            "Exec=/opt/quillwick/quillwick --at-logon\n"
            "Icon=quillwick\n"
            "X-GNOME-Autostart-enabled=true\n");

  // Enabling again replaces the entry and leaves nothing else in the folder.
  ASSERT_TRUE(setStartAtLogon(true, "/usr/bin/quillwick"));
  EXPECT_NE(readFile(entry()).find("\nExec=/usr/bin/quillwick --at-logon\n"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(entry().parent_path()), {}), 1);
}

TEST_F(AutostartTest, ExecQuotesThePathWhenItMustAndMakesItAbsolute) {
  ASSERT_TRUE(setStartAtLogon(true, "/home/ann/my apps/quill\"wick"));
  EXPECT_NE(readFile(entry()).find("\nExec=\"/home/ann/my apps/quill\\\\\"wick\" --at-logon\n"),
            std::string::npos)
      << readFile(entry());

  ASSERT_TRUE(setStartAtLogon(true, "quillwick"));
  const auto expected = desktop_entry::execValue((fs::current_path() / "quillwick").string());
  EXPECT_NE(readFile(entry()).find("\nExec=" + expected + " --at-logon\n"), std::string::npos)
      << readFile(entry());
}

TEST_F(AutostartTest, DisablingRemovesTheEntryAndToleratesItsAbsence) {
  ASSERT_TRUE(setStartAtLogon(true, "/opt/quillwick/quillwick"));
  EXPECT_TRUE(setStartAtLogon(false, "/opt/quillwick/quillwick"));
  EXPECT_FALSE(fs::exists(entry()));
  EXPECT_TRUE(fs::exists(entry().parent_path()));
  EXPECT_TRUE(setStartAtLogon(false, "/opt/quillwick/quillwick"));

  fs::remove_all(home_ / "config");
  EXPECT_TRUE(setStartAtLogon(false, "/opt/quillwick/quillwick"));
}

TEST_F(AutostartTest, FailuresReturnFalseAndLeaveThingsAsTheyWere) {
  // The configuration folder is a file.
  writeFile(home_ / "config", "not a folder");
  EXPECT_FALSE(setStartAtLogon(true, "/opt/quillwick/quillwick"));
  EXPECT_EQ(readFile(home_ / "config"), "not a folder");

  // The entry's name is taken by a folder: the write fails and no temporary file stays.
  fs::remove(home_ / "config");
  fs::create_directories(entry());
  EXPECT_FALSE(setStartAtLogon(true, "/opt/quillwick/quillwick"));
  EXPECT_TRUE(fs::is_directory(entry()));
  EXPECT_EQ(std::distance(fs::directory_iterator(entry().parent_path()), {}), 1);
}

TEST_F(AutostartTest, WithoutAnAbsoluteConfigHomeTheEntryGoesUnderHome) {
  const std::optional<std::string> values[] = {std::nullopt, "", "relative"};
  for (const auto& value : values) {
    SCOPED_TRACE(value.value_or("(unset)"));
    const ScopedEnv env("XDG_CONFIG_HOME", value);
    ASSERT_TRUE(setStartAtLogon(true, "/opt/quillwick/quillwick"));
    EXPECT_TRUE(fs::is_regular_file(home_ / ".config" / "autostart" / "quillwick.desktop"));
    ASSERT_TRUE(setStartAtLogon(false, "/opt/quillwick/quillwick"));
    EXPECT_FALSE(fs::exists(home_ / ".config" / "autostart" / "quillwick.desktop"));
  }
}

}  // namespace
}  // namespace qw::platform
