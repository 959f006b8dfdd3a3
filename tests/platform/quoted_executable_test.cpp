#include <gtest/gtest.h>

#include "platform/web_browser.h"

namespace qw::platform {

TEST(QuotedExecutable, TakesTheTextBetweenTheFirstTwoQuotes) {
  EXPECT_EQ(quotedExecutable("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome"),
            "C:\\Program Files\\Internet Explorer\\iexplore.exe");
  EXPECT_EQ(quotedExecutable("\"C:\\Firefox\\firefox.exe\" -osint -url \"%1\""),
            "C:\\Firefox\\firefox.exe");
  EXPECT_EQ(quotedExecutable("run \"C:\\b.exe\" \"%1\""), "C:\\b.exe");
}

TEST(QuotedExecutable, FewerThanTwoQuotesGiveNothing) {
  EXPECT_EQ(quotedExecutable("C:\\b.exe -nohome"), "");
  EXPECT_EQ(quotedExecutable("\"C:\\b.exe -nohome"), "");
  EXPECT_EQ(quotedExecutable(""), "");
  EXPECT_EQ(quotedExecutable("\"\" -nohome"), "");
}

}  // namespace qw::platform
