// The widget tests of a small screen at twice the scale: a 1280 x 720 offscreen screen
// (small_screen.json) and QT_SCALE_FACTOR=2, whatever the environment says.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + QW_SMALL_SCREEN_CONFIG);
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
