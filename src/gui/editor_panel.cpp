#include "gui/editor_panel.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/crypto/sealed_card.h"
#include "core/notebook/caret_line.h"
#include "core/text/rich_text.h"
#include "core/text/rtf_reader.h"
#include "gui/card_editor.h"
#include "gui/colour_list.h"
#include "gui/font_list.h"
#include "gui/font_size_box.h"
#include "gui/format_bar.h"
#include "gui/performance_trace.h"
#include "gui/rich_text_document.h"

namespace qw::gui {
namespace {

constexpr double kLargestPointSize = text::kMaxHalfPoints / 2.0;

int toInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Where one line sits in the document: its first position and its length in UTF-16 units,
// its break (if any) right after it.
struct LineSpan {
  int start = 0;
  int length = 0;
};

// Every line of the document in one pass over its blocks; a line break inside a block
// (Shift+Enter) is U+2028.
std::vector<LineSpan> lineSpans(const QTextDocument& doc) {
  std::vector<LineSpan> spans;
  spans.reserve(static_cast<std::size_t>(doc.blockCount()));
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    int from = 0;
    for (int at; (at = static_cast<int>(text.indexOf(QChar::LineSeparator, from))) >= 0;
         from = at + 1)
      spans.push_back({block.position() + from, at - from});
    spans.push_back({block.position() + from, static_cast<int>(text.size()) - from});
  }
  return spans;
}

// The UTF-16 length of the first `characters` characters of `text`, at most all of it.
int unitsOf(const QString& text, int characters) {
  int units = 0;
  for (int i = 0; i < characters && units < text.size(); ++i)
    units += text.at(units).isHighSurrogate() && units + 1 < text.size() ? 2 : 1;
  return units;
}

QString joinedLines(const std::vector<std::string>& lines) {
  QString text;
  for (const auto& line : lines) {
    text += QString::fromStdString(line);
    text += QChar::ParagraphSeparator;
  }
  return text;
}

}  // namespace

EditorPanel::EditorPanel(QWidget* parent)
    : QWidget(parent), strings_(i18n::StringTable::forLanguage("Français")) {
  setObjectName("PText");
  bar_ = new FormatBar(this);
  editor_ = new CardEditor(this);
  // Tells when a loaded card is first on the screen, and which keys the text had.
  editor_->viewport()->installEventFilter(this);
  editor_->installEventFilter(this);
  // Installed last, so called first: the first paint is marked before the work it queues.
  trace::watchPaints(editor_->viewport());

  auto* status = new QWidget(this);
  status->setObjectName("PBottomFile");
  fileName_ = new QLabel(status);
  fileName_->setObjectName("LFileName");
  // A long path is cut at the window's edge rather than widening the window.
  fileName_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lineNumber_ = new QLabel(status);
  lineNumber_->setObjectName("LLineNumber");
  auto* statusRow = new QHBoxLayout(status);
  statusRow->setContentsMargins(6, 2, 6, 2);
  statusRow->addWidget(fileName_, 1);
  statusRow->addWidget(lineNumber_);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(bar_);
  column->addWidget(editor_, 1);
  // Hidden after a failed load, the text keeps its place: the bar stays on top, the status
  // bar at the bottom.
  QSizePolicy keepsPlace = editor_->sizePolicy();
  keepsPlace.setRetainSizeWhenHidden(true);
  editor_->setSizePolicy(keepsPlace);
  column->addWidget(status);

  setBackgroundItem(bar_->backgroundColours()->currentIndex());
  wireFormatBar();
  connect(editor_->document(), &QTextDocument::modificationChanged, this,
          &EditorPanel::modifiedChanged);
  connect(editor_, &QTextEdit::textChanged, this, [this] {
    if (!cardName_.isEmpty()) refreshCaretLine();
    emit textChanged();
  });
  connect(editor_, &CardEditor::keyReleased, this, [this] {
    refreshCaretLine();
    if (releaseCounts_) emit caretPlacedByUser();
  });
  connect(editor_, &CardEditor::mouseReleased, this, [this] {
    refreshCaretLine();
    showSelectionFormat();
    emit caretPlacedByUser();
  });
  refreshCaretLine();
}

