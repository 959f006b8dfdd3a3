// Start at logon on Windows: the per-user Run key value "KTR quillWick", read back from the
// registry as the system reads it at logon.
#include "platform/autostart.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "test_support.h"

namespace qw::platform {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"KTR quillWick";
constexpr wchar_t kNeighbour[] = L"QuillWick test neighbour";

using testing::readString;
using testing::writeString;

// Puts back the user's own entry, if there was one, after the test.
class Autostart : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = readString(HKEY_CURRENT_USER, kRunKey, kValueName); }
  void TearDown() override {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kNeighbour);
    if (saved_)
      writeString(HKEY_CURRENT_USER, kRunKey, kValueName, *saved_);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kValueName);
  }
  static std::optional<std::wstring> entry() {
    return readString(HKEY_CURRENT_USER, kRunKey, kValueName);
  }

 private:
  std::optional<std::wstring> saved_;
};

TEST_F(Autostart, EnablingWritesTheQuotedPathAndDisablingRemovesOnlyThatValue) {
  ASSERT_TRUE(writeString(HKEY_CURRENT_USER, kRunKey, kNeighbour, L"other.exe"));
  // Spaces and letters outside every ANSI code page: the value is written wide.
  const std::filesystem::path exe = L"C:\\Program Files\\Quill Wick \u00e9\u03a9\\quillwick.exe";
  ASSERT_TRUE(setStartAtLogon(true, exe));
  EXPECT_EQ(entry(), L"\"C:\\Program Files\\Quill Wick \u00e9\u03a9\\quillwick.exe\" --at-logon");

  // Written again, it replaces the old path.
  ASSERT_TRUE(setStartAtLogon(true, L"D:\\quillwick.exe"));
  EXPECT_EQ(entry(), L"\"D:\\quillwick.exe\" --at-logon");

  ASSERT_TRUE(setStartAtLogon(false, exe));
  EXPECT_FALSE(entry().has_value());
  EXPECT_EQ(readString(HKEY_CURRENT_USER, kRunKey, kNeighbour), L"other.exe");
  // Nothing left to remove is no failure.
  EXPECT_TRUE(setStartAtLogon(false, exe));
}

}  // namespace
}  // namespace qw::platform
