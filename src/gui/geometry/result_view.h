// The "Donnée calculée " panel: the value picked off the picture, which the
// copy and memory commands use once the panel is selected by a click.
#pragma once

#include <QWidget>

namespace qz {

class GeometryModel;

class ResultView : public QWidget {
  Q_OBJECT
 public:
  explicit ResultView(GeometryModel& model, QWidget* parent = nullptr);
  QSize sizeHint() const override;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  GeometryModel& m_model;
};

}  // namespace qz