void EditorPanel::wireFormatBar() {
  connect(bar_->boldButton(), &QToolButton::clicked, editor_, &CardEditor::toggleBold);
  connect(bar_->italicButton(), &QToolButton::clicked, editor_, &CardEditor::toggleItalic);
  connect(bar_->underlineButton(), &QToolButton::clicked, editor_, &CardEditor::toggleUnderline);
  connect(bar_->wordWrapButton(), &QToolButton::clicked, this, [this] {
    editor_->setWordWrap(!editor_->wordWrap());
    bar_->showWordWrapFace(editor_->wordWrap());
  });
  connect(bar_->sizeBox(), &FontSizeBox::sizeTextChanged, this, &EditorPanel::applySize);
  connect(bar_->fontList(), &FontList::familyChosen, editor_, &CardEditor::setSelectionFamily);
  connect(bar_->textColours(), &ColourList::colourChosen, this,
          [this](int, const QColor& colour) { editor_->setSelectionColour(colour); });
  connect(bar_->backgroundColours(), &ColourList::colourChosen, this,
          [this](int, const QColor& colour) { editor_->setBackground(colour); });
}

void EditorPanel::applySize(int size) {
  // Typed sizes go through as typed; only what no text can hold is left out or capped.
  if (size < 1) return;
  editor_->setSelectionPointSize(std::min<double>(size, kLargestPointSize));
}

void EditorPanel::showSelectionFormat() {
  bar_->fontList()->showFamily(editor_->selectionFamily());
  const double points = editor_->selectionPointSize();
  // Whole points, as the field counts them; setting the field applies the size like any change.
  bar_->sizeBox()->setValue(std::clamp(static_cast<int>(std::floor(points)), FontSizeBox::kMinimum,
                                       FontSizeBox::kMaximum));
}

void EditorPanel::setStrings(const i18n::StringTable& strings) {
  strings_ = strings;
  bar_->setStrings(strings);
  refreshCaretLine();
}

void EditorPanel::setCardName(const QString& name) {
  cardName_ = name;
  bar_->title()->setText(name);
  // The text field goes by the card's name, as the title above it does.
  editor_->setAccessibleName(name);
}

void EditorPanel::setFileName(const QString& path) { fileName_->setText(path); }

void EditorPanel::setFormattingEnabled(bool enabled) {
  bar_->boldButton()->setEnabled(enabled);
  bar_->italicButton()->setEnabled(enabled);
  bar_->underlineButton()->setEnabled(enabled);
  bar_->textColours()->setEnabled(enabled);
}

bool EditorPanel::showsCard() const { return editor_->isVisibleTo(this); }

void EditorPanel::refreshCaretLine() {
  if (!showsCard()) {
    lineNumber_->clear();
    return;
  }
  const int count = editor_->lineCount();
  lineNumber_->setProperty("tag", count);
  showLine(editor_->lineOf(editor_->textCursor().selectionStart()), count);
}

void EditorPanel::showLine(int line, int count) {
  lineNumber_->setText(QString::fromStdString(notebook::caretLineDisplay(line, count, *strings_)));
}

const QTextDocument& EditorPanel::document() const {
  completeLoad();
  return *editor_->document();
}

QFont EditorPanel::textFont() const { return editor_->font(); }

void EditorPanel::runAfterFirstPaint(std::function<void()> work) {
  if (painted_)
    QTimer::singleShot(0, this, std::move(work));
  else
    afterFirstPaint_.push_back(std::move(work));
}

void EditorPanel::focusText() { editor_->setFocus(Qt::OtherFocusReason); }

void EditorPanel::selectAllText() {
  editor_->setFocus();
  editor_->selectAll();
}

// --- ports::Editor ---

