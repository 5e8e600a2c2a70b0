// The statistics data grid on screen: header, row numbers, one or two value
// columns, the in-place cell editor and the scroll bar, drawn over the grid
// model, which holds every rule.
#pragma once

#include <QTimer>
#include <QWidget>

#include "statistics/statistics_calculator.h"

class QLineEdit;
class QScrollBar;

namespace qz {

class StatGridView : public QWidget {
  Q_OBJECT
 public:
  StatGridView(StatisticsCalculator& calculator, QWidget* parent = nullptr);

  QLineEdit* editor() const { return m_editor; }
  QScrollBar* scrollBar() const { return m_scrollBar; }
  bool editorFocused() const;

  /// Shows the model again: scroll range and position, the editor's place and text.
  void refresh();
  /// Opens the editor on a cell, its text all selected, and gives it the focus.
  void editCell(int row, int column);
  /// Leaving the cell being edited: checks and stores the editor's text.
  /// Refused: the message was shown and the editor gets the focus back.
  CommitResult commitEditor(bool quiet);
  /// A value was refused when the focus left the cell (the window then stays
  /// open); cleared by a later accepted commit, by the cell closing, or by the caller.
  bool refusalPending() const { return m_refused; }
  void clearRefusal() { m_refused = false; }

  /// Cell rectangles in widget coordinates: row 0 is the header, column -1
  /// the row numbers; `row` counts from the first visible row (1 to 10).
  QRect cellRect(int visibleRow, int column) const;
  /// The cell (row counted from 1 in the table, column -1 for the numbers)
  /// under a point of the data area.
  QPoint cellAt(const QPoint& position) const;
  int rowHeight() const { return m_rowHeight; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  /// The table, the selection or the editor changed.
  void changed();
  /// A shared command typed in the editor (copy, paste, undo).
  void commandKey(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  StatGrid& grid() { return m_calculator.grid(); }
  const StatGrid& grid() const { return m_calculator.grid(); }
  int gridWidth() const;
  int numberWidth() const { return m_numberWidth; }
  int columnWidth() const;
  void editorEdited(const QString& text);
  bool editorKey(QKeyEvent* event);
  void showEditor();
  void autoScrollStep();
  void dragToPoint(const QPoint& position);

  StatisticsCalculator& m_calculator;
  QLineEdit* m_editor;
  QScrollBar* m_scrollBar;
  QTimer m_autoScroll;
  int m_autoDirection = 0;
  int m_minRowHeight = 24;  ///< the font's height with room around it
  int m_rowHeight = 24;
  int m_numberWidth = 56;
  bool m_syncing = false;
  bool m_refused = false;
};

}  // namespace qz
