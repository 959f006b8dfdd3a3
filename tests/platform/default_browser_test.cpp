#include <gtest/gtest.h>

#include "platform/web_browser.h"
#include "test_support.h"

namespace qw::platform {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::ScratchDir;
using testing::writeFile;

// The desktop chooses: even a default browser it names is not looked up, so the about link goes
// through QDesktopServices (xdg-open, portals) as the desktop's other programs do.
TEST(DefaultBrowser, NoneIsLookedUpOnLinuxWhateverTheDesktopNames) {
  ScratchDir root;
  const ScopedEnv configHome("XDG_CONFIG_HOME", (root / "config").string());
  const ScopedEnv dataHome("XDG_DATA_HOME", (root / "data").string());
  const ScopedEnv path("PATH", (root / "bin").string());
  writeFile(root / "bin" / "web", "#!/bin/sh\n");
  fs::permissions(root / "bin" / "web", fs::perms::owner_all);
  writeFile(root / "data" / "applications" / "web.desktop",
            "[Desktop Entry]\nType=Application\nName=Browser\nExec=web %u\n");
  writeFile(root / "config" / "mimeapps.list",
            "[Default Applications]\nx-scheme-handler/https=web.desktop\ntext/html=web.desktop\n");
  EXPECT_EQ(defaultBrowserPath(), "");
}

}  // namespace
}  // namespace qw::platform
