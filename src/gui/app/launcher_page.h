// The start page: six picture zones and the version line.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>

#include "app/launcher.h"

namespace qz {

class LauncherPage : public QWidget {
  Q_OBJECT
 public:
  /// `currentCalculator` is the application's: the mouse writes into it.
  LauncherPage(int& currentCalculator, QWidget* parent = nullptr);

  /// The version line's text, drawn at the lower right.
  void setVersionLine(const QString& line) { m_versionLine = line; }
  const Launcher& launcher() const { return m_launcher; }

 signals:
  /// A button release chose a zone (the calculator host takes it from there).
  void zoneChosen(int zone);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent*) override;

 private:
  void repaintZones(unsigned changed);
  const QPixmap& zonePicture(int zone, bool pressed);

  int& m_currentCalculator;
  Launcher m_launcher;
  QPixmap m_background;
  std::array<QPixmap, Launcher::kZoneCount> m_hovered;
  std::array<QPixmap, Launcher::kZoneCount> m_pressed;
  QString m_versionLine;
};

}  // namespace qz
