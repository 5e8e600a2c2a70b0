#include "platform/painter_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "numbers/cp1252.h"
#include "numbers/symbol_font.h"

namespace qz {

namespace {

QRect qtRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

Qt::PenStyle qtPenStyle(PenStyle style) {
  switch (style) {
    case PenStyle::Solid: return Qt::SolidLine;
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::None: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

bool isSymbolFace(const std::string& face) { return face == "Symbol"; }

}  // namespace

PainterCanvas::PainterCanvas(QPainter* painter) : m_painter(painter) {
  m_painter->setBackgroundMode(Qt::TransparentMode);
}

QFont PainterCanvas::qtFont(const FontSpec& spec) {
  QString family = QStringLiteral("Liberation Sans");
  if (spec.face == "Courier New" || spec.face == "Courier") family = QStringLiteral("Liberation Mono");
  else if (spec.face == "Times New Roman") family = QStringLiteral("Liberation Serif");
  else if (isSymbolFace(spec.face)) family = QStringLiteral("DejaVu Sans");
  else if (!spec.face.empty() && spec.face != "Arial" && spec.face != "MS Sans Serif")
    family = QString::fromStdString(cp1252ToUtf8(spec.face));
  QFont font(family);
  // A negative height is the character height, as the pixel size is; a
  // positive one is the whole cell, of which the character takes about 85 %.
  int pixels = spec.height < 0 ? -spec.height : spec.height * 85 / 100;
  font.setPixelSize(std::max(1, pixels));
  font.setWeight(spec.weight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(spec.italic);
  font.setUnderline(spec.underline);
  font.setStyleHint(family == "Liberation Mono" ? QFont::TypeWriter : QFont::SansSerif);
  return font;
}

QString PainterCanvas::toQString(const std::string& text, bool symbolFont) {
  return QString::fromStdString(symbolFont ? symbolRunToUtf8(text) : cp1252ToUtf8(text));
}

void PainterCanvas::setPen(const Pen& pen) {
  m_pen = QPen(qtColour(pen.colour), std::max(1, pen.width), qtPenStyle(pen.style), Qt::FlatCap, Qt::MiterJoin);
  m_painter->setPen(m_pen);
}

void PainterCanvas::setBrush(Rgb colour, bool hollow) {
  m_painter->setBrush(hollow ? QBrush(Qt::NoBrush) : QBrush(qtColour(colour)));
}

void PainterCanvas::setFont(const FontSpec& font) {
  m_symbolFont = isSymbolFace(font.face);
  m_painter->setFont(qtFont(font));
}

void PainterCanvas::setTextColour(Rgb colour) { m_textColour = qtColour(colour); }

void PainterCanvas::drawLine(Point from, Point to) { m_painter->drawLine(from.x, from.y, to.x, to.y); }

void PainterCanvas::drawPolyline(const std::vector<Point>& points) {
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (const auto& p : points) polygon << QPoint(p.x, p.y);
  m_painter->drawPolyline(polygon);
}

void PainterCanvas::drawRect(const Rect& r) { m_painter->drawRect(qtRect(r).adjusted(0, 0, -1, -1)); }

void PainterCanvas::fillRect(const Rect& r, Rgb colour) { m_painter->fillRect(qtRect(r), qtColour(colour)); }

void PainterCanvas::drawEllipse(const Rect& bounds) { m_painter->drawEllipse(qtRect(bounds)); }

void PainterCanvas::drawArc(const Rect& bounds, double startDegrees, double spanDegrees) {
  m_painter->drawArc(qtRect(bounds), static_cast<int>(startDegrees * 16), static_cast<int>(spanDegrees * 16));
}

void PainterCanvas::drawText(Point topLeft, const std::string& text) {
  QPen saved = m_painter->pen();
  m_painter->setPen(m_textColour);
  QFontMetrics metrics(m_painter->font(), m_painter->device());
  m_painter->drawText(QPoint(topLeft.x, topLeft.y + metrics.ascent()), toQString(text, m_symbolFont));
  m_painter->setPen(saved);
}

Size PainterCanvas::measureText(const std::string& text) {
  QFontMetrics metrics(m_painter->font(), m_painter->device());
  return {metrics.horizontalAdvance(toQString(text, m_symbolFont)), metrics.height()};
}

int PainterCanvas::fontAscent() { return QFontMetrics(m_painter->font(), m_painter->device()).ascent(); }

void PainterCanvas::setClip(const Rect& r) { m_painter->setClipRect(qtRect(r)); }

void PainterCanvas::clearClip() { m_painter->setClipping(false); }

int PainterCanvas::dpiY() const { return m_painter->device() ? m_painter->device()->logicalDpiY() : 96; }

}  // namespace qz
