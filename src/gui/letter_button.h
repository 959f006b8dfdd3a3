#pragma once

#include <QToolButton>

namespace qw::gui {

// A button showing one letter in the face it stands for. A slanted letter is drawn leaning
// rather than in the font's italic face: that face is one more font file read at every start,
// for a single letter.
class LetterButton : public QToolButton {
  Q_OBJECT
 public:
  LetterButton(const QString& letter, QWidget* parent = nullptr);

  bool slanted() const { return slanted_; }
  void setSlanted(bool slanted);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool slanted_ = false;
};

}  // namespace qw::gui
