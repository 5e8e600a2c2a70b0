#include "units/markup_label.h"

#include <qdrawutil.h>

#include <QPainter>

#include "numbers/markup.h"
#include "platform/painter_canvas.h"

namespace qz {

MarkupLabel::MarkupLabel(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void MarkupLabel::setMarkup(const std::string& markup) {
  if (markup == m_markup) return;
  m_markup = markup;
  update();
}

void MarkupLabel::setBaseFont(const FontSpec& font) {
  m_font = font;
  updateGeometry();
  update();
}

QSize MarkupLabel::sizeHint() const {
  const QFontMetrics metrics(PainterCanvas::qtFont(m_font));
  // Room for exponents above the line and subscripts below it.
  return QSize(200, metrics.height() * 3 / 2 + 12);
}

void MarkupLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect inside = rect();
  if (m_framed) {
    p.fillRect(rect().adjusted(2, 2, -2, -2), QColor(255, 255, 255));
    qDrawShadePanel(&p, rect(), palette(), true, 2);
    inside = rect().adjusted(8, 2, -8, -2);
  }
  PainterCanvas canvas(&p);
  const QFontMetrics metrics(PainterCanvas::qtFont(m_font));
  // Vertically centred on the base line's height; exponents rise above it.
  const int top = inside.top() + (inside.height() - metrics.height()) / 2;
  drawMarkup(canvas, 0, m_markup, Rect{inside.left(), top, inside.right(), top + metrics.height()},
             MarkupAlign::Left, m_colour, m_font);
}

}  // namespace qz
