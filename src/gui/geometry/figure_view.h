// The picture of the figure on screen: drawn by the shared figure drawing,
// with the cursor telling which labels can be clicked, and a label's context
// menu making its variable a datum whatever its state.
#pragma once

#include <QWidget>

namespace qz {

class GeometryModel;

class FigureView : public QWidget {
  Q_OBJECT
 public:
  explicit FigureView(GeometryModel& model, QWidget* parent = nullptr);

  static QString takeText() { return QStringLiteral("Prendre comme donnée"); }

 signals:
  /// A variable's label was clicked (its table index).
  void labelClicked(int index);
  /// "Prendre comme donnée" was chosen on a variable's label.
  void takeAsDatumRequested(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  GeometryModel& m_model;
};

}  // namespace qz
