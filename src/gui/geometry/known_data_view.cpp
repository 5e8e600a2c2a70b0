#include "geometry/known_data_view.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "geometry/geometry_model.h"
#include "platform/qt_text.h"

namespace qz {

namespace {

constexpr int kEditorLength = 25;
const QColor kValueColour(0, 0, 128);

}  // namespace

void RowEditor::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A menu opening (the editor's own, or the row's) leaves the text where it
  // is: nothing is taken until the focus really goes elsewhere.
  if (event->reason() != Qt::PopupFocusReason) emit left();
}

void RowEditor::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit escaped();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

KnownDataView::KnownDataView(GeometryModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_editor(new RowEditor(this)) {
  m_editor->setMaxLength(kEditorLength);
  m_editor->setObjectName(QStringLiteral("rowEditor"));
  m_editor->hide();
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  // Focused, the grid takes Suppr for its selected row.
  setFocusPolicy(Qt::ClickFocus);
  setToolTip(
      QStringLiteral("Cliquer une donnée pour changer sa valeur ;\n"
                     "Suppr (après Échap) ou clic droit pour la retirer"));
}

QSize KnownDataView::minimumSizeHint() const { return QSize(150, kRowCount * (fontMetrics().height() + 6)); }

int KnownDataView::rowHeight() const { return std::max(1, height() / kRowCount); }

int KnownDataView::nameWidth() const { return std::max(40, width() * 30 / 85); }

QRect KnownDataView::nameCell(int r) const { return QRect(0, r * rowHeight(), nameWidth(), rowHeight()); }

QRect KnownDataView::valueCell(int r) const {
  return QRect(nameWidth() + 4, r * rowHeight(), width() - nameWidth() - 4, rowHeight());
}

int KnownDataView::rowAt(QPoint p) const {
  if (p.y() < 0) return -1;
  const int r = p.y() / rowHeight();
  return r < m_model.rows() ? r : -1;
}

void KnownDataView::openEditor(int r) {
  if (r < 0 || r >= m_model.rows()) return;
  m_editorRow = r;
  m_model.selectRow(r);
  m_editor->setGeometry(valueCell(r));
  m_editor->setText(cp1252ToQString(m_model.rowText(r)));
  m_editor->show();
  m_editor->setFocus(Qt::OtherFocusReason);
  m_editor->selectAll();
  update();
}

void KnownDataView::hideEditor() {
  m_editorRow = -1;
  m_editor->hide();
  update();
}

void KnownDataView::resizeEvent(QResizeEvent*) {
  if (editorOpen()) m_editor->setGeometry(valueCell(m_editorRow));
}

void KnownDataView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor frame = palette().color(QPalette::Mid);
  for (int r = 0; r < kRowCount; ++r) {
    const QRect name = nameCell(r).adjusted(0, 1, 0, -1);
    const QRect value = valueCell(r).adjusted(0, 1, 0, -1);
    painter.fillRect(value, palette().color(QPalette::Base));
    painter.setPen(frame);
    painter.drawRect(name.adjusted(0, 0, -1, -1));
    painter.drawRect(value.adjusted(0, 0, -1, -1));
    if (r >= m_model.rows()) continue;
    // The row Suppr would remove shows while the grid has the keyboard.
    const bool marked = r == m_model.selectedRow() && hasFocus() && !editorOpen();
    if (marked) painter.fillRect(name.adjusted(1, 1, -1, -1), palette().color(QPalette::Highlight));
    painter.setPen(palette().color(marked ? QPalette::HighlightedText : QPalette::WindowText));
    painter.drawText(name.adjusted(2, 0, -3, 0), Qt::AlignVCenter | Qt::AlignRight,
                     cp1252ToQString(m_model.rowName(r) + " = "));
    if (r == m_editorRow && editorOpen()) continue;
    painter.setPen(kValueColour);
    painter.drawText(value.adjusted(4, 0, -2, -2), Qt::AlignVCenter | Qt::AlignLeft,
                     cp1252ToQString(m_model.rowText(r)));
  }
}

void KnownDataView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int r = rowAt(event->position().toPoint());
  if (r >= 0) emit rowClicked(r);
}

void KnownDataView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && m_model.selectedRow() >= 0 && !editorOpen()) {
    emit removeRequested(m_model.selectedRow());
    return;
  }
  QWidget::keyPressEvent(event);
}

void KnownDataView::contextMenuEvent(QContextMenuEvent* event) {
  const int r = rowAt(event->pos());
  if (r < 0) return;
  QMenu menu(this);
  QAction* remove = menu.addAction(removeText());
  connect(remove, &QAction::triggered, this, [this, r] { emit removeRequested(r); });
  menu.exec(event->globalPos());
}

}  // namespace qz
