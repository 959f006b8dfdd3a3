#include "core/find/card_finder.h"

#include <gtest/gtest.h>

#include <future>

#include "core/store/temp_folder.h"

namespace qw::find {
namespace {

namespace fs = std::filesystem;

class CardFinderTest : public ::testing::Test {
 protected:
  CardFinderTest() {
    for (int card = 0; card < 50; ++card) {
      const fs::path file = temp.path() / (std::to_string(card) + ".kvn");
      store::fixtures::writeBytes(file, "card " + std::to_string(card) + " holds a word\r\n");
      cards.push_back({card, std::to_string(card), "Card " + std::to_string(card), file, {}, {}});
    }
  }
  store::fixtures::TempFolder temp;
  std::vector<SearchedCard> cards;
};

TEST_F(CardFinderTest, ASearchReportsFromItsThreadThenSaysItIsDone) {
  CardFinder finder;
  std::promise<FindSummary> done;
  std::vector<std::string> names;  // written by the finder's thread before `done`
  const std::thread::id caller = std::this_thread::get_id();
  bool elsewhere = true;
  finder.start(
      cards, temp.path(), {"word"},
      [&](const SearchedCard& card, CardOutcome, std::vector<FoundLine>) {
        elsewhere = elsewhere && std::this_thread::get_id() != caller;
        names.push_back(card.name);
      },
      [&](const FindSummary& summary) { done.set_value(summary); });
  const FindSummary summary = done.get_future().get();
  EXPECT_EQ(summary.hits, 50);
  EXPECT_EQ(names.size(), 50u);
  EXPECT_EQ(names.front(), "Card 0");
  EXPECT_TRUE(elsewhere);
  // The same search through findNow shares the cache: nothing is read again.
  EXPECT_EQ(finder.findNow(cards, temp.path(), {"holds"}, [](auto&&...) {}).hits, 50);
  EXPECT_EQ(finder.filesRead(), 50);
  EXPECT_GT(finder.keptTextBytes(), 0u);
}

TEST_F(CardFinderTest, ACancelledSearchReportsNothingMoreAndTheNextOneRuns) {
  CardFinder finder;
  std::atomic<int> firstReports = 0;
  std::atomic<bool> firstDone = false;
  // Each report of the first search waits a little, so that it is still running when cancelled.
  const CardFinder::Handle first = finder.start(
      cards, temp.path(), {"word"},
      [&](const SearchedCard&, CardOutcome, std::vector<FoundLine>) {
        ++firstReports;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      },
      [&](const FindSummary&) { firstDone = true; });
  while (firstReports == 0) std::this_thread::yield();
  *first = true;
  const FindSummary second = finder.findNow(cards, temp.path(), {"card 7 "}, [](auto&&...) {});
  EXPECT_EQ(second.hits, 1);
  EXPECT_FALSE(firstDone);
  EXPECT_LT(firstReports, 50);
}

TEST_F(CardFinderTest, DestroyingTheFinderStopsWhatRuns) {
  std::atomic<int> reports = 0;
  {
    CardFinder finder;
    finder.start(
        cards, temp.path(), {"word"},
        [&](const SearchedCard&, CardOutcome, std::vector<FoundLine>) {
          ++reports;
          std::this_thread::sleep_for(std::chrono::milliseconds(5));
        },
        [](const FindSummary&) {});
    while (reports == 0) std::this_thread::yield();
  }
  const int atEnd = reports;
  EXPECT_LT(atEnd, 50);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(reports, atEnd);
}

}  // namespace
}  // namespace qw::find
