#include "standard/tape_view.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/painter_canvas.h"
#include "standard/standard_calculator.h"

namespace qz {

namespace {

// The tape is drawn as a roll of paper: warm white, black ink; the selected
// line is filled with a deep blue in which the ink colours turn inverse.
const Rgb kTapeText{0, 0, 0};
const QColor kPaper(255, 253, 244);
const QColor kSelection(10, 36, 106);
const QColor kFrame(150, 150, 150);
constexpr int kWheelLines = 3;

// The tape's own pointer: an arrow pointing right at the line it will pick,
// black with a white rim so that it shows on the paper and on the selection.
QCursor tapeCursor() {
  const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  QPixmap picture(QSize(24, 24) * ratio);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  const QPolygonF arrow({QPointF(2, 8.5), QPointF(12, 8.5), QPointF(12, 4), QPointF(20, 12), QPointF(12, 20),
                         QPointF(12, 15.5), QPointF(2, 15.5)});
  p.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPolygon(arrow);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPolygon(arrow);
  p.end();
  return QCursor(picture, 20, 12);
}

}  // namespace

TapeView::TapeView(StandardCalculator& calculator, QWidget* parent)
    : QWidget(parent), m_calculator(calculator), m_scrollBar(new QScrollBar(Qt::Vertical, this)) {
  m_tapeFont = PainterCanvas::qtFont({"Courier New", -16, 400});
  m_symbolFont = PainterCanvas::qtFont({"Symbol", -16, 400});
  m_lineHeight = std::max(QFontMetrics(m_tapeFont).height(), QFontMetrics(m_symbolFont).height());
  setFocusPolicy(Qt::NoFocus);
  setCursor(tapeCursor());
  setAttribute(Qt::WA_OpaquePaintEvent);
  m_scrollBar->setFocusPolicy(Qt::NoFocus);
  m_scrollBar->setCursor(Qt::ArrowCursor);
  m_scrollBar->setSingleStep(1);
  connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    if (m_updatingBar) return;
    m_calculator.scrollTo(value);
    update();
  });
  connect(m_scrollBar, &QScrollBar::actionTriggered, this, [this](int action) { scrollBarAction(action); });
}

QRect TapeView::paperRect() const { return QRect(0, 0, width() - m_scrollBar->sizeHint().width(), height()); }

void TapeView::layoutScrollBar() {
  const int barWidth = m_scrollBar->sizeHint().width();
  m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
}

void TapeView::scrollBarAction(int action) {
  // A page of the bar moves five lines, whatever the height of the tape.
  const int first = m_calculator.firstVisible();
  if (action == QAbstractSlider::SliderPageStepAdd)
    m_scrollBar->setSliderPosition(first + StandardCalculator::kPageLines);
  else if (action == QAbstractSlider::SliderPageStepSub)
    m_scrollBar->setSliderPosition(first - StandardCalculator::kPageLines);
}

void TapeView::refresh() {
  m_updatingBar = true;
  m_scrollBar->setRange(0, m_calculator.scrollRange());
  m_scrollBar->setPageStep(std::max(1, m_calculator.visibleLines()));
  m_scrollBar->setValue(m_calculator.firstVisible());
  m_updatingBar = false;
  update();
}

void TapeView::resizeEvent(QResizeEvent*) {
  layoutScrollBar();
  m_calculator.setVisibleLines(StandardCalculator::linesThatFit(paperRect().height(), m_lineHeight));
  m_calculator.showEnd();
  refresh();
}

void TapeView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect paper = paperRect();
  p.fillRect(paper, kPaper);

  const int inset = StandardCalculator::kTextInset;
  const QFontMetrics tapeMetrics(m_tapeFont);
  const QFontMetrics symbolMetrics(m_symbolFont);
  const int baseline = (m_lineHeight - tapeMetrics.height()) / 2 + tapeMetrics.ascent();
  int y = paper.top() + inset;
  for (const TapeLine& line : m_calculator.visibleTapeLines()) {
    const QRect row(paper.left() + 1, y, paper.width() - 2, m_lineHeight);
    if (line.selected) p.fillRect(row, kSelection);
    int x = paper.left() + inset;
    for (const TapePiece& piece : line.pieces) {
      const QString text = PainterCanvas::toQString(piece.text, piece.symbolFont);
      p.setFont(piece.symbolFont ? m_symbolFont : m_tapeFont);
      p.setPen(PainterCanvas::qtColour(paintColour(piece.colour, kTapeText, line.selected)));
      p.drawText(x, y + baseline, text);
      x += (piece.symbolFont ? symbolMetrics : tapeMetrics).horizontalAdvance(text);
    }
    y += m_lineHeight;
  }

  p.setPen(kFrame);
  p.drawRect(paper.adjusted(0, 0, -1, -1));
}

void TapeView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QRect paper = paperRect();
  const QPoint at = event->position().toPoint();
  const int index = paper.contains(at) ? m_calculator.entryAtY(at.y() - paper.top(), m_lineHeight) : -1;
  m_calculator.clickEntry(index);
  update();
  emit selectionChanged();
}

void TapeView::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  m_calculator.scrollLines(-notches * kWheelLines);
  refresh();
}

}  // namespace qz
