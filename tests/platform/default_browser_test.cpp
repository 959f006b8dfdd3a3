#include <gtest/gtest.h>

#include "platform/web_browser.h"
#include "test_support.h"

namespace qw::platform {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::ScratchDir;
using testing::writeFile;

// A desktop laid out in a scratch folder: every XDG folder and PATH point inside it.
class DefaultBrowserTest : public ::testing::Test {
 protected:
  fs::path program(const fs::path& file) {
    writeFile(file, "#!/bin/sh\n");
    fs::permissions(file, fs::perms::owner_all);
    return file;
  }
  void application(const fs::path& file, const std::string& exec) {
    writeFile(file, "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + exec + "\n");
  }
  void defaults(const fs::path& list, const std::string& type, const std::string& ids) {
    writeFile(list, "[Default Applications]\n" + type + "=" + ids + "\n");
  }

  ScratchDir root_;
  const fs::path config_ = root_ / "config";
  const fs::path etc_ = root_ / "etc";
  const fs::path data_ = root_ / "data" / "applications";
  const fs::path share1_ = root_ / "share1" / "applications";
  const fs::path share2_ = root_ / "share2" / "applications";
  const fs::path bin1_ = root_ / "bin1";
  const fs::path bin2_ = root_ / "bin2";
  ScopedEnv homeEnv_{"HOME", (root_ / "home").string()};
  ScopedEnv configHomeEnv_{"XDG_CONFIG_HOME", config_.string()};
  ScopedEnv configDirsEnv_{"XDG_CONFIG_DIRS", etc_.string()};
  ScopedEnv dataHomeEnv_{"XDG_DATA_HOME", (root_ / "data").string()};
  ScopedEnv dataDirsEnv_{"XDG_DATA_DIRS",
                         (root_ / "share1").string() + ":" + (root_ / "share2").string()};
  ScopedEnv desktopEnv_{"XDG_CURRENT_DESKTOP", std::nullopt};
  ScopedEnv pathEnv_{"PATH", bin1_.string() + ":" + bin2_.string()};
};

TEST_F(DefaultBrowserTest, FindsTheSchemeHandlerProgramThroughPath) {
  defaults(config_ / "mimeapps.list", "x-scheme-handler/http", "firefox.desktop;");
  application(share2_ / "firefox.desktop", "firefox %u");
  writeFile(bin1_ / "firefox", "not executable");
  const auto firefox = program(bin2_ / "firefox");
  EXPECT_EQ(defaultBrowserPath(), firefox.string());
}

TEST_F(DefaultBrowserTest, QuotedExecWithSpacesNamesTheProgramItself) {
  const auto run = program(root_ / "opt" / "my browser" / "run");
  defaults(config_ / "mimeapps.list", "x-scheme-handler/http", "mine.desktop");
  // An action's Exec comes first in the file but is not the application's.
  writeFile(share1_ / "mine.desktop",
            "[Desktop Action private]\nExec=firefox --private\n\n"
            "[Desktop Entry]\nType=Application\nName=Mine\nExec=\"" + run.string() + "\" %U\n");
  program(bin1_ / "firefox");
  EXPECT_EQ(defaultBrowserPath(), run.string());
}

TEST_F(DefaultBrowserTest, NothingUnlessTheDefaultLeadsToAnExecutable) {
  EXPECT_EQ(defaultBrowserPath(), "");

  defaults(config_ / "mimeapps.list", "x-scheme-handler/http", "web.desktop");
  EXPECT_EQ(defaultBrowserPath(), "") << "no desktop file";

  application(share1_ / "web.desktop", "web %u");
  EXPECT_EQ(defaultBrowserPath(), "") << "program not on PATH";

  writeFile(bin1_ / "web", "#!/bin/sh\n");
  EXPECT_EQ(defaultBrowserPath(), "") << "program not executable";

  application(share1_ / "web.desktop", "\"/nowhere/web\" %u");
  EXPECT_EQ(defaultBrowserPath(), "") << "absolute path missing";

  writeFile(config_ / "mimeapps.list",
            "[Added Associations]\nx-scheme-handler/http=web.desktop\n");
  program(bin1_ / "web");
  application(share1_ / "web.desktop", "web %u");
  EXPECT_EQ(defaultBrowserPath(), "") << "an association is not a default";
}

TEST_F(DefaultBrowserTest, ListsAreReadInXdgOrder) {
  program(bin1_ / "alpha");
  program(bin1_ / "beta");
  program(bin1_ / "gamma");
  application(share1_ / "alpha.desktop", "alpha %u");
  application(share1_ / "beta.desktop", "beta %u");
  application(share1_ / "gamma.desktop", "gamma %u");
  defaults(share1_ / "mimeapps.list", "x-scheme-handler/http", "gamma.desktop");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "gamma").string());
  defaults(etc_ / "mimeapps.list", "x-scheme-handler/http", "beta.desktop");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "beta").string());
  // The first installed application of a list wins.
  defaults(config_ / "mimeapps.list", "x-scheme-handler/http", "gone.desktop;alpha.desktop");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "alpha").string());
  // A list of the running desktop comes before the general one of the same folder.
  defaults(config_ / "test-mimeapps.list", "x-scheme-handler/http", "gamma.desktop");
  const ScopedEnv desktop("XDG_CURRENT_DESKTOP", "Other:TEST");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "gamma").string());
}

TEST_F(DefaultBrowserTest, HtmlHandlerAndOldDefaultsListAreTheFallbacks) {
  program(bin1_ / "alpha");
  program(bin1_ / "beta");
  application(share1_ / "alpha.desktop", "alpha %u");
  application(share1_ / "beta.desktop", "beta %u");
  defaults(share2_ / "defaults.list", "text/html", "alpha.desktop");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "alpha").string());
  defaults(config_ / "mimeapps.list", "text/html", "beta.desktop");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "beta").string());
  // The scheme handler wins even from the least important file.
  defaults(share2_ / "defaults.list", "x-scheme-handler/http", "alpha.desktop");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "alpha").string());
}

TEST_F(DefaultBrowserTest, DesktopFilesAreFoundByTheirId) {
  program(bin1_ / "alpha");
  program(bin1_ / "beta");
  defaults(config_ / "mimeapps.list", "x-scheme-handler/http", "vendor-web.desktop");
  application(share2_ / "vendor" / "web.desktop", "beta %u");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "beta").string()) << "a subfolder names part of the ID";
  application(data_ / "vendor-web.desktop", "alpha %u");
  EXPECT_EQ(defaultBrowserPath(), (bin1_ / "alpha").string()) << "the user's own file comes first";

  writeFile(data_ / "vendor-web.desktop", "[Desktop Entry]\nExec=alpha %u\nHidden=true\n");
  EXPECT_EQ(defaultBrowserPath(), "") << "a hidden entry counts as uninstalled";
}

}  // namespace
}  // namespace qw::platform
