#include "gui/card_editor.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace qw::gui {
CardEditor::CardEditor(QWidget* parent) : QTextEdit(parent) {
  setObjectName("MMain");
  setAcceptRichText(true);
  setTabChangesFocus(false);
  // Tab typed in the editor is text; Tab pressed in other controls never lands here.
  setFocusPolicy(Qt::ClickFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Tab stops every half inch, as rich-text editors commonly place them.
  setTabStopDistance(logicalDpiX() / 2.0);

  // The selection stays visible while the formatting bar has the focus.
  QPalette p = palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(p);
}

void CardEditor::setWordWrap(bool on) {
  setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

QColor CardEditor::background() const { return palette().color(QPalette::Base); }

void CardEditor::setBackground(const QColor& colour) {
  QPalette p = palette();
  // Text without a colour of its own is drawn in the palette's ink, which a dark desktop makes
  // light: on the card's own paper it has to be the ink that reads on that paper.
  const QColor ink = colour.lightness() >= 128 ? Qt::black : Qt::white;
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Base, colour);
    p.setColor(group, QPalette::Text, ink);
  }
  p.setColor(QPalette::Disabled, QPalette::Base, colour);
  setPalette(p);
}

QTextCharFormat CardEditor::selectionFormat() const {
  QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return cursor.charFormat();
  // A cursor reads the character before it: stand just after the first selected one.
  cursor.setPosition(cursor.selectionStart() + 1);
  return cursor.charFormat();
}

QString CardEditor::selectionFamily() const {
  const QTextCharFormat format = selectionFormat();
  const QStringList families = format.fontFamilies().toStringList();
  if (!families.isEmpty() && !families.first().isEmpty()) return families.first();
  const QString family = format.stringProperty(QTextFormat::FontFamily);
  return family.isEmpty() ? document()->defaultFont().family() : family;
}

double CardEditor::selectionPointSize() const {
  const QTextCharFormat format = selectionFormat();
  if (format.hasProperty(QTextFormat::FontPointSize)) return format.fontPointSize();
  return document()->defaultFont().pointSizeF();
}

void CardEditor::toggleBold() {
  QTextCharFormat change;
  change.setFontWeight(selectionFormat().fontWeight() > QFont::Medium ? QFont::Normal
                                                                      : QFont::Bold);
  mergeCurrentCharFormat(change);
}

void CardEditor::toggleItalic() {
  QTextCharFormat change;
  change.setFontItalic(!selectionFormat().fontItalic());
  mergeCurrentCharFormat(change);
}

void CardEditor::toggleUnderline() {
  QTextCharFormat change;
  change.setFontUnderline(!selectionFormat().fontUnderline());
  mergeCurrentCharFormat(change);
}

void CardEditor::setSelectionPointSize(double points) {
  QTextCharFormat change;
  change.setFontPointSize(points);
  mergeCurrentCharFormat(change);
}

void CardEditor::setSelectionFamily(const QString& family) {
  QTextCharFormat change;
  change.setFontFamilies({family});
  mergeCurrentCharFormat(change);
}

void CardEditor::setSelectionColour(const QColor& colour) {
  QTextCharFormat change;
  change.setForeground(colour);
  mergeCurrentCharFormat(change);
}

const std::vector<int>& CardEditor::lineSeparators() const {
  QTextDocument* doc = document();
  if (separatorsOf_ != doc) {
    separatorsOf_ = doc;
    // Forgotten at the next change; the connection goes with the document.
    connect(doc, &QTextDocument::contentsChange, this, &CardEditor::forgetLineSeparators,
            Qt::UniqueConnection);
    separators_.clear();
    // One copy of the raw text costs far less than a string per paragraph.
    const QString raw = doc->toRawText();
    for (qsizetype at = 0; (at = raw.indexOf(QChar::LineSeparator, at)) >= 0; ++at)
      separators_.push_back(static_cast<int>(at));
  }
  return separators_;
}

int CardEditor::lineCount() const {
  return document()->blockCount() + static_cast<int>(lineSeparators().size());
}

int CardEditor::lineOf(int position) const {
  const QTextBlock target = document()->findBlock(position);
  if (!target.isValid()) return std::max(0, lineCount() - 1);
  const std::vector<int>& separators = lineSeparators();
  const auto before = std::lower_bound(separators.begin(), separators.end(), position);
  return target.blockNumber() + static_cast<int>(before - separators.begin());
}

void CardEditor::keyReleaseEvent(QKeyEvent* event) {
  QTextEdit::keyReleaseEvent(event);
  emit keyReleased();
}

void CardEditor::mouseReleaseEvent(QMouseEvent* event) {
  QTextEdit::mouseReleaseEvent(event);
  emit mouseReleased();
}

}  // namespace qw::gui
