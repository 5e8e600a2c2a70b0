// The scientific calculator's results list: one line per (x, y) pair, x padded
// to 16 characters then y, in blue on the list background, with its scroll bar.
#pragma once

#include <QFont>
#include <QWidget>

class QScrollBar;

namespace qz {

class ScientificCalculator;

class ResultsListView : public QWidget {
  Q_OBJECT
 public:
  /// The scroll bar's page: five lines, whatever the height of the list.
  static constexpr int kPageLines = 5;
  /// Blank pixels around the lines, inside the frame.
  static constexpr int kInset = 4;

  explicit ResultsListView(const ScientificCalculator& calculator, QWidget* parent = nullptr);

  /// Takes the list again (after any change) and repaints; the first line
  /// shown stays where it was as far as the list allows.
  void refresh();
  /// Scrolls so that the last pair is shown (after an append).
  void showEnd();

  int firstVisible() const { return m_first; }
  /// Whole lines that fit: (height - 8) / line height.
  int visibleLines() const;
  /// How far the first visible line can go: count minus visible lines, at least 0.
  int scrollRange() const;
  int lineHeight() const { return m_lineHeight; }
  QScrollBar* scrollBar() const { return m_scrollBar; }
  /// The text area of the list, in this widget's coordinates.
  QRect listRect() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void scrollTo(int first);
  void updateBar();

  const ScientificCalculator& m_calculator;
  QScrollBar* m_scrollBar;
  QFont m_font;
  int m_lineHeight = 18;
  int m_first = 0;
  bool m_updatingBar = false;
};

}  // namespace qz
