// The search over cards: what it reads, what it skips, what it lists and what it remembers.

#include "core/find/find_in_cards.h"

#include <gtest/gtest.h>

#include "core/store/temp_folder.h"
#include "core/store/utf8_path.h"

namespace qw::find {
namespace {

namespace fs = std::filesystem;
using store::fixtures::writeBytes;

class FindInCards : public ::testing::Test {
 protected:
  SearchedCard own(int card, const std::string& name, const std::string& bytes) {
    const fs::path file = temp.path() / (std::to_string(card) + ".kvn");
    writeBytes(file, bytes);
    return {card, std::to_string(card), name, file, {}, {}};
  }

  // Every listed line and every skipped card, in the order reported.
  struct Run {
    FindSummary summary;
    std::vector<FoundLine> lines;
    std::vector<std::pair<std::string, CardOutcome>> skipped;
  };
  Run find(const std::vector<SearchedCard>& cards, FindQuery query) {
    Run run;
    run.summary = findInCards(
        cards, temp.path(), query, cache, cancelled,
        [&](const SearchedCard& card, CardOutcome outcome, std::vector<FoundLine> lines) {
          if (outcome != CardOutcome::Searched) run.skipped.emplace_back(card.name, outcome);
          for (auto& line : lines) run.lines.push_back(std::move(line));
        });
    return run;
  }

