// Saving the statistics diagram as a picture: PNG for a document or a slide,
// SVG for a drawing that stays sharp at any size. Both are drawn by the
// diagram renderer through the painter canvas, as on the screen.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <string>

#include "statistics/diagram_renderer.h"

namespace qz {

class Messenger;

enum class DiagramPicture { Png, Svg };

/// The format a file name asks for: SVG for ".svg" in any case, else PNG.
DiagramPicture pictureFormatOf(const QString& path);

/// The diagram drawn in `size` (pixels of the screen) as PNG bytes, with
/// `scale` device pixels per pixel so that it stays sharp when printed;
/// empty when it cannot be encoded.
QByteArray diagramPng(const DiagramSeries& series, QSize size, int scale = 2);

/// The diagram drawn in `size` as an SVG document; empty on failure.
QByteArray diagramSvg(const DiagramSeries& series, QSize size);

/// Draws the diagram and writes it to `path` through the atomic writer;
/// false after the file message when it cannot.
bool saveDiagramPicture(const DiagramSeries& series, const std::string& path, DiagramPicture format, QSize size,
                        Messenger& messenger);

}  // namespace qz
