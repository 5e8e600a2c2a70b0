// The core's Canvas drawn with a QPainter: widgets, images, printers, PDF.
#pragma once

#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

#include "platform/canvas.h"

class QPainter;

namespace qz {

class PainterCanvas : public Canvas {
 public:
  /// Draws through `painter`, which must stay active while the canvas is used.
  explicit PainterCanvas(QPainter* painter);

  void setPen(const Pen& pen) override;
  void setBrush(Rgb colour, bool hollow) override;
  void setFont(const FontSpec& font) override;
  void setTextColour(Rgb colour) override;
  void drawLine(Point from, Point to) override;
  void drawPolyline(const std::vector<Point>& points) override;
  void drawRect(const Rect& r) override;
  void fillRect(const Rect& r, Rgb colour) override;
  void drawEllipse(const Rect& bounds) override;
  void drawArc(const Rect& bounds, double startDegrees, double spanDegrees) override;
  void drawText(Point topLeft, const std::string& text) override;
  Size measureText(const std::string& text) override;
  int fontAscent() override;
  void setClip(const Rect& r) override;
  void clearClip() override;
  int dpiY() const override;

  /// The installed font that stands for a face the program names: Arial and
  /// MS Sans Serif → Liberation Sans, Courier New → Liberation Mono, Times New
  /// Roman → Liberation Serif, Symbol → DejaVu Sans (it has the Greek letters).
  static QFont qtFont(const FontSpec& spec);
  /// Program text (code page 1252, or Symbol-font bytes) as a QString.
  static QString toQString(const std::string& text, bool symbolFont);
  static QColor qtColour(Rgb c) { return QColor(c.r, c.g, c.b); }

 private:
  QPainter* m_painter;
  QPen m_pen;
  QColor m_textColour{Qt::black};
  bool m_symbolFont = false;
};

}  // namespace qz
