#include "gui/letter_button.h"

#include <gtest/gtest.h>

#include <QImage>
#include <optional>

namespace qw::gui {
namespace {

// The mean column of the letter's dark pixels in rows [from, to), if any.
std::optional<double> inkColumn(const QImage& image, int from, int to) {
  double sum = 0;
  int count = 0;
  for (int y = from; y < to; ++y)
    for (int x = 3; x < image.width() - 3; ++x)  // inside the button's frame
      if (qGray(image.pixel(x, y)) < 100) {
        sum += x;
        ++count;
      }
  if (count == 0) return std::nullopt;
  return sum / count;
}

// How far the top of the letter lies right of its bottom, in pixels.
double lean(LetterButton& button) {
  const QImage image = button.grab().toImage();
  const int h = image.height();
  const auto top = inkColumn(image, h / 4, h / 2);
  const auto bottom = inkColumn(image, h / 2, 3 * h / 4);
  EXPECT_TRUE(top && bottom) << "no letter drawn";
  return top && bottom ? *top - *bottom : 0.0;
}

TEST(LetterButton, ASlantedLetterLeansLikeAnItalicWithoutTheItalicFace) {
  LetterButton button("I");
  QFont big = button.font();
  big.setPixelSize(30);  // a tall letter, for a lean of whole pixels
  button.setFont(big);
  button.resize(48, 48);
  EXPECT_LT(std::abs(lean(button)), 0.5) << "upright";

  // Rows a quarter of the height apart: a twelve-degree lean puts them 2.4 pixels apart.
  button.setSlanted(true);
  EXPECT_NEAR(lean(button), 2.4, 0.8);
  EXPECT_FALSE(button.font().italic());
  EXPECT_EQ(button.text(), "I");
}

}  // namespace
}  // namespace qw::gui