void EditorPanel::load(std::string_view fileBytes) {
  // A card still arriving is replaced, not saved: nothing has read or changed it.
  dropPending();
  ++loads_;
  paintAwaited_ = true;
  // Enough paragraphs for a tall window. Reading a formatted megabyte and Qt's own bookkeeping
  // for it cost ten times a plain load, so a big card is read and drawn from its first part,
  // and read and filled whole right after the first paint.
  constexpr std::size_t kFirstParagraphs = 400;
  constexpr std::size_t kFirstCharacters = std::size_t{64} * 1024;
  const text::RichTextBeginning beginning = text::readRtfBeginning(fileBytes, kFirstParagraphs);
  const text::RichText& model = beginning.text;
  std::size_t first = 0;
  for (std::size_t characters = 0;
       first < model.paragraphs.size() && first < kFirstParagraphs && characters < kFirstCharacters;
       ++first)
    for (const text::Run& run : model.paragraphs[first].runs) characters += run.text.size();
  showDocument(filledDocument(model, first));
  emit cardLoaded();
  if (first < model.paragraphs.size() || !beginning.whole) {
    pending_ = std::string(fileBytes);
    // Sees the first paint, and any input before the rest is in.
    qApp->installEventFilter(this);
  }
}

void EditorPanel::dropPending() const {
  if (!pending_) return;
  crypto::wipe(*pending_);  // it may be a protected card's text
  pending_.reset();
  qApp->removeEventFilter(const_cast<EditorPanel*>(this));
}

QTextDocument* EditorPanel::filledDocument(const text::RichText& model,
                                           std::size_t paragraphs) const {
  // Filled apart and then handed over, a card is laid out only where it shows and the rest in
  // the background. Filled in place, the editor's selection would stretch over the whole new
  // text, and the next cursor move would lay out every line to repaint it first; and every
  // paragraph added to a shown document is laid out at once.
  auto* doc = new QTextDocument(editor_);
  doc->setDefaultTextOption(editor_->document()->defaultTextOption());  // tab stops, wrapping
  doc->setDefaultFont(editor_->font());
  appendParagraphs(*doc, model, 0, paragraphs);
  return doc;
}

void EditorPanel::showDocument(QTextDocument* doc) const {
  const QPointer<QTextDocument> shown = editor_->document();  // gone if the editor made it
  editor_->setDocument(doc);
  connect(doc, &QTextDocument::modificationChanged, this, &EditorPanel::modifiedChanged);
  // The editor frees only the document it made itself: the cards it was handed go here, or
  // every card visited would stay in memory.
  if (shown && shown->parent() == editor_) shown->deleteLater();  // after the new card shows
}

void EditorPanel::completeLoad() const {
  if (!pending_) return;
  const text::RichText model = text::readRtf(*pending_);
  dropPending();
  const QTextDocument& part = *editor_->document();
  QTextDocument* whole = filledDocument(model, model.paragraphs.size());
  whole->setModified(part.isModified());  // the card as it was loaded, not an edit
  const QTextCursor caret = editor_->textCursor();
  const int horizontal = editor_->horizontalScrollBar()->value();
  const int vertical = editor_->verticalScrollBar()->value();
  showDocument(whole);
  QTextCursor same(whole);
  same.setPosition(caret.anchor());
  same.setPosition(caret.position(), QTextCursor::KeepAnchor);
  editor_->setTextCursor(same);
  editor_->horizontalScrollBar()->setValue(horizontal);
  editor_->verticalScrollBar()->setValue(vertical);
  trace::mark("card-complete");
}

bool EditorPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_) trackKeys(event);
  // The tray icon, the icons drawn at several sizes and the system-wide keys (a hundred
  // requests to the X server) are a good part of the start: they come once the window is drawn.
  if (event->type() == QEvent::Paint && watched == editor_->viewport() && !painted_) {
    painted_ = true;
    QTimer::singleShot(0, this, [work = std::move(afterFirstPaint_)] {
      for (const auto& w : work) w();
    });
    afterFirstPaint_.clear();
  }
  // After the first paint of a card and the work that paint left queued (the rest of the
  // window's included): the rest of a big card, then the word that it is drawn.
  if (event->type() == QEvent::Paint && watched == editor_->viewport() && paintAwaited_) {
    paintAwaited_ = false;
    QMetaObject::invokeMethod(
        this,
        [this, load = loads_] {
          QTimer::singleShot(0, this, [this, load] {
            if (load != loads_) return;
            completeLoad();
            emit cardDrawn();
          });
        },
        Qt::QueuedConnection);
  }
  if (!pending_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::DragEnter: completeLoad(); break;
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}

