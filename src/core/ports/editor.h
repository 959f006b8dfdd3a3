#pragma once
// The rich-text control as the behaviour sees it. Positions are stored positions: characters
// of the plain text with every line break counted as the two characters CR LF.

#include <string>
#include <string_view>
#include <vector>

namespace qw::ports {

struct Selection {
  long long start = 0;
  long long length = 0;
  friend bool operator==(const Selection&, const Selection&) = default;
};

// How the editor showed a card, as its settings file keeps it. The list positions are part of
// that file format; the font list position only means something on the machine that wrote it.
struct EditorLook {
  int fontSize = 8;         // the size box
  int fontItem = 0;         // position in the font list
  int colourItem = 1;       // position in the text-colour list (1: black)
  int backgroundItem = 16;  // position in the background-colour list (16: white)
  int firstVisibleLine = 0;
  int baseFontSize = 8;
  friend bool operator==(const EditorLook&, const EditorLook&) = default;
};

// The first `count` characters of line `line`.
struct LineCut {
  int line = 0;
  int count = 0;
  friend bool operator==(const LineCut&, const LineCut&) = default;
};

class Editor {
 public:
  virtual ~Editor() = default;

  // Replaces the whole text with a content file's bytes: RTF, or plain text otherwise.
  virtual void load(std::string_view fileBytes) = 0;
  // The whole text as the bytes of an RTF content file.
  virtual std::string rtf() const = 0;
  // The plain text, line breaks as CR LF.
  virtual std::string plainText() const = 0;

  virtual bool isModified() const = 0;
  virtual void setModified(bool modified) = 0;

  virtual Selection selection() const = 0;
  // Out-of-range positions are clamped to the text.
  virtual void setSelection(Selection selection) = 0;

  virtual bool wordWrap() const = 0;
  virtual void setWordWrap(bool on) = 0;

  virtual EditorLook look() const = 0;
  virtual void setBackgroundItem(int item) = 0;
  // Shows the text with `look`'s size, font, text colour and background items, the editor's
  // own font following the size and font (a font item of -1 leaves the font as it is). The
  // first visible line and the base size are not part of it.
  virtual void setLook(const EditorLook& look) = 0;

  // A failed load leaves no card to show: the editor is hidden and disabled until a load
  // succeeds.
  virtual void setAvailable(bool available) = 0;

  // --- lines ---
  // Each change below is one undoable edit and marks the text modified. "Typing format" is the
  // format the next typed character would take.

  // The text's lines, without their breaks: a paragraph end or a line break inside a paragraph
  // ends a line; a final empty line after a break counts; an empty text has one empty line.
  virtual std::vector<std::string> lines() const = 0;
  // Replaces the whole text by `lines` in the typing format, each followed by a line break.
  virtual void setLines(const std::vector<std::string>& lines) = 0;
  // Appends `lines` after the last line, whatever the caret, in the typing format, each
  // followed by a line break. An empty last line takes the first of them; no lines, no change.
  virtual void appendLines(const std::vector<std::string>& lines) = 0;
  // Deletes the lines at these ascending indices, each with its break (the last line with the
  // break before it); the other text keeps its format. Indices past the end are ignored.
  virtual void removeLines(const std::vector<int>& lines) = 0;
  // Deletes the first `count` characters of each listed line (ascending lines), at most up to
  // the line's end; the rest keeps its format.
  virtual void cutLineStarts(const std::vector<LineCut>& cuts) = 0;
};

}  // namespace qw::ports
