#include "geometry/figure_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "geometry/figure_drawing.h"
#include "geometry/geometry_model.h"
#include "platform/painter_canvas.h"

namespace qz {

FigureView::FigureView(GeometryModel& model, QWidget* parent) : QWidget(parent), m_model(model) {
  setMouseTracking(true);
  setMinimumSize(200, 220);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setToolTip(
      QStringLiteral("Cliquer un nom : sa valeur, ou en faire une donnée ;\n"
                     "clic droit : le prendre comme donnée"));
}

void FigureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  const Rect frame{0, 0, width(), height()};
  const QColor background = palette().color(QPalette::Base);
  if (!m_model.loaded()) {
    painter.fillRect(rect(), background);
  } else {
    PainterCanvas canvas(&painter);
    FigureDrawOptions options;
    options.background =
        Rgb{static_cast<std::uint8_t>(background.red()), static_cast<std::uint8_t>(background.green()),
            static_cast<std::uint8_t>(background.blue())};
    DrawFigure(canvas, frame, m_model.table(), m_model.layout(), m_model.subFigure(), options);
  }
  painter.setPen(palette().color(QPalette::Mid));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FigureView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const int index = m_model.variableAt(Point{p.x(), p.y()});
  if (index < 0) {
    unsetCursor();
  } else if (m_model.showsValue(index)) {
    setCursor(Qt::PointingHandCursor);
  } else if (m_model.table().at(index).kind != 'R') {
    setCursor(Qt::CrossCursor);
  } else {
    unsetCursor();
  }
}

void FigureView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  const int index = m_model.variableAt(Point{p.x(), p.y()});
  if (index >= 0) emit labelClicked(index);
}

}  // namespace qz

namespace qz {

void FigureView::contextMenuEvent(QContextMenuEvent* event) {
  const int index = m_model.variableAt(Point{event->pos().x(), event->pos().y()});
  if (index < 0) return;
  QMenu menu(this);
  QAction* take = menu.addAction(takeText());
  // A result-only variable is never a datum: the item says so by being off.
  take->setEnabled(m_model.canTakeAsDatum(index));
  connect(take, &QAction::triggered, this, [this, index] { emit takeAsDatumRequested(index); });
  menu.exec(event->globalPos());
}

}  // namespace qz
