#include "core/find/card_finder.h"

#include <future>

namespace qw::find {

CardFinder::CardFinder() : thread_([this] { run(); }) {}

CardFinder::~CardFinder() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (Job& job : jobs_) *job.cancelled = true;
    if (running_) *running_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

CardFinder::Handle CardFinder::start(std::vector<SearchedCard> cards,
                                     std::filesystem::path dataFolder, FindQuery query,
                                     CardReport report,
                                     std::function<void(const FindSummary&)> done) {
  auto cancelled = std::make_shared<std::atomic<bool>>(false);
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back({std::move(cards), std::move(dataFolder), std::move(query), std::move(report),
                     std::move(done), cancelled});
  }
  wake_.notify_one();
  return cancelled;
}

FindSummary CardFinder::findNow(std::vector<SearchedCard> cards, std::filesystem::path dataFolder,
                                FindQuery query, CardReport report) {
  std::promise<FindSummary> result;
  std::future<FindSummary> summary = result.get_future();
  start(std::move(cards), std::move(dataFolder), std::move(query), std::move(report),
        [&result](const FindSummary& found) { result.set_value(found); });
  return summary.get();
}

void CardFinder::run() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      // Nobody waits for what is left: findNow's caller is the one destroying the finder.
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
      running_ = job.cancelled;
    }
    if (*job.cancelled) continue;
    std::lock_guard cacheLock(cacheMutex_);
    const CardReport report = [&job](const SearchedCard& card, CardOutcome outcome,
                                     std::vector<FoundLine> lines) {
      if (!*job.cancelled) job.report(card, outcome, std::move(lines));
    };
    const FindSummary summary =
        findInCards(job.cards, job.dataFolder, job.query, cache_, *job.cancelled, report);
    if (!*job.cancelled) job.done(summary);
  }
}

std::size_t CardFinder::keptTextBytes() {
  std::lock_guard lock(cacheMutex_);
  return cache_.textBytes();
}

int CardFinder::filesRead() {
  std::lock_guard lock(cacheMutex_);
  return cache_.filesRead();
}

}  // namespace qw::find
