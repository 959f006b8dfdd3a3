#include "gui/setting_colour.h"

#include <QApplication>
#include <QPalette>

#include "core/store/colour.h"

namespace qw::gui {
namespace {

// The Windows system colour indexes the settings may name, resolved from Qt's palette.
QColor systemColour(std::uint32_t index) {
  const QPalette palette = QApplication::palette();
  switch (index) {
    case 5:  // window
      return palette.color(QPalette::Base);
    case 8:  // window text
      return palette.color(QPalette::Text);
    case 13:  // highlight
      return palette.color(QPalette::Highlight);
    case 14:  // highlight text
      return palette.color(QPalette::HighlightedText);
    case 17:  // grey text
      return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:  // button text
      return palette.color(QPalette::ButtonText);
    case 23:  // tooltip text
      return palette.color(QPalette::ToolTipText);
    case 24:  // tooltip background
      return palette.color(QPalette::ToolTipBase);
    case 7:  // menu text
    case 9:  // caption text
      return palette.color(QPalette::WindowText);
    case 15:  // button face
      return palette.color(QPalette::Button);
    default: return palette.color(QPalette::Window);
  }
}

}  // namespace

QColor settingColour(std::uint32_t colour, const QColor& fallback) {
  if (const auto rgb = store::rgbOf(colour)) return QColor(rgb->r, rgb->g, rgb->b);
  if ((colour & store::kSystemColourFlag) == store::kSystemColourFlag)
    return systemColour(colour & 0xFF);
  return fallback;  // clNone, clDefault
}

}  // namespace qw::gui
