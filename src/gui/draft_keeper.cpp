#include "gui/draft_keeper.h"

#include <memory>

namespace qw::gui {

DraftKeeper::DraftKeeper(Take take, std::chrono::milliseconds quiet, QObject* parent)
    : QObject(parent), take_(std::move(take)) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(quiet);
  connect(&quiet_, &QTimer::timeout, this, &DraftKeeper::writeDraft);
  // One worker: drafts reach the disk in the order they were taken.
  worker_.setMaxThreadCount(1);
}

DraftKeeper::~DraftKeeper() { worker_.waitForDone(); }

void DraftKeeper::textChanged() { quiet_.start(); }

void DraftKeeper::writeDraft() {
  std::optional<notebook::DraftJob> draft = take_();
  if (!draft) return;
  auto job = std::make_shared<notebook::DraftJob>(std::move(*draft));
  worker_.start([job] { job->run(); });
}

}  // namespace qw::gui
