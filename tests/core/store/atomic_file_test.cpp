#include "core/store/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "core/store/store_error.h"
#include "core/store/temp_folder.h"
#include "core/store/utf8_path.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace qw::store {
namespace {

using ::testing::ElementsAre;
using namespace qw::store::fixtures;
namespace fs = std::filesystem;

TEST(AtomicFile, CreatesThenReplacesWithoutLeavingTemporaryFiles) {
  TempFolder folder;
  const auto target = folder.path() / "fiches.kvn";
  writeFileAtomically(target, "first\r\n");
  EXPECT_EQ(readBytes(target), "first\r\n");
  writeFileAtomically(target, "2");
  EXPECT_EQ(readBytes(target), "2");
  writeFileAtomically(target, std::string("a\0b", 3));
  EXPECT_EQ(readBytes(target), std::string("a\0b", 3));
  writeFileAtomically(target, "");
  EXPECT_EQ(fs::file_size(target), 0u);
  EXPECT_THAT(entriesOf(folder.path()), ElementsAre("fiches.kvn"));
}

TEST(AtomicFile, TargetThatIsAFolderFailsAndLeavesEverythingAsItWas) {
  TempFolder folder;
  const auto target = folder.path() / "param.ini";
  writeBytes(target / "inside.txt", "old");
  try {
    writeFileAtomically(target, "new");
    FAIL() << "writing over a folder must fail";
  } catch (const StoreError& e) {
    EXPECT_EQ(e.file(), target);
  }
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(readBytes(target / "inside.txt"), "old");
  EXPECT_THAT(entriesOf(folder.path()), ElementsAre("param.ini"));
}

TEST(AtomicFile, MissingFolderFails) {
  TempFolder folder;
  EXPECT_THROW(writeFileAtomically(folder.path() / "absent" / "x.kvn", "x"), StoreError);
  EXPECT_TRUE(entriesOf(folder.path()).empty());
}

// A name outside every ANSI code page reaches the disk as it is, on Windows through the wide
// API, and a StoreError names it in UTF-8.
TEST(AtomicFile, NamesOutsideTheCodePageAreWrittenAndReportedWhole) {
  TempFolder folder;
  const auto target = folder.path() / utf8Path("carte \xce\xa9 \xe6\x97\xa5\xe6\x9c\xac.kvn");
  writeFileAtomically(target, "x");
  EXPECT_EQ(readBytes(target), "x");
  EXPECT_EQ(utf8Of(fs::directory_iterator(folder.path())->path().filename()),
            "carte \xce\xa9 \xe6\x97\xa5\xe6\x9c\xac.kvn");
  try {
    writeFileAtomically(target / "inside", "y");
    FAIL() << "a file inside a file cannot be written";
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("carte \xce\xa9 \xe6\x97\xa5"), std::string::npos)
        << e.what();
  }
}

// Folder permissions and POSIX modes have no Windows counterpart that Wine enforces.
#ifndef _WIN32
TEST(AtomicFile, ReadOnlyFolderKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempFolder folder;
  const auto target = folder.path() / "param.ini";
  writeBytes(target, "old");
  fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_THROW(writeFileAtomically(target, "new"), StoreError);
  fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(readBytes(target), "old");
  EXPECT_THAT(entriesOf(folder.path()), ElementsAre("param.ini"));
}

TEST(AtomicFile, ReplacedFileKeepsItsPermissions) {
  TempFolder folder;
  const auto target = folder.path() / "7.kvo";
  writeBytes(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  writeFileAtomically(target, "new");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}
#endif

TEST(AtomicFileLeftovers, TemporariesOfAKilledWriterAreRemovedAndNothingElse) {
  TempFolder folder;
  writeBytes(folder.path() / "fiches.kvn.tmp-4242-3-0", "half");
  writeBytes(folder.path() / "fiches.kvn", "1\r\n");
  writeBytes(folder.path() / "7.kvn.$$$", "snapshot");
  auto staying = removeLeftoverTemporaries(folder.path());
  EXPECT_EQ(entriesOf(folder.path()), (std::vector<std::string>{"7.kvn.$$$", "fiches.kvn"}));
  std::sort(staying.begin(), staying.end());
  EXPECT_EQ(staying,
            (std::vector<fs::path>{folder.path() / "7.kvn.$$$", folder.path() / "fiches.kvn"}));
}

}  // namespace
}  // namespace qw::store
