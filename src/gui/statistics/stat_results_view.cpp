#include "statistics/stat_results_view.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/painter_canvas.h"

namespace qz {

namespace {

constexpr int kInset = 6;

}  // namespace

StatResultsView::StatResultsView(StatisticsCalculator& calculator, const ResultsListStyle& style,
                                 QWidget* parent)
    : QFrame(parent),
      m_calculator(calculator),
      m_style(style),
      m_scrollBar(new QScrollBar(Qt::Vertical, this)) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  // The renderer's own measure of a line, so that clicks fall on the line drawn.
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  PainterCanvas canvas(&painter);
  m_lineHeight = resultsListLineHeight(canvas, m_style) + 1;
  m_scrollBar->setObjectName(QStringLiteral("resultsScrollBar"));
  m_scrollBar->setFocusPolicy(Qt::NoFocus);
  m_scrollBar->hide();
  connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    if (!m_syncing) scrollTo(value);
  });
}

QSize StatResultsView::sizeHint() const { return QSize(360, m_lineHeight * 20 + 2 * kInset); }

QRect StatResultsView::listRect() const {
  QRect r = contentsRect();
  if (m_scrollBar->isVisible()) r.setRight(r.right() - m_scrollBar->width());
  return r.adjusted(kInset, kInset, -2, -2);
}

int StatResultsView::visibleLines() const { return std::max(1, listRect().height() / m_lineHeight); }

void StatResultsView::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const QRect inside = contentsRect();
  const int bar = m_scrollBar->sizeHint().width();
  m_scrollBar->setGeometry(inside.right() - bar + 1, inside.top(), bar, inside.height());
  refresh();
}

void StatResultsView::refresh() {
  const int lines = static_cast<int>(m_calculator.shownLines().size());
  const int range = std::max(0, lines - std::max(1, (contentsRect().height() - kInset - 2) / m_lineHeight));
  m_scrollBar->setVisible(range > 0);
  m_first = std::clamp(m_first, 0, range);
  m_syncing = true;
  m_scrollBar->setRange(0, range);
  m_scrollBar->setPageStep(visibleLines());
  m_scrollBar->setValue(m_first);
  m_syncing = false;
  update();
}

void StatResultsView::scrollTo(int first) {
  m_first = std::clamp(first, 0, m_scrollBar->maximum());
  refresh();
}

int StatResultsView::lineTop(int index) const { return listRect().top() + (index - m_first) * m_lineHeight; }

int StatResultsView::lineAt(const QPoint& position) const {
  const QRect r = listRect();
  if (!r.contains(position)) return -1;
  const int index = m_first + (position.y() - r.top()) / m_lineHeight;
  return index < static_cast<int>(m_calculator.shownLines().size()) ? index : -1;
}

void StatResultsView::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect inside = contentsRect();
  painter.fillRect(inside, PainterCanvas::qtColour(m_style.windowBackground));
  const QRect r = listRect();
  const auto& all = m_calculator.shownLines();
  const std::vector<std::string> shown(all.begin() + std::min<std::ptrdiff_t>(m_first, std::ssize(all)),
                                       all.end());
  PainterCanvas canvas(&painter);
  const int highlighted = m_calculator.highlightedLine() < 0 ? -1 : m_calculator.highlightedLine() - m_first;
  drawResultsList(canvas, Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}, shown, highlighted,
                  m_style);
}

void StatResultsView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_calculator.resultsValid()) return;
  m_calculator.clickResultLine(lineAt(event->position().toPoint()));
  update();
  emit lineClicked();
}

void StatResultsView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps != 0) scrollTo(m_first - steps * 3);
}

}  // namespace qz
