// Find in all cards at scale: the scale notebook (500 cards, ten of 1 MB RTF, ten of 1 MB plain
// text) searched through the finder's thread, the first time and once read, against a floor of
// `grep -c` over the same cards' plain text in one run, and the memory the search keeps.
//
//   find_bench [RUNS]      (default 15)

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "core/find/card_finder.h"
#include "core/store/index_line.h"
#include "core/store/store.h"
#include "core/store/text_file.h"
#include "core/text/plain_text.h"
#include "scale/notebook_generator.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using qw::find::CardFinder;
using qw::find::FindQuery;
using qw::find::SearchedCard;

namespace {

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Timing {
  double firstHit = 0;
  double whole = 0;
  int hits = 0;
};

// One search as the dialog runs it: started, then waited for; the first report's time is when
// the first hits could be on the screen.
Timing timeSearch(CardFinder& finder, const std::vector<SearchedCard>& cards, const fs::path& data,
                  const FindQuery& query) {
  std::promise<void> done;
  Timing timing;
  bool first = true;
  const Clock::time_point start = Clock::now();
  finder.start(
      cards, data, query,
      [&](const SearchedCard&, qw::find::CardOutcome, std::vector<qw::find::FoundLine> lines) {
        if (first && !lines.empty()) {
          timing.firstHit = msSince(start);
          first = false;
        }
      },
      [&](const qw::find::FindSummary& summary) {
        timing.whole = msSince(start);
        timing.hits = summary.hits;
        done.set_value();
      });
  done.get_future().get();
  return timing;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

double timeGrep(const fs::path& texts, const std::string& word) {
  const std::string command = "LC_ALL=C grep -c -i -F -- " + shellQuoted(word) + " " +
                              shellQuoted(texts.string()) + "/*.txt > /dev/null";
  const Clock::time_point start = Clock::now();
  const int status = std::system(command.c_str());
  const double ms = msSince(start);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
    std::fprintf(stderr, "find_bench: grep failed\n");
    std::exit(1);
  }
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const fs::path work =
      fs::temp_directory_path() / ("quillwick-find-bench-" + std::to_string(::getpid()));
  const fs::path data = work / "dataQuillWick";
  const fs::path texts = work / "plain";
  fs::create_directories(texts);
  qw::bench::writeNotebook(data, {});

  // The cards as the window hands them over, and their plain text for grep.
  std::vector<SearchedCard> cards{{-2, "-", "quillWick", data / "default.kvn", {}, {}, true}};
  const auto index = qw::store::readTextLines(data / "fiches.kvn").value();
  for (std::size_t i = 0; i + 1 < index.size(); ++i)
    cards.push_back({static_cast<int>(i),
                     std::to_string(i),
                     qw::store::displayName(index[i]),
                     {},
                     data / (qw::store::fileNumber(index[i]) + ".kvo"),
                     {}});
  std::size_t plainBytes = 0;
  int fileNumber = 0;
  for (const auto& entry : fs::directory_iterator(data)) {
    if (entry.path().extension() != ".kvn" || entry.path().filename() == "fiches.kvn" ||
        entry.path().filename() == "categ.kvn")
      continue;
    const std::string plain =
        qw::text::plainTextOfCard(qw::store::readFileBytes(entry.path()).value());
    plainBytes += plain.size();
    std::FILE* out = std::fopen((texts / (std::to_string(fileNumber++) + ".txt")).c_str(), "wb");
    std::fwrite(plain.data(), 1, plain.size(), out);
    std::fclose(out);
  }

  struct Case {
    const char* label;
    FindQuery query;
  };
  const Case cases[] = {
      {"\"blue bike\" (a line of every small card)", {"blue bike"}},
      {"\"rendez-vous\" (thousands of times in the big cards)", {"rendez-vous", false, 5000}},
      {"\"naive\", accents ignored", {"naive", true, 5000}},
  };
  std::printf("Find in all cards: %zu cards, %.1f MB of plain text, %d runs (medians, ms)\n",
              cards.size(), plainBytes / 1e6, runs);
  std::printf("%-52s %8s %8s %8s %8s %8s %8s\n", "query", "hits", "cold 1st", "cold all",
              "warm 1st", "warm all", "grep -c");
  for (const Case& c : cases) {
    std::vector<double> coldFirst, coldWhole, warmFirst, warmWhole, grep;
    int hits = 0;
    for (int run = 0; run < runs; ++run) {
      CardFinder finder;  // a cold cache: what the first search after a start reads
      const Timing cold = timeSearch(finder, cards, data, c.query);
      const Timing warm = timeSearch(finder, cards, data, c.query);
      coldFirst.push_back(cold.firstHit);
      coldWhole.push_back(cold.whole);
      warmFirst.push_back(warm.firstHit);
      warmWhole.push_back(warm.whole);
      grep.push_back(timeGrep(texts, c.query.text));
      hits = warm.hits;
    }
    std::printf("%-52s %8d %8.1f %8.1f %8.1f %8.1f %8.1f\n", c.label, hits, median(coldFirst),
                median(coldWhole), median(warmFirst), median(warmWhole), median(grep));
  }
  CardFinder finder;
  timeSearch(finder, cards, data, {"x"});
  std::printf("Kept by the search: %.1f MB of card text for %.1f MB of plain text (%.2f)\n",
              finder.keptTextBytes() / 1e6, plainBytes / 1e6,
              static_cast<double>(finder.keptTextBytes()) / static_cast<double>(plainBytes));
  std::printf("Goals: first hits within 50 ms, all within 200 ms cold and 50 ms warm\n");
  fs::remove_all(work);
  return 0;
}
