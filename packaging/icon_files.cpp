// Writes the installed icon files from the program's own drawing: the scalable SVG and the
// PNG sizes of the hicolor theme, so the launcher shows the same card as the tray.
//
//   icon_files OUTPUT_FOLDER SIZE...
// writes OUTPUT_FOLDER/scalable/quillwick.svg and OUTPUT_FOLDER/NNxNN/quillwick.png.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "gui/app_icon.h"

namespace {

// Large enough that every pen width follows the card's proportions (small sizes round pens up
// to one pixel).
constexpr int kSvgSize = 256;

bool writePng(const QDir& out, int size) {
  const QString folder = QStringLiteral("%1x%1").arg(size);
  if (!out.mkpath(folder)) return false;
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    qw::gui::paintApplicationIcon(painter, size);
  }
  return image.save(out.filePath(folder + "/quillwick.png"), "PNG");
}

bool writeSvg(const QDir& out) {
  if (!out.mkpath("scalable")) return false;
  QSvgGenerator svg;
  svg.setFileName(out.filePath("scalable/quillwick.svg"));
  svg.setSize(QSize(kSvgSize, kSvgSize));
  svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
  // The CSS pixel, so that the file's own width and height read as 256 pixels.
  svg.setResolution(96);
  svg.setTitle("QuillWick");
  svg.setDescription("A note card with a blue head and ruled lines");
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  qw::gui::paintApplicationIcon(painter, kSvgSize);
  return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!writeSvg(out)) {
    std::fprintf(stderr, "icon_files: cannot write the SVG icon in %s\n", argv[1]);
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    const int size = QByteArray(argv[i]).toInt();
    if (size <= 0 || !writePng(out, size)) {
      std::fprintf(stderr, "icon_files: cannot write the %s pixel icon in %s\n", argv[i], argv[1]);
      return 1;
    }
  }
  return 0;
}
