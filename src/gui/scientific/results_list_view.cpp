#include "scientific/results_list_view.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "scientific/scientific_calculator.h"

namespace qz {

namespace {

const QColor kListText(0, 0, 255);
constexpr int kWheelLines = 3;

}  // namespace

ResultsListView::ResultsListView(const ScientificCalculator& calculator, QWidget* parent)
    : QWidget(parent), m_calculator(calculator), m_scrollBar(new QScrollBar(Qt::Vertical, this)) {
  m_font = PainterCanvas::qtFont({"Courier New", -16, 400});
  m_lineHeight = QFontMetrics(m_font).height();
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  m_scrollBar->setFocusPolicy(Qt::NoFocus);
  m_scrollBar->setSingleStep(1);
  connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    if (!m_updatingBar) scrollTo(value);
  });
  // The thumb's size shows the lines in view, but a page of the bar moves five lines.
  connect(m_scrollBar, &QScrollBar::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderPageStepAdd) m_scrollBar->setSliderPosition(m_first + kPageLines);
    if (action == QAbstractSlider::SliderPageStepSub) m_scrollBar->setSliderPosition(m_first - kPageLines);
  });
}

int ResultsListView::visibleLines() const {
  return std::max(0, (listRect().height() - 2 * kInset) / std::max(1, m_lineHeight));
}

int ResultsListView::scrollRange() const {
  return std::max(0, static_cast<int>(m_calculator.results().size()) - visibleLines());
}

QRect ResultsListView::listRect() const {
  return QRect(0, 0, std::max(0, width() - m_scrollBar->sizeHint().width()), height());
}

QSize ResultsListView::sizeHint() const {
  const QFontMetrics metrics(m_font);
  // Room for "x" padded to 16 and a y of twelve digits with its exponent.
  return QSize(
      metrics.horizontalAdvance(QLatin1Char('0')) * 36 + 2 * kInset + m_scrollBar->sizeHint().width(),
      m_lineHeight * 16 + 2 * kInset);
}

QSize ResultsListView::minimumSizeHint() const {
  return QSize(m_scrollBar->sizeHint().width() * 4, m_lineHeight * 3 + 2 * kInset);
}

void ResultsListView::scrollTo(int first) {
  const int clamped = std::clamp(first, 0, scrollRange());
  if (clamped != m_first) {
    m_first = clamped;
    update();
  }
  updateBar();
}

void ResultsListView::updateBar() {
  m_updatingBar = true;
  m_scrollBar->setRange(0, scrollRange());
  m_scrollBar->setPageStep(std::max(1, visibleLines()));
  m_scrollBar->setValue(m_first);
  m_updatingBar = false;
}

void ResultsListView::refresh() {
  m_first = std::clamp(m_first, 0, scrollRange());
  updateBar();
  update();
}

void ResultsListView::showEnd() {
  m_first = scrollRange();
  refresh();
}

void ResultsListView::resizeEvent(QResizeEvent*) {
  const int barWidth = m_scrollBar->sizeHint().width();
  m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
  // A list that showed its end keeps showing it when it grows or shrinks.
  showEnd();
}

void ResultsListView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect area = listRect();
  p.fillRect(area, palette().color(QPalette::Base));
  p.setFont(m_font);
  p.setPen(kListText);
  const QFontMetrics metrics(m_font);
  const int count = static_cast<int>(m_calculator.results().size());
  const int last = std::min(count, m_first + visibleLines());
  int y = area.top() + kInset;
  for (int i = m_first; i < last; ++i) {
    p.drawText(area.left() + kInset, y + metrics.ascent(),
               cp1252ToQString(m_calculator.resultLine(static_cast<std::size_t>(i))));
    y += m_lineHeight;
  }
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(area.adjusted(0, 0, -1, -1));
}

void ResultsListView::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches != 0) scrollTo(m_first - notches * kWheelLines);
  event->accept();
}

}  // namespace qz
