#include "statistics/stat_grid_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/commands.h"
#include "platform/painter_canvas.h"
#include "platform/qt_text.h"

namespace qz {

namespace {

const QColor kCellLine(192, 192, 192);
const QColor kFrameLine(128, 128, 128);
constexpr int kTextPadding = 6;
constexpr int kAutoScrollMs = 50;
constexpr int kWheelRows = 3;

}  // namespace

StatGridView::StatGridView(StatisticsCalculator& calculator, QWidget* parent)
    : QWidget(parent),
      m_calculator(calculator),
      m_editor(new QLineEdit(this)),
      m_scrollBar(new QScrollBar(Qt::Vertical, this)) {
  setFont(PainterCanvas::qtFont({"Arial", -13, 400}));
  const QFontMetrics metrics(font());
  m_minRowHeight = m_rowHeight = metrics.height() + 9;
  m_numberWidth = metrics.horizontalAdvance(QStringLiteral("0000")) + 2 * kTextPadding + 4;
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

  m_editor->setObjectName(QStringLiteral("cellEditor"));
  m_editor->setMaxLength(StatGrid::kEditorMaxLength);
  m_editor->setFrame(false);
  m_editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_editor->setStyleSheet(
      QStringLiteral("QLineEdit { border: 2px solid #1e64c8; padding: 0 3px; background: white; }"));
  m_editor->hide();
  m_editor->installEventFilter(this);
  connect(m_editor, &QLineEdit::textEdited, this, &StatGridView::editorEdited);

  m_scrollBar->setObjectName(QStringLiteral("gridScrollBar"));
  m_scrollBar->setFocusPolicy(Qt::NoFocus);
  m_scrollBar->setSingleStep(1);
  m_scrollBar->setPageStep(StatGrid::kVisibleRows - 1);
  connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    if (m_syncing) return;
    grid().scrollTo(value);
    refresh();
    emit changed();
  });

  m_autoScroll.setInterval(kAutoScrollMs);
  connect(&m_autoScroll, &QTimer::timeout, this, &StatGridView::autoScrollStep);

  // Leaving the editor for another control of the window checks the cell;
  // going to "Annuler" puts the previous value back without a message.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (old != m_editor || !now || now->window() != window() || !grid().editorOpen()) return;
    const auto* button = qobject_cast<const QPushButton*>(now);
    const bool quiet = button && button->text() == QLatin1String("Annuler");
    commitEditor(quiet);
  });
  refresh();
}

bool StatGridView::editorFocused() const { return m_editor->isVisible() && m_editor->hasFocus(); }

int StatGridView::gridWidth() const { return std::max(0, width() - m_scrollBar->sizeHint().width()); }

int StatGridView::columnWidth() const {
  return std::max(1, (gridWidth() - m_numberWidth) / std::max(1, grid().valueColumns()));
}

QSize StatGridView::sizeHint() const {
  const int valueWidth =
      QFontMetrics(font()).horizontalAdvance(QStringLiteral("-0.123456789E+300")) + 2 * kTextPadding;
  return QSize(m_numberWidth + 2 * valueWidth + m_scrollBar->sizeHint().width(),
               (StatGrid::kVisibleRows + 1) * m_minRowHeight + 1);
}

QSize StatGridView::minimumSizeHint() const {
  return QSize(m_numberWidth + 160 + m_scrollBar->sizeHint().width(),
               (StatGrid::kVisibleRows + 1) * m_minRowHeight + 1);
}

QRect StatGridView::cellRect(int visibleRow, int column) const {
  const int y = visibleRow * m_rowHeight;
  if (column < 0) return QRect(0, y, m_numberWidth, m_rowHeight);
  const int x = m_numberWidth + column * columnWidth();
  const int right = column == grid().valueColumns() - 1 ? gridWidth() - 1 : x + columnWidth();
  return QRect(x, y, right - x, m_rowHeight);
}

QPoint StatGridView::cellAt(const QPoint& position) const {
  const int column = position.x() < m_numberWidth ? -1
                                                  : std::clamp((position.x() - m_numberWidth) / columnWidth(),
                                                               0, grid().valueColumns() - 1);
  int row = 0;
  if (position.y() >= m_rowHeight)
    row = grid().scrollPosition() + (position.y() - m_rowHeight) / m_rowHeight + 1;
  return QPoint(column, row);
}

void StatGridView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Ten rows under the header always: taller rows when there is room.
  m_rowHeight = std::max(m_minRowHeight, (height() - 1) / (StatGrid::kVisibleRows + 1));
  const int bar = m_scrollBar->sizeHint().width();
  m_scrollBar->setGeometry(width() - bar, m_rowHeight, bar, StatGrid::kVisibleRows * m_rowHeight + 1);
  refresh();
}

