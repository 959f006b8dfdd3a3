#include "core/store/text_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "core/store/store_error.h"
#include "core/store/temp_folder.h"

namespace qw::store {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace qw::store::fixtures;
namespace fs = std::filesystem;

const std::string kBom = "\xEF\xBB\xBF";

TEST(TextFile, SplitLinesAcceptsEveryLineEnd) {
  EXPECT_THAT(splitLines(""), IsEmpty());
  EXPECT_THAT(splitLines("a"), ElementsAre("a"));
  EXPECT_THAT(splitLines("a\r\n"), ElementsAre("a"));
  EXPECT_THAT(splitLines("a\r\n\r\n"), ElementsAre("a", ""));
  EXPECT_THAT(splitLines("\n"), ElementsAre(""));
  EXPECT_THAT(splitLines("a\rb\nc\r\nd"), ElementsAre("a", "b", "c", "d"));
  EXPECT_THAT(splitLines("a\n\rb"), ElementsAre("a", "", "b"));  // LF CR is two line ends
  EXPECT_THAT(splitLines("a\r\r\nb\r"), ElementsAre("a", "", "b"));
  EXPECT_THAT(splitLines(std::string("x\0y\r\n\0", 6)),
              ElementsAre(std::string("x\0y", 3), std::string("\0", 1)));
}

TEST(TextFile, DecodingFollowsTheBom) {
  EXPECT_EQ(decodeStoredText("Fran\xE7"
                             "ais \x80"),
            "Français €");
  EXPECT_EQ(decodeStoredText(kBom + "Привет"), "Привет");
  EXPECT_EQ(decodeStoredText(kBom), "");
  // Broken UTF-8 after a BOM: each bad byte becomes U+FFFD, the rest is kept.
  EXPECT_EQ(decodeStoredText(kBom + "a\xFF"
                                    "b\xC3"),
            "a\uFFFDb\uFFFD");
  EXPECT_EQ(decodeStoredText(kBom + "\xED\xA0\x80!"), "\uFFFD\uFFFD\uFFFD!");  // surrogate
  EXPECT_EQ(decodeStoredText(kBom + "\xC0\xAF"), "\uFFFD\uFFFD");              // overlong
  // A BOM is only recognised at the very start.
  EXPECT_EQ(decodeStoredText("x" + kBom), "xï»¿");
}

TEST(TextFile, EncodingUsesTheCodePageWheneverItCan) {
  EXPECT_EQ(encodeStoredText("Français €"),
            "Fran\xE7"
            "ais \x80");
  EXPECT_EQ(encodeStoredText(""), "");
  EXPECT_EQ(encodeStoredText("Привет"), kBom + "Привет");
  EXPECT_EQ(encodeStoredText("Café Привет"), kBom + "Café Привет");
  EXPECT_EQ(encodeStoredText("😊"), kBom + "😊");
}

TEST(TextFile, EveryTextSurvivesEncodingAndDecoding) {
  for (const std::string text :
       {"Français", "Привет", "a:b-c-1:d", "ï»¿ looks like a BOM", "", "€\r\n", "日本語 et ça"}) {
    EXPECT_EQ(decodeStoredText(encodeStoredText(text)), text) << text;
  }
  // Code-page text whose first bytes would read as a BOM is written as UTF-8 instead.
  EXPECT_TRUE(encodeStoredText("ï»¿x").starts_with(kBom + "ï»¿"));
}

TEST(TextFile, WriteThenReadKeepsLinesAndUsesCrLf) {
  TempFolder folder;
  const auto file = folder.path() / "fiches.kvn";
  writeTextLines(file, {"3;-0-0:Café", "", "4"});
  EXPECT_EQ(readBytes(file), "3;-0-0:Caf\xE9\r\n\r\n4\r\n");
  EXPECT_THAT(*readTextLines(file), ElementsAre("3;-0-0:Café", "", "4"));

  writeTextLines(file, {"3;-0-0:Привет", "4"});
  EXPECT_EQ(readBytes(file), kBom + "3;-0-0:Привет\r\n4\r\n");
  EXPECT_THAT(*readTextLines(file), ElementsAre("3;-0-0:Привет", "4"));

  writeTextLines(file, {});
  EXPECT_EQ(readBytes(file), "");
  EXPECT_THAT(*readTextLines(file), IsEmpty());
}

TEST(TextFile, AnUnchangedWriteLeavesTheFileAlone) {
  TempFolder folder;
  const auto file = folder.path() / "1.kvo";
  writeTextLines(file, {"1.kvn", "0"});
  const auto old = fs::last_write_time(file) - std::chrono::hours(1);
  fs::last_write_time(file, old);

  writeTextLines(file, {"1.kvn", "0"});
  EXPECT_EQ(fs::last_write_time(file), old) << "the same bytes are not written again";

  writeTextLines(file, {"1.kvn", "5"});
  EXPECT_NE(fs::last_write_time(file), old);
  EXPECT_EQ(readBytes(file), "1.kvn\r\n5\r\n");

  // A folder in the way is still reported, not taken as an unchanged file.
  fs::create_directory(folder.path() / "2.kvo");
  EXPECT_THROW(writeTextLines(folder.path() / "2.kvo", {}), StoreError);
}

TEST(TextFile, ReadingMissingAndUnreadableFiles) {
  TempFolder folder;
  EXPECT_EQ(readTextLines(folder.path() / "absent.kvn"), std::nullopt);
  EXPECT_EQ(readFileBytes(folder.path() / "absent.kvn"), std::nullopt);
  fs::create_directory(folder.path() / "folder.kvn");
  EXPECT_THROW(readTextLines(folder.path() / "folder.kvn"), StoreError);
  // A missing folder on the way is a missing file too.
  EXPECT_EQ(readFileBytes(folder.path() / "absent" / "1.kvn"), std::nullopt);
}

TEST(TextFile, TheBeginningOfAFile) {
  TempFolder folder;
  const auto file = folder.path() / "1.kvn";
  const std::string text(200 * 1024, 'x');
  writeBytes(file, text + "end");
  EXPECT_EQ(readFileBytes(file, 5), "xxxxx");
  EXPECT_EQ(readFileBytes(file, 0), "");
  EXPECT_EQ(readFileBytes(file, text.size() + 10), text + "end");
  EXPECT_EQ(readFileBytes(file)->size(), text.size() + 3);
  writeBytes(file, "");
  EXPECT_EQ(readFileBytes(file, 5), "");
}

TEST(TextFile, AwkwardContentReadsWhole) {
  TempFolder folder;
  const auto file = folder.path() / "1.kvn";
  writeBytes(file, std::string("no\0line\0end", 11));
  EXPECT_THAT(*readTextLines(file), ElementsAre(std::string("no\0line\0end", 11)));

  const std::string huge(10 * 1024 * 1024, 'x');
  writeTextLines(file, {"before", huge, "after"});
  EXPECT_EQ(fs::file_size(file), huge.size() + 17);
  const auto lines = *readTextLines(file);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], huge);
  EXPECT_EQ(lines[2], "after");
}

}  // namespace
}  // namespace qw::store
