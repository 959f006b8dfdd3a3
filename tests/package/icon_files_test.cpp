// The installed icon files are the program's own drawing: the PNGs are the pictures the tray
// shows, and the SVG draws the same card.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "gui/app_icon.h"

namespace {

const QString kIcons = QStringLiteral(QW_ICON_FOLDER);

QImage pngIcon(int size) {
  return QImage(kIcons + QStringLiteral("/%1x%1/quillwick.png").arg(size))
      .convertToFormat(QImage::Format_ARGB32);
}

// The share of pixels whose channels differ by more than `tolerance`.
double differingShare(const QImage& a, const QImage& b, int tolerance) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
          std::abs(qBlue(p) - qBlue(q)) > tolerance || std::abs(qAlpha(p) - qAlpha(q)) > tolerance)
        ++differing;
    }
  }
  return double(differing) / (a.width() * a.height());
}

TEST(IconFiles, ThePngsAreTheIconTheProgramShows) {
  const QIcon shown = qw::gui::applicationIcon();
  for (int size : {16, 22, 24, 32, 48, 64, 128}) {
    SCOPED_TRACE(size);
    const QImage file = pngIcon(size);
    ASSERT_EQ(file.size(), QSize(size, size));
    const QImage drawn = shown.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), file.size());
    EXPECT_EQ(differingShare(file, drawn, 1), 0.0);
  }
}

TEST(IconFiles, TheSvgDrawsTheSameCardAsTheLargestPng) {
  QSvgRenderer svg(kIcons + "/scalable/quillwick.svg");
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, 256, 256));
  QImage rendered(256, 256, QImage::Format_ARGB32);
  rendered.fill(Qt::transparent);
  {
    QPainter painter(&rendered);
    svg.render(&painter);
  }
  const QImage png = pngIcon(256);
  ASSERT_EQ(png.size(), rendered.size());
  // Anti-aliased edges may round differently; the head, the lines and the corners may not.
  EXPECT_LT(differingShare(png, rendered, 8), 0.01);
  // And the comparison sees a wrong picture: the card one eighth lower is far off.
  QImage lower(rendered.size(), QImage::Format_ARGB32);
  lower.fill(Qt::transparent);
  {
    QPainter painter(&lower);
    painter.drawImage(0, 32, rendered);
  }
  EXPECT_GT(differingShare(png, lower, 8), 0.05);
}

// The Windows build cannot run the drawing (it has no host Qt), so it takes the icon committed
// beside its resource script: that file must be what icon_files draws today.
TEST(IconFiles, TheWindowsIconIsTheDrawnOne) {
  QFile drawn(kIcons + "/quillwick.ico"), committed(QStringLiteral(QW_WINDOWS_ICON));
  ASSERT_TRUE(drawn.open(QIODevice::ReadOnly));
  ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
  const QByteArray bytes = drawn.readAll();
  EXPECT_EQ(bytes.left(6), QByteArray("\0\0\1\0\x08\0", 6)) << "an icon of eight sizes";
  EXPECT_TRUE(bytes == committed.readAll())
      << "the icon changed: copy " << drawn.fileName().toStdString() << " to "
      << committed.fileName().toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