  store::fixtures::TempFolder temp;
  CardTextCache cache;
  std::atomic<bool> cancelled = false;
};

TEST_F(FindInCards, EachHitWithItsLineItsStoredPositionAndTheLineMarked) {
  // Windows-1252 plain text, then RTF: both read as opening the card reads them.
  const auto plain = own(0, "Plain", "first line\r\nthe caf\xE9 and a Cafe\r\nlast");
  const auto rich = own(1, "Rich", "{\\rtf1\\ansi one\\par two cafe\\par}");
  const Run run = find({plain, rich}, {"cafe"});
  ASSERT_EQ(run.lines.size(), 2u);
  // "caf\xE9" is café: é matches only itself, so the plain card's hit is "Cafe".
  const FoundLine& first = run.lines[0];
  EXPECT_EQ(first.card, 0);
  EXPECT_EQ(first.number, "0");
  EXPECT_EQ(first.name, "Plain");
  EXPECT_EQ(first.line, 2);
  EXPECT_EQ(first.text, "the caf\xC3\xA9 and a Cafe");
  EXPECT_EQ(first.text.substr(first.markStart, first.markEnd - first.markStart), "Cafe");
  // "first line" (10) + CR LF (2) + "the café and a " (15)
  EXPECT_EQ(first.position, 27);
  EXPECT_EQ(first.length, 4);
  EXPECT_EQ(run.lines[1].line, 2);
  EXPECT_EQ(run.lines[1].text, "two cafe");
  EXPECT_EQ(run.summary, (FindSummary{2, 2, 2, 0, 0, false}));

  const Run folded = find({plain, rich}, {"CAFE", true});
  ASSERT_EQ(folded.lines.size(), 3u);
  EXPECT_EQ(folded.lines[0].position, 16);
  EXPECT_EQ(folded.lines[0].text.substr(folded.lines[0].markStart, 5), "caf\xC3\xA9");
}

TEST_F(FindInCards, OverlappingHitsOnOneLineAreListedOneByOne) {
  const Run run = find({own(0, "A", "xaaaa\r\naa")}, {"aa"});
  std::vector<std::pair<int, std::int64_t>> places;
  for (const auto& line : run.lines) places.emplace_back(line.line, line.position);
  EXPECT_EQ(places, (std::vector<std::pair<int, std::int64_t>>{{1, 1}, {1, 2}, {1, 3}, {2, 7}}));
}

TEST_F(FindInCards, ProtectedCardsAreNeverReadAndGoneFilesAreToldOnce) {
  SearchedCard sealed = own(0, "Sealed", "plaintext word");  // as if it were
  sealed.contentFile.replace_extension(".kvc");
  fs::rename(temp.path() / "0.kvn", sealed.contentFile);
  SearchedCard gone{1, "1", "Linked", temp.path() / "elsewhere" / "gone.txt", {}, {}};
  const auto kept = own(2, "Kept", "a word");
  const Run run = find({sealed, gone, kept}, {"word"});
  ASSERT_EQ(run.lines.size(), 1u);
  EXPECT_EQ(run.lines[0].name, "Kept");
  EXPECT_EQ(run.skipped,
            (std::vector<std::pair<std::string, CardOutcome>>{
                {"Sealed", CardOutcome::Protected}, {"Linked", CardOutcome::Unreadable}}));
  EXPECT_EQ(run.summary.skippedProtected, 1);
  EXPECT_EQ(run.summary.unreadable, 1);

  // The main card before its first save is empty rather than unreadable.
  SearchedCard main{-2, "-", "Main", temp.path() / "default.kvn", {}, {}, true};
  EXPECT_TRUE(find({main}, {"word"}).skipped.empty());

  // The open protected card, read with its password, is searched through the editor's text.
  sealed.openText = "the word in clear";
  EXPECT_EQ(find({sealed}, {"word"}).lines.size(), 1u);
}

TEST_F(FindInCards, TheOpenCardIsSearchedInItsUnsavedTextNotItsFile) {
  SearchedCard open = own(0, "Open", "saved old text");
  open.openText = "typed\r\nnew text";
  const Run run = find({open}, {"new"});
  ASSERT_EQ(run.lines.size(), 1u);
  EXPECT_EQ(run.lines[0].line, 2);
  EXPECT_TRUE(find({open}, {"old"}).lines.empty());
}

TEST_F(FindInCards, TheContentFileComesFromTheSettingsFileRelativeOrAbsolute) {
  writeBytes(temp.path() / "7.kvo", "7.kvn\r\n8\r\n");
  writeBytes(temp.path() / "7.kvn", "relative needle");
  const fs::path outside = temp.path() / "outside" / "linked.txt";
  writeBytes(outside, "absolute needle");
  writeBytes(temp.path() / "8.kvo", store::utf8Of(outside) + "\r\n");
  const Run run = find({{7, "7", "Own", {}, temp.path() / "7.kvo", {}},
                        {8, "8", "Linked", {}, temp.path() / "8.kvo", {}}},
                       {"needle"});
  ASSERT_EQ(run.lines.size(), 2u);
  EXPECT_EQ(run.lines[1].text, "absolute needle");
}

TEST_F(FindInCards, ACardChangedOnDiskIsReadAgainTheOthersComeFromMemory) {
  const auto first = own(0, "First", "alpha");
  const auto second = own(1, "Second", "beta");
  EXPECT_EQ(find({first, second}, {"alpha"}).lines.size(), 1u);
  EXPECT_EQ(cache.filesRead(), 2);
  EXPECT_EQ(find({first, second}, {"beta"}).lines.size(), 1u);
  EXPECT_EQ(cache.filesRead(), 2);
  writeBytes(first.contentFile, "alpha gamma");
  EXPECT_EQ(find({first, second}, {"gamma"}).lines.size(), 1u);
  EXPECT_EQ(cache.filesRead(), 3);
  EXPECT_EQ(cache.textBytes(), std::string("alpha gamma").size() + 4);
  // A card no longer searched (deleted) leaves the memory.
  find({second}, {"beta"});
  EXPECT_EQ(cache.textBytes(), 4u);
}

TEST_F(FindInCards, ACancelledSearchStopsAtTheNextCardAndSaysSo) {
  const auto first = own(0, "First", "x x x");
  const auto second = own(1, "Second", "x");
  int reports = 0;
  const FindSummary summary =
      findInCards({first, second}, temp.path(), {"x"}, cache, cancelled,
                  [&](const SearchedCard&, CardOutcome, std::vector<FoundLine>) {
                    ++reports;
                    cancelled = true;  // a keystroke, as the first card is reported
                  });
  EXPECT_EQ(reports, 1);
  EXPECT_TRUE(summary.cancelled);
  // Still set: the next search stops before its first card.
  const FindSummary stopped =
      findInCards({first}, temp.path(), {"x"}, cache, cancelled,
                  [&](const SearchedCard&, CardOutcome, std::vector<FoundLine>) { ++reports; });
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_EQ(reports, 1);
}

TEST_F(FindInCards, HitsPastTheLimitAreCountedAndLongLinesShownAroundTheHit) {
  const Run limited = find({own(0, "A", "x x x"), own(1, "B", "x x")}, {"x", false, 3});
  EXPECT_EQ(limited.lines.size(), 3u);
  EXPECT_EQ(limited.summary.hits, 5);
  EXPECT_EQ(limited.summary.listed, 3);

  const std::string longLine = std::string(1000, 'a') + "needle" + std::string(1000, 'b');
  const Run run = find({own(2, "Long", longLine)}, {"needle"});
  ASSERT_EQ(run.lines.size(), 1u);
  const FoundLine& shown = run.lines[0];
  EXPECT_LE(shown.text.size(), kLongestShownLine + 6);
  EXPECT_EQ(shown.text.substr(0, 3), "\xE2\x80\xA6");
  EXPECT_EQ(shown.text.substr(shown.text.size() - 3), "\xE2\x80\xA6");
  EXPECT_EQ(shown.text.substr(shown.markStart, shown.markEnd - shown.markStart), "needle");
  EXPECT_EQ(shown.position, 1000);
}

}  // namespace
}  // namespace qw::find
