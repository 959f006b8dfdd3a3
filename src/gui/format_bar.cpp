#include "gui/format_bar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/accessibility.h"
#include "gui/colour_list.h"
#include "gui/flow_layout.h"
#include "gui/font_list.h"
#include "gui/font_size_box.h"
#include "gui/letter_button.h"
#include "gui/qt_text.h"

namespace qw::gui {
namespace {

struct Face {
  bool bold = false;
  bool underline = false;
  bool slanted = false;
};

LetterButton* styleButton(const QString& name, const QString& caption, QWidget* parent, Face face) {
  auto* button = new LetterButton(caption, parent);
  button->setObjectName(name);
  QFont font = button->font();
  font.setBold(face.bold);
  font.setUnderline(face.underline);
  button->setFont(font);
  button->setSlanted(face.slanted);
  // Square, as wide as it is high, whatever the font size.
  const int side = button->sizeHint().height();
  button->setMinimumSize(side, side);
  return button;
}

}  // namespace

FormatBar::FormatBar(QWidget* parent) : QWidget(parent) {
  installAccessibleFaces();
  setObjectName("PMenuTop");

  title_ = new QLabel(this);
  title_->setObjectName("Label1");
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(14.25);  // 19 pixels at 96 dots per inch
  title_->setFont(titleFont);
  title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

  bold_ = styleButton("BBold", "B", this, {.bold = true});
  italic_ = styleButton("BItalic", "I", this, {.slanted = true});
  underline_ = styleButton("BUnderline", "S", this, {.underline = true});
  wordWrap_ = styleButton("BWordWrap", "W", this, {.bold = true, .slanted = true});

  size_ = new FontSizeBox(this);
  size_->setObjectName("SEFontSize");
  font_ = new FontList(this);
  font_->setObjectName("CBFont");
  textColours_ = new ColourList(this);
  textColours_->setObjectName("CBColor");
  textColours_->setCurrentIndex(1);  // black text
  backgroundColours_ = new ColourList(this);
  backgroundColours_->setObjectName("ColorBox1");
  backgroundColours_->setCurrentIndex(ColourList::kItemCount - 1);  // white paper

  // The lists give up a third of their width, their texts cut short, before the row wraps.
  for (QComboBox* list : std::initializer_list<QComboBox*>{font_, textColours_, backgroundColours_})
    list->setMinimumWidth(list->minimumSizeHint().width() * 2 / 3);

  // Wraps onto a second row rather than widen the window past a small screen.
  tools_ = new FlowLayout(4);
  for (QWidget* w : std::initializer_list<QWidget*>{bold_, italic_, underline_, wordWrap_, size_,
                                                    font_, textColours_, backgroundColours_})
    tools_->addWidget(w);

  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(6, 3, 6, 4);
  rows->setSpacing(2);
  rows->addWidget(title_);
  rows->addLayout(tools_);
}

void FormatBar::setStrings(const i18n::StringTable& strings) {
  const auto name = [&strings](QWidget* w, i18n::Str text) {
    w->setAccessibleName(qs(strings[text]));
    w->setToolTip(qs(strings[text]));
  };
  // The buttons show a single letter, which says nothing to a screen reader.
  name(bold_, i18n::Str::sFormatBold);
  name(italic_, i18n::Str::sFormatItalic);
  name(underline_, i18n::Str::sFormatUnderline);
  name(wordWrap_, i18n::Str::sFormatWordWrap);
  name(size_, i18n::Str::sFormatFontSize);
  name(font_, i18n::Str::sFormatFont);
  name(textColours_, i18n::Str::sFormatTextColour);
  name(backgroundColours_, i18n::Str::sFormatBackgroundColour);
}

void FormatBar::showWordWrapFace(bool on) {
  QFont font = wordWrap_->font();
  font.setBold(on);
  wordWrap_->setFont(font);
}

bool FormatBar::wordWrapFaceOn() const { return wordWrap_->font().bold(); }

void FormatBar::addLeadingWidget(QWidget* widget) { tools_->insertWidget(leadingCount_++, widget); }

void FormatBar::addTrailingWidget(QWidget* widget) {
  // The trailing buttons wrap as one group: a row never ends in the middle of them.
  if (!trailing_) {
    trailing_ = new QWidget(this);
    auto* group = new QHBoxLayout(trailing_);
    group->setContentsMargins(0, 0, 0, 0);
    group->setSpacing(tools_->spacing());
    tools_->addWidget(trailing_);
  }
  trailing_->layout()->addWidget(widget);
}

void FormatBar::showEvent(QShowEvent* event) {
  // Reading the installed fonts takes a moment: done when the window first appears.
  font_->fillOnce();
  QWidget::showEvent(event);
}

}  // namespace qw::gui
