#pragma once
// The right side of the main window: the formatting bar, the card text and the status bar with
// the content file and the caret line. It is the editor the notebook core talks to.

#include <QFont>
#include <QSet>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/i18n/strings.h"
#include "core/ports/editor.h"
#include "core/text/rich_text.h"

class QLabel;
class QTextDocument;

namespace qw::gui {

class CardEditor;
class FormatBar;

class EditorPanel : public QWidget, public ports::Editor {
  Q_OBJECT
 public:
  explicit EditorPanel(QWidget* parent = nullptr);

  // A big card shows its first screens at once and takes in the rest right after it is drawn,
  // or before anything reads or edits it: every method below, and any key, click or wheel
  // turn anywhere in the program.
  void completeLoad() const;
  bool loadPending() const { return pending_.has_value(); }
  FormatBar* formatBar() const { return bar_; }
  // False after a failed load: the text is then hidden, empty and disabled, and no caret line
  // is shown.
  bool showsCard() const;
  // The whole text, for printing: a pending load completes first.
  const QTextDocument& document() const;
  // The font the text is drawn in where a card names none.
  QFont textFont() const;
  // The keyboard focus to the text.
  void focusText();
  // The caret line display set to line `line` (0-based) of `count`, whatever the caret says.
  void showLine(int line, int count);
  // Work that waits until the window is first drawn: run once, in the order given, right after
  // the text's first paint and before the rest of a big first card comes in.
  void runAfterFirstPaint(std::function<void()> work);

  // The words of the caret line display; French until set.
  void setStrings(const i18n::StringTable& strings);
  void setCardName(const QString& name);
  void setFileName(const QString& path);
  // The style buttons and the text colour, which a card load enables.
  void setFormattingEnabled(bool enabled);

  // --- ports::Editor ---
  void load(std::string_view fileBytes) override;
  std::string rtf() const override;
  std::string plainText() const override;
  bool isModified() const override;
  void setModified(bool modified) override;
  ports::Selection selection() const override;
  void setSelection(ports::Selection selection) override;
  bool wordWrap() const override;
  // Loading a card sets wrapping without touching the wrapping button's face.
  void setWordWrap(bool on) override;
  ports::EditorLook look() const override;
  // An item outside the list leaves no item chosen and a white background.
  void setBackgroundItem(int item) override;
  void setLook(const ports::EditorLook& look) override;
  void setAvailable(bool available) override;
  std::vector<std::string> lines() const override;
  void setLines(const std::vector<std::string>& lines) override;
  void appendLines(const std::vector<std::string>& lines) override;
  void removeLines(const std::vector<int>& lines) override;
  void cutLineStarts(const std::vector<ports::LineCut>& cuts) override;

 public slots:
  // Writes the caret line and the line count into the status bar.
  void refreshCaretLine();
  // The focus to the text, all of it selected.
  void selectAllText();

 signals:
  void modifiedChanged(bool modified);
  // The card loaded last is on the screen, whole, and the work its first paint queued is done.
  void cardDrawn();
  // A card's text has replaced the editor's, or a failed load has emptied it.
  void cardLoaded();
  // Any change of the text, typed or loaded.
  void textChanged();
  // The user put the caret somewhere: a click, or the release of a key pressed in the text.
  // The release of a shortcut (F3) or of the Enter that closed a message box is someone
  // else's and does not count.
  void caretPlacedByUser();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void wireFormatBar();
  // The size field's text changed: the selection takes that size.
  void applySize(int size);
  // After a mouse release: the font and size fields show the selection's.
  void showSelectionFormat();
  // Runs `edit` as one undoable edit with the editor's painting held until it is done, then
  // marks the text modified.
  template <typename Edit>
  void editLines(Edit edit);

  // Tracks the keys pressed in the text, for caretPlacedByUser.
  void trackKeys(QEvent* event);

  FormatBar* bar_;
  CardEditor* editor_;
  QLabel* fileName_;
  QLabel* lineNumber_;
  QString cardName_;
  // A new document holding the first `paragraphs` of the card.
  QTextDocument* filledDocument(const text::RichText& model, std::size_t paragraphs) const;
  // Hands `doc` to the editor and frees the one it replaces.
  void showDocument(QTextDocument* doc) const;

  // Forgets the card's bytes kept for its completion.
  void dropPending() const;

  mutable std::optional<std::string> pending_;  // the file of a card drawn from its first part
  unsigned loads_ = 0;         // cards loaded so far: a queued completion is for one of them
  bool paintAwaited_ = false;  // the card loaded last is not drawn yet
  // Waiting for the first paint; cleared once it has come.
  std::vector<std::function<void()>> afterFirstPaint_;
  bool painted_ = false;
  // The keys that went down in the text and are not released yet; the release the editor is
  // handling is one of them (seen before the editor reports it).
  QSet<int> keysDown_;
  bool releaseCounts_ = false;
  std::optional<i18n::StringTable> strings_;
};

}  // namespace qw::gui
