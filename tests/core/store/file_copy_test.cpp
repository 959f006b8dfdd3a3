#include "core/store/file_copy.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/store/store_error.h"
#include "core/store/temp_folder.h"

namespace qw::store {
namespace {

using ::testing::ElementsAre;
using namespace qw::store::fixtures;
namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

// A file time `since` after 1970.
fs::file_time_type at(std::chrono::system_clock::duration since) {
  return std::chrono::file_clock::from_sys(std::chrono::sys_time<decltype(since)>(since));
}

TEST(FileCopy, CopiesCreateOrReplaceAndKeepTheSourceTime) {
  TempFolder folder;
  const fs::path card = folder.path() / "7.kvn";
  const fs::path link = folder.path() / "partner.rtf";
  writeBytes(card, std::string("{\\rtf1 a}\0tail", 14));
  fs::last_write_time(card, at(seconds(1'600'000'000)));

  copyFileAtomically(card, link);
  EXPECT_EQ(readBytes(link), readBytes(card));
  EXPECT_EQ(syncTimeStamp(link), syncTimeStamp(card));

  writeBytes(card, "newer");
  copyFileAtomically(card, link);
  EXPECT_EQ(readBytes(link), "newer");
  EXPECT_THAT(entriesOf(folder.path()), ElementsAre("7.kvn", "partner.rtf"));
}

TEST(FileCopy, FailuresThrowAndLeaveTheTargetAsItWas) {
  TempFolder folder;
  const fs::path card = folder.path() / "7.kvn";
  writeBytes(card, "card");
  const fs::path link = folder.path() / "partner.rtf";
  writeBytes(link, "link");

  EXPECT_THROW(copyFileAtomically(folder.path() / "gone.rtf", link), StoreError);
  EXPECT_EQ(readBytes(link), "link");
  EXPECT_THROW(copyFileAtomically(card, folder.path() / "no folder" / "x.rtf"), StoreError);
  EXPECT_THROW(copyFileAtomically(folder.path(), link), StoreError);  // a folder as source
  EXPECT_EQ(readBytes(link), "link");
  EXPECT_EQ(readBytes(card), "card");
}

TEST(FileCopy, TimeStampsHaveTwoSecondSteps) {
  TempFolder folder;
  const fs::path file = folder.path() / "f";
  writeBytes(file, "x");
  const struct {
    std::chrono::system_clock::duration time;
    std::int64_t stamp;
  } cases[] = {
      {seconds(1000), 1000}, {seconds(1001), 1000}, {seconds(1001) + milliseconds(999), 1000},
      {seconds(1002), 1002}, {seconds(-1), -2},  // before 1970, floored rather than cut towards
                                                 // zero
  };
  for (const auto& c : cases) {
    fs::last_write_time(file, at(c.time));
    EXPECT_EQ(syncTimeStamp(file), c.stamp) << c.time.count();
  }
  EXPECT_EQ(syncTimeStamp(folder.path() / "missing"), std::nullopt);
}

// Below a second: a draft written just after a save must compare newer, and a copy must keep
// its source's time exactly (MinGW's std::filesystem keeps whole seconds only).
TEST(FileCopy, TimesKeepTheirFractionOfASecond) {
  TempFolder folder;
  const fs::path first = folder.path() / "1.kvn";
  const fs::path second = folder.path() / "1.draft";
  writeBytes(first, "saved");
  std::this_thread::sleep_for(milliseconds(30));
  writeBytes(second, "typed");
  ASSERT_TRUE(modificationTime(first) && modificationTime(second));
  EXPECT_GT(*modificationTime(second), *modificationTime(first));

  const fs::file_time_type when = at(seconds(1'600'000'000) + milliseconds(250));
  ASSERT_TRUE(setModificationTime(first, when));
  EXPECT_EQ(modificationTime(first), when);
  copyFileAtomically(first, second);
  EXPECT_EQ(modificationTime(second), when);
  EXPECT_EQ(modificationTime(folder.path() / "missing"), std::nullopt);
}

}  // namespace
}  // namespace qw::store