void EditorPanel::trackKeys(QEvent* event) {
  if (event->type() == QEvent::KeyPress)
    keysDown_.insert(static_cast<QKeyEvent*>(event)->key());
  else if (event->type() == QEvent::KeyRelease)
    releaseCounts_ = keysDown_.remove(static_cast<QKeyEvent*>(event)->key());
  else if (event->type() == QEvent::FocusOut)
    keysDown_.clear();  // a key held then is released elsewhere
}

std::string EditorPanel::rtf() const {
  completeLoad();
  return cardBytes(*editor_->document());
}

std::string EditorPanel::plainText() const {
  completeLoad();
  QString text = editor_->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text.toStdString();
}

bool EditorPanel::isModified() const { return editor_->document()->isModified(); }

void EditorPanel::setModified(bool modified) { editor_->document()->setModified(modified); }

ports::Selection EditorPanel::selection() const {
  const QTextCursor cursor = editor_->textCursor();
  const QTextDocument& doc = *editor_->document();
  const int start = storedPosition(doc, cursor.selectionStart());
  return {start, storedPosition(doc, cursor.selectionEnd()) - start};
}

void EditorPanel::setSelection(ports::Selection selection) {
  // A stored position past the first part of a card needs the rest of it.
  if (pending_ && selection.start + selection.length > 0 &&
      documentPosition(*editor_->document(), toInt(selection.start + selection.length)) >=
          editor_->document()->characterCount() - 1)
    completeLoad();
  const QTextDocument& doc = *editor_->document();
  QTextCursor cursor(editor_->document());
  cursor.setPosition(documentPosition(doc, toInt(selection.start)));
  cursor.setPosition(documentPosition(doc, toInt(selection.start + selection.length)),
                     QTextCursor::KeepAnchor);
  editor_->setTextCursor(cursor);
  editor_->ensureCursorVisible();
  refreshCaretLine();
}

bool EditorPanel::wordWrap() const { return editor_->wordWrap(); }

void EditorPanel::setWordWrap(bool on) { editor_->setWordWrap(on); }

ports::EditorLook EditorPanel::look() const {
  ports::EditorLook look;
  look.fontSize = bar_->sizeBox()->value();
  look.fontItem = bar_->fontList()->currentIndex();
  look.colourItem = bar_->textColours()->currentIndex();
  look.backgroundItem = bar_->backgroundColours()->currentIndex();
  look.firstVisibleLine = editor_->lineOf(editor_->cursorForPosition(QPoint(0, 0)).position());
  const QFont font = editor_->font();
  look.baseFontSize = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
  return look;
}

void EditorPanel::setBackgroundItem(int item) {
  ColourList* list = bar_->backgroundColours();
  const std::optional<QColor> colour = list->colourAt(item);
  list->setCurrentIndex(colour ? item : -1);
  editor_->setBackground(colour.value_or(Qt::white));
}

void EditorPanel::setLook(const ports::EditorLook& look) {
  // Shown without the change events: nothing here is a user's choice to apply to a selection.
  QFont font = editor_->font();
  if (look.fontSize > 0) {
    bar_->sizeBox()->showSize(look.fontSize);
    font.setPointSize(look.fontSize);
  }
  FontList* fonts = bar_->fontList();
  if (look.fontItem >= 0 && look.fontItem < fonts->count()) {
    const QSignalBlocker quiet(fonts);
    fonts->setCurrentIndex(look.fontItem);
    font.setFamily(fonts->itemText(look.fontItem));
  }
  editor_->setFont(font);
  ColourList* colours = bar_->textColours();
  if (const std::optional<QColor> colour = colours->colourAt(look.colourItem)) {
    const QSignalBlocker quiet(colours);
    colours->setCurrentIndex(look.colourItem);
    editor_->setTextColor(*colour);
  }
  setBackgroundItem(look.backgroundItem);
}

void EditorPanel::setAvailable(bool available) {
  editor_->setEnabled(available);
  editor_->setVisible(available);
  if (available) return;
  // No card: nothing of the card before stays behind the hidden editor, for a search or the
  // caret line to find.
  dropPending();
  editor_->clear();
  refreshCaretLine();
  emit cardLoaded();
}