void StatGridView::refresh() {
  m_syncing = true;
  m_scrollBar->setRange(0, grid().maxScroll());
  m_scrollBar->setValue(grid().scrollPosition());
  m_scrollBar->setEnabled(grid().maxScroll() > 0);
  m_syncing = false;

  const int visible = grid().currentRow() - grid().scrollPosition();
  const bool shown = grid().editorOpen() && visible >= 1 && visible <= StatGrid::kVisibleRows;
  if (!grid().editorOpen()) m_refused = false;
  if (shown) {
    m_editor->setGeometry(cellRect(visible, grid().currentColumn()).adjusted(0, 0, 1, 1));
    const QString text = cp1252ToQString(grid().editorText());
    if (m_editor->text() != text) {
      m_editor->setText(text);
      m_editor->selectAll();
    }
    m_editor->show();
  } else if (m_editor->isVisible()) {
    const bool hadFocus = m_editor->hasFocus();
    m_editor->hide();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
  }
  update();
}

void StatGridView::showEditor() {
  refresh();
  if (!grid().editorOpen()) return;
  m_editor->setText(cp1252ToQString(grid().editorText()));
  m_editor->selectAll();
  m_editor->setFocus(Qt::OtherFocusReason);
}

void StatGridView::editCell(int row, int column) {
  grid().openEditor(row, column);
  showEditor();
  emit changed();
}

CommitResult StatGridView::commitEditor(bool quiet) {
  if (!grid().editorOpen()) return CommitResult::Accepted;
  const CommitResult result = grid().commitEditor(quiet);
  m_refused = result == CommitResult::Refused && !quiet;
  refresh();
  const QString text = cp1252ToQString(grid().editorText());
  if (grid().editorOpen() && m_editor->text() != text) m_editor->setText(text);
  if (result == CommitResult::Refused && !quiet) {
    // The value is to be corrected where it was typed.
    QTimer::singleShot(0, this, [this] {
      if (!grid().editorOpen()) return;
      m_editor->setFocus(Qt::OtherFocusReason);
      m_editor->selectAll();
    });
  }
  emit changed();
  return result;
}

void StatGridView::editorEdited(const QString& text) {
  if (m_syncing) return;
  const int caret = m_editor->cursorPosition();
  // A refused keystroke is taken back (the model beeped); an accepted one is
  // shown as the model took it ("e" as "E", "," as ".").
  const bool accepted = grid().setEditorText(qStringToCp1252(text));
  const QString shown = cp1252ToQString(grid().editorText());
  if (shown != text) {
    m_syncing = true;
    m_editor->setText(shown);
    m_editor->setCursorPosition(accepted ? caret : std::max(0, caret - 1));
    m_syncing = false;
  }
  emit changed();
}

bool StatGridView::editorKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    emit commandKey(kCmdCopy);
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    emit commandKey(kCmdPaste);
    return true;
  }
  if (event->matches(QKeySequence::Undo)) {
    emit commandKey(kCmdUndo);
    return true;
  }
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // Escape belongs to the editor while it is open; only a second Escape
    // reaches the window.
    grid().cancelEditor();
    refresh();
    emit changed();
    return true;
  }
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  EditorKey key;
  switch (event->key()) {
    case Qt::Key_Tab:
      key = shift ? EditorKey::ShiftTab : EditorKey::TabOrEnter;
      break;
    case Qt::Key_Backtab:
      key = EditorKey::ShiftTab;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      key = EditorKey::TabOrEnter;
      break;
    case Qt::Key_Up:
      key = EditorKey::Up;
      break;
    case Qt::Key_Down:
      key = EditorKey::Down;
      break;
    case Qt::Key_Home:
      if (!ctrl) return false;
      key = EditorKey::CtrlHome;
      break;
    case Qt::Key_End:
      if (!ctrl) return false;
      key = EditorKey::CtrlEnd;
      break;
    default:
      return false;
  }
  grid().navigate(key);
  showEditor();
  emit changed();
  return true;
}

bool StatGridView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_editor) {
    if (event->type() == QEvent::ShortcutOverride) {
      // The editor keeps these keys from the window's shortcuts so that they
      // reach the grid's own handling below.
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
          key->matches(QKeySequence::Undo) || key->key() == Qt::Key_Home || key->key() == Qt::Key_End) {
        event->accept();
        return true;
      }
    } else if (event->type() == QEvent::KeyPress) {
      if (editorKey(static_cast<QKeyEvent*>(event))) return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- Mouse -----------------------------------------------------------------------

void StatGridView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || event->position().x() >= gridWidth()) return;
  const QPoint cell = cellAt(event->position().toPoint());
  if (cell.y() == 0) {
    grid().closeEditor();
    if (cell.x() < 0)
      grid().selectAll();
    else
      grid().selectColumn(cell.x());
  } else if (cell.y() > grid().rows()) {
    grid().closeEditor();
  } else if (cell.x() < 0) {
    grid().closeEditor();
    grid().selectRow(cell.y());
  } else {
    grid().pressCell(cell.y(), cell.x());
  }
  refresh();
  emit changed();
}

