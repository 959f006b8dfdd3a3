#pragma once
// The bar above the card text: the card's name, the style buttons, the line wrapping button,
// the size, font and colour fields. It only shows values and reports what the user asked for;
// the editor panel applies it to the text.

#include <QWidget>

#include "core/i18n/strings.h"

class QLabel;
class QToolButton;

namespace qw::gui {

class ColourList;
class FlowLayout;
class FontList;
class FontSizeBox;

class FormatBar : public QWidget {
  Q_OBJECT
 public:
  explicit FormatBar(QWidget* parent = nullptr);

  QLabel* title() const { return title_; }
  QToolButton* boldButton() const { return bold_; }
  QToolButton* italicButton() const { return italic_; }
  QToolButton* underlineButton() const { return underline_; }
  QToolButton* wordWrapButton() const { return wordWrap_; }
  FontSizeBox* sizeBox() const { return size_; }
  FontList* fontList() const { return font_; }
  ColourList* textColours() const { return textColours_; }
  ColourList* backgroundColours() const { return backgroundColours_; }

  // The wrapping button's face: bold italic when wrapping is on, italic when it is off.
  void showWordWrapFace(bool on);
  bool wordWrapFaceOn() const;

  // Names and hints of the unlabelled controls in the interface language, for screen readers
  // and for the mouse pointer.
  void setStrings(const i18n::StringTable& strings);

  // Controls added to the tool row by other features: before the style buttons, or at the end.
  void addLeadingWidget(QWidget* widget);
  void addTrailingWidget(QWidget* widget);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* title_;
  QToolButton* bold_;
  QToolButton* italic_;
  QToolButton* underline_;
  QToolButton* wordWrap_;
  FontSizeBox* size_;
  FontList* font_;
  ColourList* textColours_;
  ColourList* backgroundColours_;
  FlowLayout* tools_;
  int leadingCount_ = 0;
  QWidget* trailing_ = nullptr;  // holds the trailing widgets
};

}  // namespace qw::gui