// --- lines ---

template <typename Edit>
void EditorPanel::editLines(Edit edit) {
  completeLoad();
  // Painting waits for the whole edit, and the edit block lays the text out once at its end.
  const bool wasUpdating = editor_->updatesEnabled();
  editor_->setUpdatesEnabled(false);
  QTextCursor cursor(editor_->document());
  cursor.beginEditBlock();
  edit(cursor);
  cursor.endEditBlock();
  editor_->setUpdatesEnabled(wasUpdating);
  editor_->document()->setModified(true);
}

std::vector<std::string> EditorPanel::lines() const {
  completeLoad();
  std::vector<std::string> result;
  const QTextDocument& doc = *editor_->document();
  result.reserve(static_cast<std::size_t>(doc.blockCount()));
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
    for (const QString& line : block.text().split(QChar::LineSeparator))
      result.push_back(line.toStdString());
  return result;
}

void EditorPanel::setLines(const std::vector<std::string>& lines) {
  const QTextCharFormat typing = editor_->currentCharFormat();
  editLines([&](QTextCursor& cursor) {
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.insertText(joinedLines(lines), typing);
  });
}

void EditorPanel::appendLines(const std::vector<std::string>& lines) {
  const QTextCharFormat typing = editor_->currentCharFormat();
  editLines([&](QTextCursor& cursor) {
    cursor.movePosition(QTextCursor::End);
    const QString last = cursor.block().text();
    // A last line with text gets its break; an empty one takes the first new line.
    const bool breakFirst =
        !lines.empty() && !last.isEmpty() && last.back() != QChar::LineSeparator;
    cursor.insertText(
        (breakFirst ? QString(QChar::ParagraphSeparator) : QString()) + joinedLines(lines), typing);
  });
}

void EditorPanel::removeLines(const std::vector<int>& lines) {
  const std::vector<LineSpan> spans = lineSpans(*editor_->document());
  const int count = static_cast<int>(spans.size());
  // The ranges to delete, from the end of the text backwards, so that the positions found
  // above stay true for every range still to come. Touching ranges are merged.
  std::vector<std::pair<int, int>> ranges;
  auto add = [&ranges](int from, int to) {
    if (from >= to) return;
    if (!ranges.empty() && ranges.back().first == to)
      ranges.back().first = from;
    else
      ranges.emplace_back(from, to);
  };
  std::vector<bool> removed(static_cast<std::size_t>(count), false);
  for (const int line : lines)
    if (line >= 0 && line < count) removed[static_cast<std::size_t>(line)] = true;
  // Without its last line, the text also loses the break after the last line it keeps.
  bool breakToDrop = removed.back();
  for (int line = count - 1; line >= 0; --line) {
    const LineSpan& span = spans[static_cast<std::size_t>(line)];
    if (removed[static_cast<std::size_t>(line)]) {
      add(span.start, span.start + span.length + (line + 1 < count ? 1 : 0));
    } else if (breakToDrop) {
      add(span.start + span.length, span.start + span.length + 1);
      breakToDrop = false;
    }
  }
  editLines([&](QTextCursor& cursor) {
    for (const auto& [from, to] : ranges) {
      cursor.setPosition(from);
      cursor.setPosition(to, QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
    }
  });
}

void EditorPanel::cutLineStarts(const std::vector<ports::LineCut>& cuts) {
  const QTextDocument& doc = *editor_->document();
  const std::vector<LineSpan> spans = lineSpans(doc);
  editLines([&](QTextCursor& cursor) {
    for (auto cut = cuts.rbegin(); cut != cuts.rend(); ++cut) {
      if (cut->line < 0 || cut->line >= static_cast<int>(spans.size()) || cut->count <= 0) continue;
      const LineSpan& span = spans[static_cast<std::size_t>(cut->line)];
      const QTextBlock block = doc.findBlock(span.start);
      const QString text = block.text().mid(span.start - block.position(), span.length);
      cursor.setPosition(span.start);
      cursor.setPosition(span.start + unitsOf(text, cut->count), QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
    }
  });
}

}  // namespace qw::gui