void StatGridView::mouseMoveEvent(QMouseEvent* event) {
  if (!grid().dragging()) return;
  dragToPoint(event->position().toPoint());
  const int y = static_cast<int>(event->position().y());
  m_autoDirection = y < m_rowHeight ? -1 : y >= (StatGrid::kVisibleRows + 1) * m_rowHeight ? 1 : 0;
  if (m_autoDirection == 0) {
    m_autoScroll.stop();
  } else if (!m_autoScroll.isActive()) {
    autoScrollStep();
    m_autoScroll.start();
  }
  refresh();
  emit changed();
}

void StatGridView::dragToPoint(const QPoint& position) {
  // Above or below the rows the selection reaches the first or last row shown.
  const QPoint cell = cellAt(position);
  const int first = grid().scrollPosition() + 1;
  const int last = std::min(grid().scrollPosition() + StatGrid::kVisibleRows, grid().rows());
  grid().dragTo(std::clamp(cell.y(), first, std::max(first, last)), std::max(0, cell.x()));
}

void StatGridView::autoScrollStep() {
  if (!grid().dragging() || m_autoDirection == 0) {
    m_autoScroll.stop();
    return;
  }
  grid().autoScroll(m_autoDirection);
  refresh();
  emit changed();
}

void StatGridView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_autoScroll.stop();
  if (grid().dragging()) dragToPoint(event->position().toPoint());
  if (grid().release())
    showEditor();
  else
    refresh();
  emit changed();
}

void StatGridView::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 120;
  if (steps == 0) return;
  grid().scrollBy(-steps * kWheelRows);
  refresh();
  emit changed();
}

// ---- Drawing ---------------------------------------------------------------------

void StatGridView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  painter.fillRect(rect(), colours.color(QPalette::Window));
  const int columns = grid().valueColumns();
  const int width = gridWidth();
  const int height = (StatGrid::kVisibleRows + 1) * m_rowHeight;
  painter.fillRect(QRect(0, 0, width, height), Qt::white);

  const QColor face = colours.color(QPalette::Button);
  QFont bold = font();
  bold.setBold(true);

  // Header: the corner selects everything, a column title its column.
  painter.setFont(bold);
  painter.setPen(colours.color(QPalette::ButtonText));
  for (int column = -1; column < columns; ++column) {
    const QRect r = cellRect(0, column);
    painter.fillRect(r, face);
    QString title;
    if (column == 0) title = QStringLiteral("X");
    if (column == 1)
      title = m_calculator.mode() == StatMode::Frequencies ? QStringLiteral("N") : QStringLiteral("Y");
    if (column < 0) title = QStringLiteral("N°");
    painter.drawText(r, Qt::AlignCenter, title);
  }

  const GridSelection& selection = grid().selection();
  const int rows = grid().rows();
  const int newRow = grid().newRow();
  for (int visible = 1; visible <= StatGrid::kVisibleRows; ++visible) {
    const int row = grid().scrollPosition() + visible;
    const QRect numberCell = cellRect(visible, -1);
    painter.fillRect(numberCell, face);
    if (row > rows) continue;
    const bool rowSelected = selection.contains(row, 0) || selection.contains(row, columns - 1);
    painter.setFont(rowSelected ? bold : font());
    painter.setPen(row == newRow ? colours.color(QPalette::PlaceholderText)
                                 : colours.color(QPalette::ButtonText));
    painter.drawText(numberCell, Qt::AlignCenter, cp1252ToQString(grid().rowNumberText(row)));
    painter.setFont(font());
    for (int column = 0; column < columns; ++column) {
      const QRect r = cellRect(visible, column);
      const bool selected = selection.contains(row, column);
      if (selected) painter.fillRect(r, colours.color(QPalette::Highlight));
      painter.setPen(selected ? colours.color(QPalette::HighlightedText) : QColor(Qt::black));
      painter.drawText(r.adjusted(kTextPadding, 0, -kTextPadding, 0), Qt::AlignRight | Qt::AlignVCenter,
                       cp1252ToQString(grid().cellText(row, column)));
    }
  }

  // Cell frames in light grey, the whole grid framed darker.
  painter.setPen(kCellLine);
  for (int visible = 1; visible <= StatGrid::kVisibleRows; ++visible)
    painter.drawLine(0, visible * m_rowHeight, width - 1, visible * m_rowHeight);
  for (int column = 0; column < columns; ++column) {
    const int x = cellRect(0, column).left();
    painter.drawLine(x, 0, x, height);
  }
  painter.setPen(kFrameLine);
  painter.drawRect(QRect(0, 0, width - 1, height));
}

}  // namespace qz
