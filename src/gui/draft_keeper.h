#pragma once
// Writes the open card's draft a few seconds after the text last changed. The text is taken on
// the UI thread; the sealing and the disk write run on a worker of the keeper's own, so typing
// never waits on them.

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

#include "core/notebook/card_drafts.h"

namespace qw::gui {

class DraftKeeper : public QObject {
  Q_OBJECT
 public:
  // `take` gives the draft to write, or nothing when there is none.
  using Take = std::function<std::optional<notebook::DraftJob>()>;
  explicit DraftKeeper(Take take, std::chrono::milliseconds quiet = std::chrono::seconds(3),
                       QObject* parent = nullptr);
  // Waits for a draft still being written.
  ~DraftKeeper() override;

  // Every change of the text starts the wait again: the draft follows a pause in the typing.
  void textChanged();

 private:
  void writeDraft();

  Take take_;
  QTimer quiet_;
  QThreadPool worker_;
};

}  // namespace qw::gui
