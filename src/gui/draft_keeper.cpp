#include "gui/draft_keeper.h"

#include <QTextEdit>
#include <memory>

namespace qw::gui {

DraftKeeper::DraftKeeper(QTextEdit* editor, Take take, std::chrono::milliseconds quiet,
                         QObject* parent)
    : QObject(parent), take_(std::move(take)) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(quiet);
  // Every keystroke starts the wait again: the draft follows a pause in the typing.
  connect(editor, &QTextEdit::textChanged, &quiet_, qOverload<>(&QTimer::start));
  connect(&quiet_, &QTimer::timeout, this, &DraftKeeper::writeDraft);
  // One worker: drafts reach the disk in the order they were taken.
  worker_.setMaxThreadCount(1);
}

DraftKeeper::~DraftKeeper() { worker_.waitForDone(); }

void DraftKeeper::writeDraft() {
  std::optional<notebook::DraftJob> draft = take_();
  if (!draft) return;
  auto job = std::make_shared<notebook::DraftJob>(std::move(*draft));
  worker_.start([job] { job->run(); });
}

}  // namespace qw::gui
