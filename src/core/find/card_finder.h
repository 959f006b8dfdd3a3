#pragma once
// Find in all cards off the window's thread: searches run one after the other on a thread of
// their own, which keeps the cache, so typing never waits for the disk. A search superseded by
// a keystroke is cancelled, and its reports stop.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/find/card_text_cache.h"
#include "core/find/find_in_cards.h"

namespace qw::find {

class CardFinder {
 public:
  CardFinder();
  // Cancels what is queued or running and waits for the thread.
  ~CardFinder();
  CardFinder(const CardFinder&) = delete;
  CardFinder& operator=(const CardFinder&) = delete;

  // A search started; setting `cancelled` stops it.
  using Handle = std::shared_ptr<std::atomic<bool>>;

  // Queues a search. `report` and `done` are called on the finder's thread, unless cancelled.
  Handle start(std::vector<SearchedCard> cards, std::filesystem::path dataFolder, FindQuery query,
               CardReport report, std::function<void(const FindSummary&)> done);

  // Searches through the finder's thread and waits for the end: the command line's search,
  // which shares the cache. `report` is called on that thread.
  FindSummary findNow(std::vector<SearchedCard> cards, std::filesystem::path dataFolder,
                      FindQuery query, CardReport report);

  // The bytes of card text the finder keeps, and how many files it has read; for the bench.
  std::size_t keptTextBytes();
  int filesRead();

 private:
  struct Job {
    std::vector<SearchedCard> cards;
    std::filesystem::path dataFolder;
    FindQuery query;
    CardReport report;
    std::function<void(const FindSummary&)> done;
    Handle cancelled;
  };
  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  Handle running_;
  bool stopping_ = false;
  // The cache belongs to the thread; `cacheMutex_` only lets the bench's questions in.
  std::mutex cacheMutex_;
  CardTextCache cache_;
  std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace qw::find
