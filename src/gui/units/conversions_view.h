// The list of conversions: one row per conversion, the value and the result
// in two columns, in blue, under the columns' headings, scrolled by a scroll
// bar of its own.
#pragma once

#include <QWidget>

class QScrollBar;

namespace qz {

class UnitsModel;

class ConversionsView : public QWidget {
  Q_OBJECT
 public:
  explicit ConversionsView(const UnitsModel& model, QWidget* parent = nullptr);

  /// Rows that fit in the area.
  int visibleRows() const;
  int firstRow() const;
  /// Re-reads the rows; `toEnd` shows the last ones.
  void refresh(bool toEnd);
  QScrollBar* scrollBar() const { return m_bar; }
  /// The heading over column 0 (value) or 1 (result).
  static QString heading(int column);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void updateRange();
  int rowHeight() const;
  int headingHeight() const;

  const UnitsModel& m_model;
  QScrollBar* m_bar;
};

}  // namespace qz
