// Build tool: draws the program's SVG icon as square PNG files of the given
// sizes, for icon themes that want bitmaps.
// Usage: hp_render_icon ICON.svg OUTFOLDER SIZE...  (writes OUTFOLDER/SIZE.png)
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "Aufruf: hp_render_icon ICON.svg ZIELORDNER GRÖSSE...\n");
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "%s: kein gültiges SVG-Bild.\n", argv[1]);
    return 1;
  }
  const QString folder = QString::fromLocal8Bit(argv[2]);
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "%s: keine gültige Größe (1 bis 1024).\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    const QString file = folder + QStringLiteral("/%1.png").arg(size);
    if (!image.save(file, "PNG")) {
      std::fprintf(stderr, "%s: kann nicht geschrieben werden.\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
