#include "units/conversions_view.h"

#include <qdrawutil.h>

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/painter_canvas.h"
#include "platform/qt_text.h"
#include "units/units_model.h"

namespace qz {

namespace {

constexpr int kMargin = 4;
constexpr int kPageRows = 5;
// Headings over the two columns: the value in the current unit, the result in the new one.
const char* const kHeadings[2] = {"Unit\xE9 courante", "Nouvelle unit\xE9"};

}  // namespace

ConversionsView::ConversionsView(const UnitsModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_bar(new QScrollBar(Qt::Vertical, this)) {
  setFont(PainterCanvas::qtFont({"Courier New", -15, 400}));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumHeight(headingHeight() + rowHeight() * 4 + 2 * kMargin);
  m_bar->setSingleStep(1);
  m_bar->setPageStep(kPageRows);
  connect(m_bar, &QScrollBar::valueChanged, this, [this] { update(); });
}

int ConversionsView::rowHeight() const { return QFontMetrics(font()).height(); }

int ConversionsView::headingHeight() const { return rowHeight() + kMargin; }

QString ConversionsView::heading(int column) { return cp1252ToQString(kHeadings[column ? 1 : 0]); }

int ConversionsView::visibleRows() const {
  return std::max(1, (height() - 2 * kMargin - headingHeight()) / std::max(1, rowHeight()));
}

int ConversionsView::firstRow() const { return m_bar->value(); }

void ConversionsView::updateRange() {
  const int rows = static_cast<int>(m_model.rows().size());
  m_bar->setRange(0, std::max(0, rows - visibleRows()));
  m_bar->setEnabled(rows > visibleRows());
}

void ConversionsView::refresh(bool toEnd) {
  updateRange();
  if (toEnd) m_bar->setValue(m_bar->maximum());
  update();
}

void ConversionsView::resizeEvent(QResizeEvent*) {
  const int w = m_bar->sizeHint().width();
  m_bar->setGeometry(width() - w - 2, 2 + headingHeight(), w, height() - 4 - headingHeight());
  updateRange();
}

void ConversionsView::wheelEvent(QWheelEvent* event) {
  m_bar->setValue(m_bar->value() - event->angleDelta().y() / 120);
  event->accept();
}

void ConversionsView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect().adjusted(2, 2, -2, -2), Qt::white);
  qDrawShadePanel(&p, rect(), palette(), true, 2);
  const auto& rows = m_model.rows();
  const int h = rowHeight();
  const int ascent = QFontMetrics(font()).ascent();
  const int first = firstRow();
  const int last = std::min<int>(static_cast<int>(rows.size()), first + visibleRows());
  p.setClipRect(rect().adjusted(2, 2, -m_bar->width() - 4, -2));
  // The headings stand where the columns of the rows start: the value takes
  // the first UnitsModel::kRowValueWidth characters of a row.
  const int top = headingHeight();
  const QString valueColumn(static_cast<qsizetype>(UnitsModel::kRowValueWidth), QLatin1Char('0'));
  const int resultX = kMargin + 6 + QFontMetrics(font()).horizontalAdvance(valueColumn);
  QFont bold = font();
  bold.setBold(true);
  p.setFont(bold);
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(kMargin + 6, kMargin + ascent, heading(0));
  p.drawText(resultX, kMargin + ascent, heading(1));
  p.setPen(QColor(160, 160, 160));
  p.drawLine(kMargin, top + 1, width() - kMargin, top + 1);
  p.setFont(font());
  p.setPen(QColor(0, 0, 255));
  for (int i = first; i < last; ++i) {
    const int y = top + kMargin + (i - first) * h + ascent;
    p.drawText(kMargin + 6, y, cp1252ToQString(UnitsModel::rowText(rows[i])));
  }
}

}  // namespace qz
