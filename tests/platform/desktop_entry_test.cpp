#include "platform/linux/desktop_entry.h"

#include <gtest/gtest.h>

namespace qw::platform::desktop_entry {

TEST(DesktopEntry, ExecValueQuotesAndEscapesOnlyWhatItMust) {
  EXPECT_EQ(execValue("/usr/bin/quillwick"), "/usr/bin/quillwick");
  EXPECT_EQ(execValue("/opt/50%/quillwick"), "/opt/50%%/quillwick");
  EXPECT_EQ(execValue("/opt/my apps/quillwick"), "\"/opt/my apps/quillwick\"");
  // A quote, a dollar or a backtick takes one backslash inside the quotes, which the string
  // escapes then double; a backslash ends up as four.
  EXPECT_EQ(execValue("/opt/a\"b"), "\"/opt/a\\\\\"b\"");
  EXPECT_EQ(execValue("/opt/a$b`c"), "\"/opt/a\\\\$b\\\\`c\"");
  EXPECT_EQ(execValue("/opt/a\\b"), "\"/opt/a\\\\\\\\b\"");
  EXPECT_EQ(execValue("/opt/it's"), "\"/opt/it's\"");
  EXPECT_EQ(execValue("/opt/line\nbreak"), "\"/opt/line\\nbreak\"");
}

TEST(DesktopEntry, ExecProgramUndoesQuotingAndIgnoresArguments) {
  EXPECT_EQ(execProgram("firefox %u"), "firefox");
  EXPECT_EQ(execProgram("  firefox\t--new-window %u"), "firefox");
  EXPECT_EQ(execProgram("\"/opt/my browser/run\" %U"), "/opt/my browser/run");
  EXPECT_EQ(execProgram("\"/opt/a\\\\\"b\" %u"), "/opt/a\"b");
  EXPECT_EQ(execProgram("\"/opt/a\\\"b\" %u"), "/opt/a\"b") << "a quote escaped only once";
  EXPECT_EQ(execProgram("/opt/100%%/web"), "/opt/100%/web");
  EXPECT_EQ(execProgram("\"/opt/never closed %u"), "");
  EXPECT_EQ(execProgram(""), "");
}

TEST(DesktopEntry, AnyPathSurvivesTheRoundTrip) {
  for (const std::string path :
       {"/usr/bin/q", "/a b/c", "/q\"uote", "/back\\slash", "/d$ll`ar", "/50%/%%u", "/t\tab",
        "/new\nline", "/semi;colon#hash~(x)|&<>*?'", "/trail\\", "/cr\r"}) {
    EXPECT_EQ(execProgram(execValue(path)), path) << execValue(path);
  }
}

}  // namespace qw::platform::desktop_entry
