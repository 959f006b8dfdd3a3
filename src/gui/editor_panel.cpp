#include "gui/editor_panel.h"

#include <QSignalBlocker>

#include <QHBoxLayout>
#include <QLabel>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>

#include "core/notebook/caret_line.h"
#include "core/text/rich_text.h"
#include "gui/card_editor.h"
#include "gui/colour_list.h"
#include "gui/font_list.h"
#include "gui/font_size_box.h"
#include "gui/format_bar.h"
#include "gui/rich_text_document.h"

namespace qw::gui {
namespace {

constexpr double kLargestPointSize = text::kMaxHalfPoints / 2.0;

int toInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

EditorPanel::EditorPanel(QWidget* parent)
    : QWidget(parent), strings_(i18n::StringTable::forLanguage("Français")) {
  setObjectName("PText");
  bar_ = new FormatBar(this);
  editor_ = new CardEditor(this);

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
  column->addWidget(status);

  setBackgroundItem(bar_->backgroundColours()->currentIndex());
  wireFormatBar();
  connect(editor_->document(), &QTextDocument::modificationChanged, this,
          &EditorPanel::modifiedChanged);
  connect(editor_, &QTextEdit::textChanged, this, [this] {
    if (!cardName_.isEmpty()) refreshCaretLine();
  });
  connect(editor_, &CardEditor::keyReleased, this, &EditorPanel::refreshCaretLine);
  connect(editor_, &CardEditor::mouseReleased, this, [this] {
    refreshCaretLine();
    showSelectionFormat();
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
  refreshCaretLine();
}

void EditorPanel::setCardName(const QString& name) {
  cardName_ = name;
  bar_->title()->setText(name);
}

void EditorPanel::setFileName(const QString& path) { fileName_->setText(path); }

void EditorPanel::setFormattingEnabled(bool enabled) {
  bar_->boldButton()->setEnabled(enabled);
  bar_->italicButton()->setEnabled(enabled);
  bar_->underlineButton()->setEnabled(enabled);
  bar_->textColours()->setEnabled(enabled);
}

void EditorPanel::refreshCaretLine() {
  const int count = editor_->lineCount();
  const int line = editor_->lineOf(editor_->textCursor().selectionStart());
  lineNumber_->setProperty("tag", count);
  lineNumber_->setText(QString::fromStdString(notebook::caretLineDisplay(line, count, *strings_)));
}

void EditorPanel::selectAllText() {
  editor_->setFocus();
  editor_->selectAll();
}

// --- ports::Editor ---

void EditorPanel::load(std::string_view fileBytes) {
  loadCard(*editor_->document(), fileBytes, editor_->font());
}

std::string EditorPanel::rtf() const { return cardBytes(*editor_->document()); }

std::string EditorPanel::plainText() const {
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
}

}  // namespace qw::gui
