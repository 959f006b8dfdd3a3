// The browser registered for HTML files, read from a fake open command put in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/web_browser.h"
#include "test_support.h"

namespace qw::platform {
namespace {

constexpr wchar_t kCommandKey[] = L"htmlfile\\shell\\open\\command";

using testing::readString;
using testing::writeString;

// The command key as the test wants it; the prefix's own one is put back afterwards.
class DefaultBrowser : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = readString(HKEY_CLASSES_ROOT, kCommandKey, nullptr); }
  void TearDown() override {
    if (saved_)
      writeString(HKEY_CLASSES_ROOT, kCommandKey, nullptr, *saved_);
    else
      removeCommand();
  }
  static void setCommand(const std::wstring& command, DWORD type = REG_SZ) {
    ASSERT_TRUE(writeString(HKEY_CLASSES_ROOT, kCommandKey, nullptr, command, type));
  }
  static void removeCommand() { RegDeleteKeyW(HKEY_CLASSES_ROOT, kCommandKey); }

 private:
  std::optional<std::wstring> saved_;
};

TEST_F(DefaultBrowser, TheQuotedProgramOfTheOpenCommandWithoutItsArguments) {
  setCommand(L"\"C:\\Program Files\\Web Browser\\browser.exe\" -osint -url \"%1\"");
  EXPECT_EQ(defaultBrowserPath(), "C:\\Program Files\\Web Browser\\browser.exe");
  setCommand(L"\"C:\\b.exe\"");
  EXPECT_EQ(defaultBrowserPath(), "C:\\b.exe");
}

TEST_F(DefaultBrowser, APathOutsideTheCodePageComesBackAsUtf8) {
  setCommand(L"\"C:\\Navigateurs\\\u00e9t\u00e9 \u03a9\\nav.exe\" \"%1\"");
  EXPECT_EQ(defaultBrowserPath(), "C:\\Navigateurs\\\xc3\xa9t\xc3\xa9 \xce\xa9\\nav.exe");
}

TEST_F(DefaultBrowser, AnExpandableCommandIsExpanded) {
  setCommand(L"\"%SystemRoot%\\browser.exe\" \"%1\"", REG_EXPAND_SZ);
  wchar_t root[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
  ASSERT_GT(length, 0u);
  const std::wstring expected = std::wstring(root, length) + L"\\browser.exe";
  EXPECT_EQ(defaultBrowserPath(), std::string(expected.begin(), expected.end()));
}

TEST_F(DefaultBrowser, AnUnquotedOrMissingCommandGivesNothing) {
  setCommand(L"C:\\b.exe -nohome");
  EXPECT_EQ(defaultBrowserPath(), "");
  setCommand(L"");
  EXPECT_EQ(defaultBrowserPath(), "");
  removeCommand();
  ASSERT_FALSE(readString(HKEY_CLASSES_ROOT, kCommandKey, nullptr).has_value());
  EXPECT_EQ(defaultBrowserPath(), "");
}

}  // namespace
}  // namespace qw::platform
