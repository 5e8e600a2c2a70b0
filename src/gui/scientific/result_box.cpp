#include "scientific/result_box.h"

#include <qdrawutil.h>

#include <QMouseEvent>
#include <QPainter>

#include "platform/painter_canvas.h"

namespace qz {

namespace {

const QColor kRestFill(192, 192, 192);
const QColor kRestText(128, 0, 0);

}  // namespace

ResultBox::ResultBox(QWidget* parent) : QWidget(parent) {
  setFont(PainterCanvas::qtFont({"Courier New", -16, 700}));
  // Clicking takes the focus from the fields, so that the memories and the
  // copy take y rather than a field's text.
  setFocusPolicy(Qt::ClickFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setToolTip(QStringLiteral("Cliquer pour sélectionner le résultat (mémoires)"));
}

void ResultBox::setContent(const QString& text, bool selected) {
  if (text == m_text && selected == m_selected) return;
  m_text = text;
  m_selected = selected;
  update();
}

QSize ResultBox::sizeHint() const {
  const QFontMetrics metrics(font());
  return QSize(metrics.horizontalAdvance(QLatin1Char('0')) * 20 + 12, metrics.height() + 10);
}

void ResultBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect inside = rect().adjusted(2, 2, -2, -2);
  p.fillRect(inside, m_selected ? palette().color(QPalette::Highlight) : kRestFill);
  // A sunken frame, as around a read-only field.
  qDrawShadePanel(&p, rect(), palette(), true, 2);
  p.setPen(m_selected ? QColor(Qt::white) : kRestText);
  p.drawText(inside.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

void ResultBox::mousePressEvent(QMouseEvent* event) {
  // Taken here: passed on, the click would reach the panel as a click elsewhere.
  event->accept();
  if (event->button() == Qt::LeftButton) emit clicked();
}

}  // namespace qz
