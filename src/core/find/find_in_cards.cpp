#include "core/find/find_in_cards.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <system_error>

#include "core/find/text_matcher.h"
#include "core/store/card_settings.h"
#include "core/text/utf8.h"

namespace qw::find {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
// How much of a long line is shown before the hit; the rest of kLongestShownLine after it.
constexpr std::size_t kShownBeforeHit = 100;

std::size_t startOfCodePoint(std::string_view text, std::size_t at) {
  while (at > 0 && at < text.size() && !text::startsCodePoint(text[at])) --at;
  return at;
}

// The line of a hit, cut around the hit when it is long, with the hit's bytes in it.
void showLine(std::string_view line, Occurrence hit, FoundLine& found) {
  hit.end = std::min(hit.end, line.size());  // a hit runs into the line break at most
  if (line.size() <= kLongestShownLine) {
    found.text = line;
    found.markStart = hit.start;
    found.markEnd = hit.end;
    return;
  }
  const std::size_t from =
      startOfCodePoint(line, hit.start > kShownBeforeHit ? hit.start - kShownBeforeHit : 0);
  const std::size_t to =
      std::max(startOfCodePoint(line, std::min(line.size(), from + kLongestShownLine)), hit.start);
  found.text.clear();
  if (from > 0) found.text += kEllipsis;
  found.markStart = found.text.size() + (hit.start - from);
  found.markEnd = found.text.size() + (std::min(hit.end, to) - from);
  found.text += line.substr(from, to - from);
  if (to < line.size()) found.text += kEllipsis;
}

// Walks one card's text from hit to hit, keeping the line and the stored position up to date,
// so that a text is scanned once whatever its number of hits.
class LineTracker {
 public:
  explicit LineTracker(std::string_view text) : text_(text) {}

  void moveTo(std::size_t at) {
    const std::string_view passed = text_.substr(scanned_, at - scanned_);
    position_ += text::codePointCount(passed);
    for (std::size_t nl = passed.find('\n'); nl != std::string_view::npos;
         nl = passed.find('\n', nl + 1)) {
      ++line_;
      lineStart_ = scanned_ + nl + 1;
      lineEnd_.reset();
    }
    scanned_ = at;
  }
  int line() const { return line_; }
  std::int64_t position() const { return position_; }
  std::size_t lineStart() const { return lineStart_; }
  std::string_view lineText() {
    if (!lineEnd_) {
      std::size_t end = text_.find('\n', lineStart_);
      if (end == std::string_view::npos) end = text_.size();
      if (end > lineStart_ && text_[end - 1] == '\r') --end;
      lineEnd_ = end;
    }
    return text_.substr(lineStart_, *lineEnd_ - lineStart_);
  }

 private:
  std::string_view text_;
  std::size_t scanned_ = 0;
  std::int64_t position_ = 0;
  int line_ = 1;
  std::size_t lineStart_ = 0;
  std::optional<std::size_t> lineEnd_;
};

}  // namespace

FindSummary findInCards(const std::vector<SearchedCard>& cards, const fs::path& dataFolder,
                        const FindQuery& query, CardTextCache& cache,
                        const std::atomic<bool>& cancelled, const CardReport& report) {
  FindSummary summary;
  TextMatcher matcher(query.text, query.ignoreAccents);
  std::set<fs::path> used;
  for (const SearchedCard& card : cards) {
    if (cancelled) {
      summary.cancelled = true;
      return summary;
    }
    const std::string* text = card.openText ? &*card.openText : nullptr;
    if (!text) {
      fs::path content = card.contentFile;
      if (content.empty() && !card.settingsFile.empty()) {
        used.insert(card.settingsFile);
        content = cache.contentFile(card.settingsFile, dataFolder);
      }
      if (store::isProtectedFile(content)) {
        ++summary.skippedProtected;
        report(card, CardOutcome::Protected, {});
        continue;
      }
      used.insert(content);
      text = content.empty() ? nullptr : cache.plainText(content);
      std::error_code error;
      if (!text && card.fileMayBeMissing && !fs::exists(content, error)) continue;
      if (!text) {
        ++summary.unreadable;
        report(card, CardOutcome::Unreadable, {});
        continue;
      }
    }

    std::vector<FoundLine> lines;
    int hits = 0;
    LineTracker tracker(*text);
    matcher.forEach(*text, [&](Occurrence hit) {
      if (cancelled) return false;
      ++hits;
      if (static_cast<std::size_t>(summary.listed) + lines.size() >= query.mostListed)
        return true;  // counted only
      tracker.moveTo(hit.start);
      FoundLine& found = lines.emplace_back();
      found.card = card.card;
      found.number = card.number;
      found.name = card.name;
      found.line = tracker.line();
      found.position = tracker.position();
      found.length =
          text::codePointCount(std::string_view(*text).substr(hit.start, hit.end - hit.start));
      const std::size_t lineStart = tracker.lineStart();
      showLine(tracker.lineText(), {hit.start - lineStart, hit.end - lineStart}, found);
      return true;
    });
    if (cancelled) {
      summary.cancelled = true;
      return summary;
    }
    if (hits == 0) continue;
    summary.hits += hits;
    ++summary.cardsWithHits;
    summary.listed += static_cast<int>(lines.size());
    report(card, CardOutcome::Searched, std::move(lines));
  }
  cache.keepOnly(used);
  return summary;
}

}  // namespace qw::find
