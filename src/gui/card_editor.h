#pragma once
// The card text editor: rich text, a tab typed into the text, a selection that stays visible
// when another control has the focus, and the format changes the formatting bar asks for.

#include <QPointer>
#include <QTextEdit>
#include <vector>

namespace qw::gui {

class CardEditor : public QTextEdit {
  Q_OBJECT
 public:
  explicit CardEditor(QWidget* parent = nullptr);

  bool wordWrap() const { return lineWrapMode() != QTextEdit::NoWrap; }
  void setWordWrap(bool on);

  // The background of the whole editor, not a format of the text.
  QColor background() const;
  void setBackground(const QColor& colour);

  // Format changes of the selection; with no selection they set the format of the next typed
  // characters. A style bit is removed when the selection's format has it, else added.
  void toggleBold();
  void toggleItalic();
  void toggleUnderline();
  void setSelectionPointSize(double points);
  void setSelectionFamily(const QString& family);
  void setSelectionColour(const QColor& colour);

  // The format the selection is read as: its first character's, or the caret's without one.
  QTextCharFormat selectionFormat() const;
  // The family and point size the selection is shown in, its format's or the editor's default.
  QString selectionFamily() const;
  double selectionPointSize() const;

  // Lines end at a paragraph break or a line break inside a paragraph (Shift+Enter). A final
  // empty line after a break counts; an empty editor has one line.
  int lineCount() const;
  // The 0-based line holding a document position.
  int lineOf(int position) const;
  // Both in logarithmic time, from the line breaks inside paragraphs, found again only after
  // the text changes: the caret line is shown after every key, and a card may be a megabyte.

 signals:
  // After any key or mouse button release: the caret may be on another line.
  void keyReleased();
  void mouseReleased();

 protected:
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The document positions of the U+2028 breaks of the shown document, in order.
  const std::vector<int>& lineSeparators() const;
  void forgetLineSeparators() { separatorsOf_.clear(); }

  mutable QPointer<QTextDocument> separatorsOf_;  // the document they were found in
  mutable std::vector<int> separators_;
};

}  // namespace qw::gui
