// The standard calculator's tape: the drawn lines of the entries, with their
// scroll bar. Clicking a line selects its entry.
#pragma once

#include <QFont>
#include <QWidget>

class QScrollBar;

namespace qz {

class StandardCalculator;

class TapeView : public QWidget {
  Q_OBJECT
 public:
  explicit TapeView(StandardCalculator& calculator, QWidget* parent = nullptr);

  /// Takes the calculator's tape and scroll position again and repaints.
  void refresh();
  /// The height of one tape line in pixels.
  int lineHeight() const { return m_lineHeight; }
  /// The paper area (where lines are drawn and clicked), in this widget's coordinates.
  QRect paperRect() const;
  QScrollBar* scrollBar() const { return m_scrollBar; }

 signals:
  /// A click chose an entry, or cleared the selection.
  void selectionChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void layoutScrollBar();
  void scrollBarAction(int action);

  StandardCalculator& m_calculator;
  QScrollBar* m_scrollBar;
  QFont m_tapeFont;
  QFont m_symbolFont;
  int m_lineHeight = 18;
  bool m_updatingBar = false;
};

}  // namespace qz
