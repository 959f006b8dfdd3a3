// Writes the installed icon files from the program's own drawing: the scalable SVG and the
// PNG sizes of the hicolor theme, so the launcher shows the same card as the tray.
//
//   icon_files OUTPUT_FOLDER SIZE...
// writes OUTPUT_FOLDER/scalable/quillwick.svg, OUTPUT_FOLDER/NNxNN/quillwick.png and
// OUTPUT_FOLDER/quillwick.ico, the Windows icon of every size asked for up to 256.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "gui/app_icon.h"

namespace {

// Large enough that every pen width follows the card's proportions (small sizes round pens up
// to one pixel).
constexpr int kSvgSize = 256;

QImage drawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  qw::gui::paintApplicationIcon(painter, size);
  return image;
}

bool writePng(const QDir& out, int size) {
  const QString folder = QStringLiteral("%1x%1").arg(size);
  if (!out.mkpath(folder)) return false;
  return drawIcon(size).save(out.filePath(folder + "/quillwick.png"), "PNG");
}

void appendLittleEndian(QByteArray& bytes, quint32 value, int width) {
  for (int i = 0; i < width; ++i) bytes.append(char((value >> (8 * i)) & 0xFF));
}

// An ICO file whose images are PNGs, as Windows reads them since Vista: a header, one
// directory entry per size, then the images.
bool writeIco(const QDir& out, const QList<int>& sizes) {
  QList<QByteArray> pngs;
  for (int size : sizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!drawIcon(size).save(&buffer, "PNG")) return false;
    pngs.append(png);
  }
  QByteArray ico;
  appendLittleEndian(ico, 0, 2);  // reserved
  appendLittleEndian(ico, 1, 2);  // an icon, not a cursor
  appendLittleEndian(ico, quint32(sizes.size()), 2);
  quint32 offset = 6 + 16 * quint32(sizes.size());
  for (qsizetype i = 0; i < sizes.size(); ++i) {
    const quint32 side = sizes[i] == 256 ? 0 : quint32(sizes[i]);  // 0 stands for 256
    appendLittleEndian(ico, side, 1);
    appendLittleEndian(ico, side, 1);
    appendLittleEndian(ico, 0, 1);   // no palette
    appendLittleEndian(ico, 0, 1);   // reserved
    appendLittleEndian(ico, 1, 2);   // planes
    appendLittleEndian(ico, 32, 2);  // bits per pixel
    appendLittleEndian(ico, quint32(pngs[i].size()), 4);
    appendLittleEndian(ico, offset, 4);
    offset += quint32(pngs[i].size());
  }
  for (const auto& png : pngs) ico += png;
  QFile file(out.filePath("quillwick.ico"));
  return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size();
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
  QList<int> icoSizes;
  for (int i = 2; i < argc; ++i) {
    const int size = QByteArray(argv[i]).toInt();
    if (size <= 0 || !writePng(out, size)) {
      std::fprintf(stderr, "icon_files: cannot write the %s pixel icon in %s\n", argv[i], argv[1]);
      return 1;
    }
    if (size <= 256) icoSizes.append(size);
  }
  if (!writeIco(out, icoSizes)) {
    std::fprintf(stderr, "icon_files: cannot write the Windows icon in %s\n", argv[1]);
    return 1;
  }
  return 0;
}
