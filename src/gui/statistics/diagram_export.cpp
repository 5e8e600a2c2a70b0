#include "statistics/diagram_export.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSvgGenerator>

#include "files/file_access.h"
#include "platform/painter_canvas.h"

namespace qz {

namespace {

// The same drawing as in the trend dialog's frame, on a white ground.
void draw(QPainter& painter, const DiagramSeries& series, QSize size) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  PainterCanvas canvas(&painter);
  DiagramStyle style;
  style.background = {255, 255, 255};
  drawDiagram(canvas, Rect{0, 0, size.width(), size.height()}, series, style);
}

}  // namespace

DiagramPicture pictureFormatOf(const QString& path) {
  return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? DiagramPicture::Svg : DiagramPicture::Png;
}

QByteArray diagramPng(const DiagramSeries& series, QSize size, int scale) {
  if (size.isEmpty() || scale < 1) return {};
  QImage image(size * scale, QImage::Format_RGB32);
  if (image.isNull()) return {};
  // The renderer sizes its fonts and pens from the resolution: more pixels
  // per inch give the same drawing, finer.
  const int dotsPerMetre = qRound(96.0 * scale / 0.0254);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    draw(painter, series, image.size());
  }
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
  return png;
}

QByteArray diagramSvg(const DiagramSeries& series, QSize size) {
  if (size.isEmpty()) return {};
  QByteArray svg;
  QBuffer buffer(&svg);
  if (!buffer.open(QIODevice::WriteOnly)) return {};
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(96);
  generator.setTitle(QStringLiteral("Courbe de tendance"));
  generator.setDescription(QStringLiteral("Diagramme de la calculette statistique de QZ"));
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  draw(painter, series, size);
  if (!painter.end()) return {};
  return svg;
}

bool saveDiagramPicture(const DiagramSeries& series, const std::string& path, DiagramPicture format, QSize size,
                        Messenger& messenger) {
  const QByteArray bytes = format == DiagramPicture::Svg ? diagramSvg(series, size) : diagramPng(series, size);
  if (bytes.isEmpty()) {
    ShowFileError(messenger, kCannotSaveFile, path, FileErrorCause::Generic);
    return false;
  }
  return WriteFileAtomically(path, bytes.toStdString(), messenger, kCannotSaveFile);
}

}  // namespace qz
