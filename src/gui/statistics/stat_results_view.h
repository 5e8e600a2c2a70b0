// The statistics results list on screen: the markup lines drawn by the
// results-list renderer, a scroll bar when they do not all fit, and a click
// that highlights the line whose value is then copied or stored.
#pragma once

#include <QFrame>

#include "statistics/results_list_renderer.h"
#include "statistics/statistics_calculator.h"

class QScrollBar;

namespace qz {

class StatResultsView : public QFrame {
  Q_OBJECT
 public:
  StatResultsView(StatisticsCalculator& calculator, const ResultsListStyle& style, QWidget* parent = nullptr);

  /// The list changed: scroll range and drawing.
  void refresh();
  /// New results are shown from their first line.
  void scrollToTop() { scrollTo(0); }
  int firstLine() const { return m_first; }
  /// Index of the list line under a point of the widget (-1 when none).
  int lineAt(const QPoint& position) const;
  /// Top of line `index` in widget coordinates (when scrolled into view).
  int lineTop(int index) const;
  QScrollBar* scrollBar() const { return m_scrollBar; }

  QSize sizeHint() const override;

 signals:
  void lineClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QRect listRect() const;
  int visibleLines() const;
  void scrollTo(int first);

  StatisticsCalculator& m_calculator;
  ResultsListStyle m_style;
  QScrollBar* m_scrollBar;
  int m_lineHeight = 18;
  int m_first = 0;
  bool m_syncing = false;
};

}  // namespace qz
