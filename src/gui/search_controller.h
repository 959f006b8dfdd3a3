#pragma once
// Search and go-to-line from the functions panel over the card editor: Enter in the search
// field, F3 and Ctrl+F search; Enter in the line field selects a line.

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "core/i18n/strings.h"

namespace qw::gui {

class EditorPanel;
class StripPanel;

class SearchController : public QObject {
  Q_OBJECT
 public:
  SearchController(StripPanel& panel, EditorPanel& editor, QObject* parent = nullptr);

  // The texts of the messages and of the line display; French until set.
  void setStrings(const i18n::StringTable& strings);
  // F3: searches the field's text, or opens the panel on an empty field.
  void nextSearch();
  // Ctrl+F: opens the functions panel with the focus in the search field.
  void focusSearch();
  // The next search starts from the top. A card load does it by itself.
  void restartSearch() { searchStart_ = 0; }
  // After find in all cards opened a hit at `hitStart`: the field holds `text`, and the next
  // search goes on after that hit as if it had found it.
  void continueAfter(const QString& text, std::int64_t hitStart);
  // How many leading characters (stored positions) of the text the next search skips.
  std::int64_t searchStart() const { return searchStart_; }
  // Where "not found" messages go; an information box over the window by default.
  void setInformer(std::function<void(const QString& text)> inform);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void search(const QString& text);
  void goToLine();
  void editorReleased();

  StripPanel& panel_;
  EditorPanel& editor_;
  // The watched widgets, compared without going through the panels: their children's last
  // events arrive while the panels are already half destroyed.
  const QObject* searchField_;
  const QObject* lineField_;
  i18n::StringTable strings_;
  std::function<void(const QString&)> inform_;
  std::int64_t searchStart_ = 0;
  // A key went down in the search field and its release is still to come. A release without
  // it, such as the Enter that closed a message box, is someone else's.
  bool searchKeyArmed_ = false;
};

}  // namespace qw::gui
