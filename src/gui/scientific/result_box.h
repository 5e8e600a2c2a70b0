// The scientific calculator's result box: y after "y =", or "?" when there is
// no valid result. A click selects it, so that the memories take y.
#pragma once

#include <QWidget>

namespace qz {

class ResultBox : public QWidget {
  Q_OBJECT
 public:
  explicit ResultBox(QWidget* parent = nullptr);

  /// Shows `text` (a blank, then y or "?"), highlighted when `selected`.
  void setContent(const QString& text, bool selected);
  QString text() const { return m_text; }
  bool selected() const { return m_selected; }

  QSize sizeHint() const override;

 signals:
  /// The user clicked the box.
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString m_text;
  bool m_selected = false;
};

}  // namespace qz
