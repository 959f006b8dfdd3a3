#include "gui/search_controller.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>
#include <climits>
#include <optional>

#include "core/text/line_number.h"
#include "core/text/stored_position.h"
#include "core/text/text_search.h"
#include "gui/editor_panel.h"
#include "gui/folding_panel.h"
#include "gui/qt_text.h"
#include "gui/strip_panel.h"

namespace qw::gui {
namespace {

bool isEnter(const QKeyEvent& key) {
  return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// Held keys repeat their press and release; only the real release counts.
const QKeyEvent* realRelease(QEvent* event) {
  if (event->type() != QEvent::KeyRelease) return nullptr;
  const auto* key = static_cast<QKeyEvent*>(event);
  return key->isAutoRepeat() ? nullptr : key;
}

class OverrideCursor {
 public:
  explicit OverrideCursor(Qt::CursorShape shape) { QApplication::setOverrideCursor(shape); }
  ~OverrideCursor() { QApplication::restoreOverrideCursor(); }
  OverrideCursor(const OverrideCursor&) = delete;
  OverrideCursor& operator=(const OverrideCursor&) = delete;
};

}  // namespace

SearchController::SearchController(StripPanel& panel, EditorPanel& editor, QObject* parent)
    : QObject(parent),
      panel_(panel),
      editor_(editor),
      searchField_(panel.search),
      lineField_(panel.lineNumber),
      strings_(i18n::StringTable::forLanguage("Français")) {
  inform_ = [this](const QString& text) {
    QMessageBox::information(editor_.window(), qs(strings_[i18n::Str::sMainTitle]), text);
  };
  panel_.search->installEventFilter(this);
  panel_.lineNumber->installEventFilter(this);
  connect(panel_.search, &QLineEdit::textChanged, this, [this] { searchStart_ = 0; });
  connect(&editor_, &EditorPanel::cardLoaded, this, &SearchController::restartSearch);
  connect(&editor_, &EditorPanel::caretPlacedByUser, this, &SearchController::editorReleased);
}

void SearchController::setStrings(const i18n::StringTable& strings) { strings_ = strings; }

void SearchController::setInformer(std::function<void(const QString& text)> inform) {
  inform_ = std::move(inform);
}

void SearchController::continueAfter(const QString& text, std::int64_t hitStart) {
  panel_.search->setText(text);  // which starts the search from the top
  searchStart_ = hitStart + 1;
}

void SearchController::nextSearch() {
  const QString text = panel_.search->text();
  if (text.isEmpty())
    focusSearch();
  else
    search(text);
}

void SearchController::focusSearch() {
  panel_.functions->setOpen(true);
  panel_.search->setFocus(Qt::ShortcutFocusReason);
}

bool SearchController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == searchField_) {
    if (event->type() == QEvent::KeyPress) {
      searchKeyArmed_ = true;
    } else if (const QKeyEvent* key = realRelease(event); key && searchKeyArmed_) {
      if (isEnter(*key)) {
        if (const QString text = panel_.search->text(); !text.isEmpty()) search(text);
        panel_.search->setFocus(Qt::OtherFocusReason);
      } else {
        searchStart_ = 0;
      }
      searchKeyArmed_ = false;
    }
  } else if (watched == lineField_) {
    if (const QKeyEvent* key = realRelease(event); key && isEnter(*key)) goToLine();
  }
  return QObject::eventFilter(watched, event);
}

void SearchController::editorReleased() { searchStart_ = editor_.selection().start; }

void SearchController::search(const QString& text) {
  const std::int64_t from = searchStart_;
  std::optional<std::int64_t> hit;
  {
    const OverrideCursor hourglass(Qt::WaitCursor);
    hit = text::findText(editor_.plainText(), utf8(text), from);
  }
  if (hit) {
    editor_.focusText();
    editor_.setSelection({*hit, static_cast<long long>(text.toUcs4().size())});
    searchStart_ = *hit + 1;
    return;
  }
  const i18n::Str outcome = from == 0 ? i18n::Str::sMsgNotFound : i18n::Str::sMsgNoMoreResults;
  inform_("'" + text + "' : " + qs(strings_[outcome]));
  searchStart_ = 0;
}

void SearchController::goToLine() {
  if (!editor_.showsCard()) return;
  const std::optional<std::int64_t> wanted = text::parseLineNumber(utf8(panel_.lineNumber->text()));
  if (!wanted || *wanted <= 0) return;
  const std::vector<std::string> lines = editor_.lines();
  const auto count = static_cast<std::int64_t>(lines.size());
  if (*wanted <= count) {
    // Lines have no breaks of their own; each break before the line counts two.
    std::int64_t start = 0;
    for (std::int64_t i = 0; i + 1 < *wanted; ++i)
      start += text::storedLength(lines[static_cast<std::size_t>(i)]) + 2;
    const std::int64_t length = text::storedLength(lines[static_cast<std::size_t>(*wanted - 1)]);
    // The line and the first character of its break: the document holds the break as one
    // character, so the selection takes it whole (both stored characters). The last line has
    // no break and the selection stops at the end of the text.
    editor_.setSelection({start, length + 2});
  } else {
    editor_.setSelection({editor_.selection().start, 0});
  }
  // The display shows the asked line, not the caret's, which setSelection has just written.
  const int shownLine = static_cast<int>(std::min<std::int64_t>(*wanted, INT_MAX)) - 1;
  editor_.showLine(shownLine, static_cast<int>(count));
}

}  // namespace qw::gui
