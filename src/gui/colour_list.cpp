#include "gui/colour_list.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <array>

namespace qw::gui {
namespace {

struct NamedColour {
  const char* name;
  QRgb rgb;
};

// Names are fixed captions, the same in both interface languages.
constexpr std::array<NamedColour, ColourList::kItemCount> kColours{{
    {"Personnaliser...", 0x000000},
    {"Black", 0x000000},
    {"Maroon", 0x800000},
    {"Green", 0x008000},
    {"Olive", 0x808000},
    {"Navy", 0x000080},
    {"Purple", 0x800080},
    {"Teal", 0x008080},
    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0xFF0000},
    {"Lime", 0x00FF00},
    {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0x00FFFF},
    {"White", 0xFFFFFF},
}};

std::optional<QColor> askWithDialog(const QColor& initial, QWidget* parent) {
  const QColor picked = QColorDialog::getColor(initial, parent);
  if (!picked.isValid()) return std::nullopt;
  return picked;
}

}  // namespace

ColourList::ColourList(QWidget* parent) : QComboBox(parent), picker_(askWithDialog) {
  for (const NamedColour& c : kColours) addItem(QString::fromLatin1(c.name));
  const int side = fontMetrics().height();
  setIconSize(QSize(side, side));
  // Swatches are painted when they can be seen: the shown item's now, the others when the
  // list opens. Thirty-four of them would otherwise be painted at every start.
  ensureSwatch(currentIndex());
  connect(this, &QComboBox::currentIndexChanged, this, &ColourList::ensureSwatch);
  connect(this, &QComboBox::activated, this, &ColourList::onActivated);
}

std::optional<QColor> ColourList::colourAt(int item) const {
  if (item < 0 || item >= kItemCount) return std::nullopt;
  if (item == kCustomItem) return custom_;
  return QColor::fromRgb(kColours[static_cast<std::size_t>(item)].rgb);
}

void ColourList::setCustomColour(const QColor& colour) {
  custom_ = colour;
  if (painted_[kCustomItem]) paintSwatch(kCustomItem);
}

void ColourList::showPopup() {
  for (int item = 0; item < kItemCount; ++item) ensureSwatch(item);
  beforePopup_ = currentIndex();
  fromPopup_ = true;
  QComboBox::showPopup();
}

void ColourList::hidePopup() {
  QComboBox::hidePopup();
  // The list reports the chosen item right after it closes: keep the mark until then.
  QTimer::singleShot(0, this, [this] { fromPopup_ = false; });
}

void ColourList::onActivated(int item) {
  const bool ask = item == kCustomItem && fromPopup_;
  fromPopup_ = false;
  if (ask) {
    const std::optional<QColor> picked = picker_(custom_, this);
    if (!picked) {
      setCurrentIndex(beforePopup_);
      return;
    }
    setCustomColour(*picked);
  }
  emit colourChosen(item, *colourAt(item));
}

void ColourList::ensureSwatch(int item) {
  if (item >= 0 && item < kItemCount && !painted_[static_cast<std::size_t>(item)])
    paintSwatch(item);
}

void ColourList::paintSwatch(int item) {
  painted_[static_cast<std::size_t>(item)] = true;
  // A framed square the height of a line of text, so it follows the font and the screen.
  const int side = iconSize().height();
  QPixmap swatch(side, side);
  swatch.fill(Qt::transparent);
  QPainter painter(&swatch);
  painter.setPen(palette().color(QPalette::Text));
  painter.setBrush(*colourAt(item));
  painter.drawRect(QRect(0, 0, side - 1, side - 1));
  painter.end();
  setItemIcon(item, swatch);
}

}  // namespace qw::gui
