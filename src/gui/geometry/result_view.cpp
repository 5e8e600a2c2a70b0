#include "geometry/result_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "geometry/geometry_model.h"
#include "platform/qt_text.h"

namespace qz {

ResultView::ResultView(GeometryModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
  setCursor(Qt::PointingHandCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setToolTip(QStringLiteral("Cliquer pour copier ou mettre en mémoire cette valeur"));
}

QSize ResultView::sizeHint() const { return QSize(120, fontMetrics().height() + 8); }

void ResultView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool selected = m_model.resultSelected();
  painter.fillRect(rect(), selected ? palette().color(QPalette::Highlight) : QColor(192, 192, 192));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(selected ? QColor(Qt::white) : QColor(128, 0, 0));
  painter.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   cp1252ToQString("  " + m_model.resultText()));
}

void ResultView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked();
}

}  // namespace qz
