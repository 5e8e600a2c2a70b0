// Build-time tool: renders the program's SVG icon as a square PNG of a given
// size, for the icon theme's fixed-size folders.
//
//   qz_render_icon <icon.svg> <icon.png> <size>
//
// It needs no display: run it with QT_QPA_PLATFORM=offscreen.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  bool sizeOk = false;
  const int size = args.size() == 4 ? args.at(3).toInt(&sizeOk) : 0;
  if (!sizeOk || size < 8 || size > 1024) {
    std::fputs("usage: qz_render_icon <icon.svg> <icon.png> <size 8..1024>\n", stderr);
    return 2;
  }
  QSvgRenderer renderer(args.at(1));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "qz_render_icon: cannot read %s\n", qPrintable(args.at(1)));
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size, size));
  }
  if (!image.save(args.at(2), "PNG")) {
    std::fprintf(stderr, "qz_render_icon: cannot write %s\n", qPrintable(args.at(2)));
    return 1;
  }
  return 0;
}
