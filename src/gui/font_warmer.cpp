#include "gui/font_warmer.h"

#include <QFontMetrics>
#include <QTimer>
#include <memory>

namespace qw::gui {
namespace {

void warmNext(QObject* context, const std::shared_ptr<std::vector<std::string>>& left,
              const QFont& base) {
  if (left->empty()) return;
  QFont font = base;
  font.setFamily(QString::fromStdString(left->back()));
  left->pop_back();
  for (const auto& [bold, italic] :
       {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
    font.setBold(bold);
    font.setItalic(italic);
    // Measuring text loads the font and readies its shaping.
    QFontMetrics(font).horizontalAdvance(QStringLiteral("Aa"));
  }
  QTimer::singleShot(0, context, [context, left, base] { warmNext(context, left, base); });
}

}  // namespace

void warmFonts(QObject* context, std::vector<std::string> families, const QFont& base) {
  // Taken from the back: the families of the first cards first.
  auto left = std::make_shared<std::vector<std::string>>(families.rbegin(), families.rend());
  QTimer::singleShot(0, context, [context, left, base] { warmNext(context, left, base); });
}

}  // namespace qw::gui
